#pragma once
// Files the posting tests make and look at, without the test framework, so that the crash
// test's child process uses them too: contact company files and line items as the grid
// saves them, and snapshots of whole folders.

#include <QByteArray>
#include <QString>
#include <QStringList>
#include <map>
#include <utility>
#include <vector>

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

} // namespace postingtest
