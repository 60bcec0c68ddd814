#pragma once
// Files the posting tests make and look at, without the test framework, so that the crash
// test's child process uses them too: contact company files and line items as the grid
// saves them, snapshots of whole folders, and the own company's settings as a single
// machine, as the host of a share and as a user of it.

#include <QByteArray>
#include <QString>
#include <QStringList>
#include <map>
#include <utility>
#include <vector>

namespace datafiles {
class SettingsStore;
}

namespace postingtest {

// A contact: its name (column 1) and balance text (column 2).
using Contact = std::pair<QString, QString>;

// Every file below the folders, by path, with its bytes.
using Snapshot = std::map<QString, QByteArray>;
Snapshot snapshot(const QStringList& folders);

QByteArray contentOf(const QString& path);

// A company file of the given contacts (and an address column), saved scrambled through the
// grid, its first balance cell bold and red. False when it could not be written.
bool writeCompanyFile(const QString& path, const std::vector<Contact>& contacts);

// Line items of a transaction as the grid saves them to `path`.
QByteArray lineItemBytes(const QString& path, int items = 2);

// A host file's lines as stored (its first line is no number, so it has a reader of its own).
QStringList hostLines(const QString& path);

// The tests' network paths: those with a folder "share" in them.
bool onShare(const QString& path);

// The own company of the posting tests: Firma, with a balance of 1000, the invoice counter at
// 41 and the payment counter at 7; network users may write.
void fillFirma(datafiles::SettingsStore& store);

// The store as the host of the share (a folder, ending in "/"): the share's data folders
// made and its host file "Firma.QVNET" written. False when it could not be written.
bool makeHost(datafiles::SettingsStore& store, const QString& share);

// The settings of another program folder, a user of the host of the share (made as needed);
// the program folder in use stays as it was. False when they could not be written.
bool makeUserOf(const QString& programFolder, const QString& share);

} // namespace postingtest
