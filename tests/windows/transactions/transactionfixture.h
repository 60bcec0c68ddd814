#pragma once
// The transactions window opened from the launcher as the user would, in a temporary program
// folder with a pinned clock and scripted prompts, with recording stand-ins for the windows
// it works with (item groups, contact companies, settings, payments), and helpers that write
// and read transactions and company files behind the window's back.

#include "datafiles/transactionheader.h"
#include "datafiles/transactionheaderfile.h"
#include "grid/documents/documentlist.h"
#include "grid/documents/gridfile.h"
#include "grid/gridcore.h"
#include "platform/vb.h"
#include "postingfiles.h"
#include "support/pinnedclock.h"
#include "support/qtprinters.h"
#include "support/scopedprompts.h"
#include "support/tempprogramfolder.h"
#include "windows/document/paymententry.h"
#include "windows/document/settingswindow.h"
#include "windows/document/sidewindow.h"
#include "windows/document/documentfixture.h"
#include "windows/transactions/frmtransactions.h"

#include <QAction>
#include <QDir>
#include <QFile>
#include <gtest/gtest.h>
#include <memory>

namespace transactiontest {

using datafiles::TransactionHeader;
using platform::Answer;

// The item groups or contact companies window as the transactions window sees it: every call
// recorded, docking at the left edge 5220 twips wide.
struct RecordingSideWindow : windows::SideWindow {
    testsupport::CheckedList<QString> calls;
    bool visible = false;
    bool staysOpen = false; // the user keeps it open at its "Save Changes?"

    bool Visible() const override { return visible; }
    windows::CloseOutcome closeWindow() override
    {
        calls << QStringLiteral("close");
        if (staysOpen)
            return windows::CloseOutcome::Cancelled;
        visible = false;
        return windows::CloseOutcome::Closed;
    }
    void Show() override
    {
        calls << QStringLiteral("show");
        visible = true;
    }
    void cmdNew_Click() override { calls << QStringLiteral("new"); }
    void cmdOpen_Click() override { calls << QStringLiteral("open"); }
    QPoint dockTopLeft() override
    {
        calls << QStringLiteral("dock");
        return {5220, 0};
    }
    void showWrittenDocument(const QString& path) override { calls << QStringLiteral("show file ") + path; }
};

struct RecordingSettingsWindow : windows::SettingsWindow {
    testsupport::CheckedList<QString> calls;
    void PROVERICOMANYINFO() override { calls << QStringLiteral("PROVERICOMANYINFO"); }
    void showSettingsWindow() override { calls << QStringLiteral("show"); }
};

struct RecordingPayments : windows::PaymentEntry {
    QStringList started; // the transactions' paths
    void enterPayment(const QString& transactionPath) override { started << transactionPath; }
};

// A header of that value, from the own company to the contact in row 1 of `company`.
inline TransactionHeader headerToContact(const QString& number, const QString& value, const QString& company,
                                         const QString& contact = QStringLiteral("Ana"))
{
    TransactionHeader h;
    h.TransactionNumber.Caption = number;
    h.DateandTime.Caption = QStringLiteral("03.04.2025 10:00:00");
    h.Value.Caption = value;
    h.FromMyCompany = {QStringLiteral("Firma"), true};
    h.ToMyCompany = {QStringLiteral("Firma"), false};
    h.tocompany = {company, true};
    h.tocontact = {contact, true};
    h.tocompanyiselected.Caption = QStringLiteral("1");
    return h;
}

// The sender: Bor, in row 2 of `company`.
inline void fromBor(TransactionHeader& h, const QString& company)
{
    h.FromMyCompany.Checked = false;
    h.fromcompany = {company, true};
    h.fromcontact = {QStringLiteral("Bor"), true};
    h.fromcompanyiselected.Caption = QStringLiteral("2");
}

class TransactionWindow : public ::testing::Test {
protected:
    TransactionWindow()
    {
        program.store.CompanyName = QStringLiteral("Firma");
        program.store.InvoiceNumber = QStringLiteral("41");
        program.store.Balance = QStringLiteral("1000");
        QDir().mkpath(transactionsFolder());
        QDir().mkpath(contactsFolder());
    }

    virtual windows::TransactionPartners partners()
    {
        return {&settings, &items, &contacts, &payments, nullptr};
    }
    // Makes the window and opens it from the launcher.
    void openWindow()
    {
        window = std::make_unique<windows::frmTransactions>(program.context(program.CommonDialog3, prompts.script()),
                                                            partners());
        program.documentWindow = window.get();
        window->showFromLauncher();
    }
    // The window becomes active again, as when the user comes back to it.
    void reactivate()
    {
        window->hide();
        window->show();
    }

    QString transactionsFolder() const { return folder.filePath(QStringLiteral("System/RAzar/Transactions/")); }
    QString contactsFolder() const { return folder.filePath(QStringLiteral("System/RAzar/Contacts/")); }
    QString transaction(const QString& name) const { return transactionsFolder() + name; }

    // A company file in the contacts folder, its contacts' names and balances.
    QString company(const QString& name, const std::vector<postingtest::Contact>& list) const
    {
        const QString path = contactsFolder() + name;
        EXPECT_TRUE(postingtest::writeCompanyFile(path, list)) << path.toStdString();
        return path;
    }
    // A saved transaction: `items` lines of totals 10, 20, ... and its header file.
    void writeTransaction(const QString& path, const TransactionHeader& header, int itemCount = 2) const
    {
        QFile lines(path);
        ASSERT_TRUE(lines.open(QIODevice::WriteOnly | QIODevice::Truncate));
        lines.write(postingtest::lineItemBytes(path, itemCount));
        lines.close();
        ASSERT_TRUE(datafiles::SaveTransactionHeader(path + QStringLiteral("H"), header));
    }
    // The header file as it is on disk.
    static QStringList headerLines(const QString& path)
    {
        TransactionHeader h;
        if (datafiles::LoadTransactionHeader(path + QStringLiteral("H"), h) != datafiles::LineFileReader::Status::Accepted)
            return {};
        QStringList out;
        for (const datafiles::LineField& field : datafiles::transactionHeaderLines(h))
            out << field.get();
        return out;
    }
    static QString cellOf(const QString& path, int row, int column) { return windowtest::cellOnDisk(path, row, column); }

    // The caption and the check mark of a header entry as the window shows them.
    QString shown(const char* entry) const
    {
        return window->menu(QString::fromLatin1(entry))->text().replace(QStringLiteral("&&"), QStringLiteral("&"));
    }
    bool checked(const char* entry) const { return window->menu(QString::fromLatin1(entry))->isChecked(); }
    // A line of the window's grid, as the item transfer writes it (rows added up to it).
    void setLine(int row, const QString& name, const QString& price, const QString& quantity, const QString& total)
    {
        grid::DocumentList& list = window->List1();
        if (row > list.ListCount())
            list.AddMoreThanOneRow(row - list.ListCount());
        list.ChangeItem(row, 1, name);
        list.ChangeItem(row, 2, price);
        list.ChangeItem(row, 3, quantity);
        list.ChangeItem(row, 4, total);
        window->setlblChangeStatus(QStringLiteral("1"));
    }
    void openThroughDialog(const QString& path)
    {
        prompts->queueOpen(path);
        window->cmdOpen_Click();
    }

    testsupport::TempProgramFolder folder;
    testsupport::PinnedClock clock{QDateTime(QDate(2026, 12, 10), QTime(12, 0, 0))};
    testsupport::ScopedPrompts prompts;
    windowtest::TestProgram program;
    RecordingSideWindow items;
    RecordingSideWindow contacts;
    RecordingSettingsWindow settings;
    RecordingPayments payments;
    std::unique_ptr<windows::frmTransactions> window;
};

} // namespace transactiontest
