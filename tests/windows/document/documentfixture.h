#pragma once
// A document window of one kind, opened from the launcher as the user would, in a temporary
// program folder with scripted prompts, and a temporary shared folder for network modes; with
// helpers that write and read list files and lock files behind the window's back.

#include "kindrows.h"
#include "windowprobes.h"

#include "grid/documents/documentlist.h"
#include "grid/documents/gridfile.h"
#include "grid/gridcore.h"
#include "platform/commondialog.h"
#include "services/editlockfile.h"
#include "support/qtprinters.h"
#include "support/scopedprompts.h"
#include "support/tempprogramfolder.h"

#include <QAbstractButton>
#include <QAction>
#include <QDir>
#include <QFile>
#include <QFrame>
#include <QLineEdit>
#include <QTemporaryDir>
#include <gtest/gtest.h>
#include <optional>

namespace windows {
inline void PrintTo(const ControlPlace& p, std::ostream* os)
{
    *os << "{" << p.Left << ", " << p.Top << ", " << p.Width << ", " << p.Height << "}";
}
} // namespace windows

namespace windowtest {

// Writes an item list file as the program writes it (scrambled), one row per text.
inline void writeDocument(const QString& path, const QStringList& firstColumn)
{
    grid::GridCore core;
    core.SetColumnHeader(1, QStringLiteral("Item Name"));
    core.AddColumn(0, 60, QStringLiteral("Price"));
    core.AddMoreThanOneRow(int(firstColumn.size()));
    for (int r = 0; r < firstColumn.size(); ++r)
        core.ChangeItem(r + 1, 1, firstColumn[r]);
    grid::GridFile file(core);
    QDir().mkpath(QFileInfo(path).absolutePath());
    ASSERT_TRUE(file.SaveFileAs(path, true)) << path.toStdString();
}

inline QByteArray bytesOf(const QString& path)
{
    QFile f(path);
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
}

inline void putFile(const QString& path, const QByteArray& bytes)
{
    QFile f(path);
    ASSERT_TRUE(f.open(QIODevice::WriteOnly | QIODevice::Truncate)) << path.toStdString();
    f.write(bytes);
}

// The content of a document's lock file, nothing when there is none.
inline std::optional<QByteArray> lockOf(const QString& document)
{
    const QString lock = services::EditLockFile::pathOf(document);
    if (!QFile::exists(lock))
        return std::nullopt;
    return bytesOf(lock);
}

inline void putLock(const QString& document, const QByteArray& holder)
{
    putFile(services::EditLockFile::pathOf(document), holder);
}

// Passes over a test whose steps save, for a kind whose Save posts the document.
#define SKIP_UNLESS_SAVES_PLAINLY()                                                                  \
    do {                                                                                             \
        if (!row().savesPlainly)                                                                     \
            GTEST_SKIP() << "this kind's Save posts the document; its own tests cover it";          \
    } while (false)

class DocumentFixture : public ::testing::TestWithParam<KindRow> {
protected:
    DocumentFixture() { QDir().mkpath(sharedDocuments()); }

    const KindRow& row() const { return GetParam(); }
    platform::CommonDialog& dialog() { return program.*(row().dialog); }

    // Makes the window and opens it from the launcher.
    void openWindow()
    {
        window = row().make(program.context(dialog(), prompts.script()));
        program.documentWindow = window.get();
        window->showFromLauncher();
    }

    // The kind's folder of a single machine, and of the shared folder in network modes.
    QString localDocuments() const { return folder.path() + QStringLiteral("/System/RAzar/") + row().folder; }
    QString sharedDocuments() const
    {
        return shared.path() + QStringLiteral("/QVNET/RAzar/") + row().folder;
    }
    QString local(const QString& name) const { return localDocuments() + name; }
    QString inShared(const QString& name) const { return sharedDocuments() + name; }

    // A document of the kind as the program writes it, with what the kind keeps beside it.
    void writeDocument(const QString& path, const QStringList& firstColumn) const
    {
        windowtest::writeDocument(path, firstColumn);
        if (row().writeCompanions)
            row().writeCompanions(path);
    }
    // Chooses the file in the open dialog and runs Open.
    void openThroughDialog(const QString& path)
    {
        prompts->queueOpen(path);
        window->cmdOpen_Click();
    }
    // An edit of the user: a cell changed by typing into it.
    void edit(const QString& text)
    {
        window->List1().ChangeItem(1, 1, text);
        emit window->List1().GridKeyDown(65, 0, 1, 1);
    }
    QString caption(const QString& title) const { return row().captionWord + QStringLiteral(" [ ") + title + QStringLiteral(" ]"); }
    QString readOnlyCaption(const QString& title) const
    {
        return row().readOnlyWord + QStringLiteral(" [") + title + QStringLiteral(" ]");
    }
    QString unsavedCaption() const { return row().captionWord + QStringLiteral(" [ Unsaved ]"); }
    QString fileName(const QString& name) const { return name + row().extension; }
    datafiles::RecentFileSlot& slot(int k) { return program.store.*(row().recent[size_t(k - 1)]); }
    bool saveEnabled() const { return window->button(QStringLiteral("cmdSave"))->isEnabled(); }

    testsupport::TempProgramFolder folder;
    QTemporaryDir shared;
    testsupport::ScopedPrompts prompts;
    TestProgram program;
    std::unique_ptr<windows::DocumentWindow> window;
};

} // namespace windowtest
