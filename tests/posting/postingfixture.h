#pragma once
// What the posting tests stand on: a temporary program folder with its data folders and a
// settings file, a pinned clock, scripted prompts that fail the test on any message (the
// postings show none themselves), contact company files made by the grid as the contact
// window saves them, and snapshots of whole folders to prove a refusal changed no byte.

#include "datafiles/settingsstore.h"
#include "datafiles/transactionheader.h"
#include "postingfiles.h"
#include "support/pinnedclock.h"
#include "support/scopedprompts.h"
#include "support/tempprogramfolder.h"

#include <QByteArray>
#include <QString>
#include <QStringList>
#include <gtest/gtest.h>

namespace postingtest {

// Column `column` of `row` of a list file, read through the grid's reader.
QString cellOf(const QString& path, int row, int column);
inline QString balanceOf(const QString& path, int row) { return cellOf(path, row, 2); }

// An edit lock on a document, held by that machine.
void lock(const QString& document, const char* holder);

// A file's stored lines (either scramble state), as the posting itself reads them.
QStringList storedLines(const QString& path);

// A transaction header of that value, already posted with oldvalue, and its parties.
datafiles::TransactionHeader header(const QString& value, const QString& oldvalue = QString());
void fromOwnCompany(datafiles::TransactionHeader& h, const QString& name = QStringLiteral("Firma"));
void toOwnCompany(datafiles::TransactionHeader& h, const QString& name = QStringLiteral("Firma"));
void fromContact(datafiles::TransactionHeader& h, const QString& file, int row, const QString& contact);
void toContact(datafiles::TransactionHeader& h, const QString& file, int row, const QString& contact);
// The contact in row 1 of the file on one side and the own company on the other.
void contactAndOwnCompany(datafiles::TransactionHeader& h, const QString& file, const QString& contact,
                          bool contactSends);

class PostingTest : public ::testing::Test {
protected:
    PostingTest();

    QString contactsFolder() const;
    QString transactionsFolder() const;
    QString paymentsFolder() const;
    // A company file in the contacts folder.
    QString company(const QString& name, const std::vector<Contact>& contacts) const;

    // The settings file as a new run would load it.
    QString storedSetting(int line) const;
    // The settings store saved, as at the start of a run.
    void saveSettings();

    testsupport::TempProgramFolder program;
    testsupport::PinnedClock clock{QDateTime(QDate(2026, 12, 10), QTime(12, 0, 0))};
    testsupport::ScopedPrompts prompts;
    datafiles::SettingsStore store;
};

} // namespace postingtest
