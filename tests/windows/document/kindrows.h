#pragma once
// The document kinds the shared window tests run over, one row per kind: how to make its
// window, which of the start-up window's dialogs it keeps its path in, and what the kind
// shows and stores, written out as the user sees it. A new document window adds its row in
// kindrows.cpp.

#include "datafiles/settingsstore.h"
#include "windows/document/documentwindow.h"

#include "windows/document/testprogram.h"

#include <QList>
#include <QString>
#include <QStringList>
#include <array>
#include <functional>
#include <memory>
#include <ostream>
#include <utility>

namespace windowtest {

using datafiles::SettingsStore;
using datafiles::TextField;

struct KindRow {
    const char* name; // the row's name in test names
    std::function<std::unique_ptr<windows::DocumentWindow>(const windows::DocumentContext&)> make;
    platform::CommonDialog TestProgram::*dialog;

    QString formName;         // ActiveList while the window is active
    QString extension;
    QString folder;           // below the data root
    QString captionWord;      // "<word> [ Unsaved ]", "<word> [ title ]", "<word> [title]"
    QString readOnlyWord;     // "<word> [title ]"
    QString defaultName;      // proposed by Save As for a new document
    QString filter;
    QString networkFolderMissing;
    QString networkUserMaySave;
    QStringList networkUserOpens; // what an open shows a network user, in order
    QString singleMachineQuestionStart;
    QList<std::pair<QString, int>> defaultColumns;
    int defaultRows = 30;
    std::array<datafiles::RecentFileSlot SettingsStore::*, 3> recent;
    std::array<TextField SettingsStore::*, 7> placement; // state, left, top, height, width, tool bar, text bar
    bool locksOnSaveAs = true;
    int protectedColumns = 2;         // cannot be deleted or pushed aside
    QString insertColumnQuestion;     // Insert Column on a protected column
    QString deleteColumnRefusal;      // Delete Column on a protected column
    QString listingRefusal;           // what the listing tells a network user; "" lists for one
    // Whether Save and Save As write the list file alone. Where they post the document
    // instead (transactions), the window's own tests cover them, and the shared tests that
    // save pass over that kind.
    bool savesPlainly = true;
    // Whether Open gives a network user the document read-only; false where it turns the
    // user away before any question.
    bool networkUserOpensReadOnly = true;
    // Writes what the kind keeps beside a document's list file (a transaction's header
    // file); nothing for most kinds.
    std::function<void(const QString& path)> writeCompanions = nullptr;
};

// GoogleTest names the rows after their kind.
inline void PrintTo(const KindRow& row, std::ostream* os)
{
    *os << row.name;
}

const std::vector<KindRow>& kindRows();

} // namespace windowtest

// Runs a suite of the shared behaviour once for every kind, named after the kind.
#define INSTANTIATE_FOR_EVERY_KIND(Suite)                                                                  \
    INSTANTIATE_TEST_SUITE_P(Kinds, Suite, ::testing::ValuesIn(::windowtest::kindRows()),                   \
                             [](const auto& info) { return std::string(info.param.name); })
