#pragma once
// Small probes the window tests share: a document window's menus as the user reads them, the
// help topics a window asks to be shown, and a cell of a list file as it stands on disk.

#include "grid/documents/gridfile.h"
#include "grid/gridcore.h"
#include "platform/desktop.h"
#include "support/checkedlist.h"

#include <QAction>
#include <QMenu>
#include <QStringList>

namespace windowtest {

// The menus as the user sees them: each top-level menu with its entries in order, a submenu's
// entries after it in brackets, a separator as "-".
inline QStringList menuText(const QList<QAction*>& actions)
{
    QStringList out;
    for (const QAction* a : actions) {
        if (a->isSeparator())
            out << QStringLiteral("-");
        else if (a->menu())
            out << a->text() + QStringLiteral(" [") + menuText(a->menu()->actions()).join(QStringLiteral(", "))
                       + QStringLiteral("]");
        else
            out << a->text() + (a->shortcut().isEmpty() ? QString() : QStringLiteral(" ") + a->shortcut().toString());
    }
    return out;
}

// Records the help topics shown instead of showing them.
struct RecordingViewer : platform::HelpViewer {
    testsupport::CheckedList<QString> shown; // help file, window name and topic of each
    bool showTopic(const QString& helpFile, const QString& windowName, const QString& topic) override
    {
        shown << helpFile << windowName << topic;
        return true;
    }
};

// The text of a cell of a list file on disk; "<unreadable>" when it cannot be read.
inline QString cellOnDisk(const QString& path, int row, int column)
{
    grid::GridCore core;
    grid::GridFile file(core);
    if (!file.OpenFile(path))
        return QStringLiteral("<unreadable>");
    return core.GetItem(row, column);
}

} // namespace windowtest
