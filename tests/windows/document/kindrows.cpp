#include "kindrows.h"

#include "datafiles/transactionheaderfile.h"
#include "windows/contacts/frmcontacts.h"
#include "windows/items/frmitems.h"
#include "windows/transactions/frmtransactions.h"

#include <gtest/gtest.h>

namespace windowtest {

const std::vector<KindRow>& kindRows()
{
    static const std::vector<KindRow> rows = {
        {
            "ItemGroups",
            [](const windows::DocumentContext& c) { return std::make_unique<windows::frmItems>(c); },
            &TestProgram::CommonDialog1,
            QStringLiteral("frmItems"),
            QStringLiteral(".QVI"),
            QStringLiteral("Items/"),
            QStringLiteral("Items Group"),
            QStringLiteral("Items READ-ONLY"),
            QStringLiteral("Group1.QVI"),
            QStringLiteral("QV Item Group (*.QVI)|*.QVI|"),
            QStringLiteral("Network connection error. Can't find Network Items Directory."),
            QStringLiteral("Network users are not allowed to edit files. Contact your network host for assistance."),
            {QStringLiteral("Network users are not allowed to edit files.")},
            QStringLiteral("Saving item group files outside of the designed directory"),
            {{QStringLiteral("Item Name"), 220}, {QStringLiteral("Price"), 60}},
            30,
            {&SettingsStore::frmItemsfile1, &SettingsStore::frmItemsfile2, &SettingsStore::frmItemsfile3},
            {&SettingsStore::frmItemsWindowState, &SettingsStore::frmItemsLeft, &SettingsStore::frmItemsTop,
             &SettingsStore::frmItemsHeight, &SettingsStore::frmItemsWidth, &SettingsStore::frmItemstoolbarchecked,
             &SettingsStore::frmItemstextbarchecked},
            true,
            2,
            QStringLiteral("You can't insert column before first two... add new column after ?"),
            QStringLiteral("You can't delete first two columns...Name and Price are the minimum Items information "
                           "required"),
            QStringLiteral("Network users are not allowed to edit files. Contact your network host for assistance. "),
        },
        {
            "ContactCompanies",
            [](const windows::DocumentContext& c) { return std::make_unique<windows::frmContacts>(c); },
            &TestProgram::CommonDialog2,
            QStringLiteral("frmContacts"),
            QStringLiteral(".QVC"),
            QStringLiteral("Contacts/"),
            QStringLiteral("Company"),
            QStringLiteral("Company READ-ONLY"),
            QStringLiteral("Company1.QVC"),
            QStringLiteral("QV Contact Company (*.QVC)|*.QVC|"),
            QStringLiteral("Network connection error. Can't find Network Contacts Directory."),
            QStringLiteral("Network users are not allowed to edit files. Contact your network host for assistance. "),
            // Told twice in full, the short way between.
            {QStringLiteral("Network users are not allowed to edit files. Contact your network host for assistance. "),
             QStringLiteral("Network users are not allowed to edit files."),
             QStringLiteral("Network users are not allowed to edit files. Contact your network host for assistance. ")},
            QStringLiteral("Saving contact group files outside of the designed directory"),
            {{QStringLiteral("Contact Name"), 220}, {QStringLiteral("Balance"), 60}},
            30,
            {&SettingsStore::frmContactsfile1, &SettingsStore::frmContactsfile2, &SettingsStore::frmContactsfile3},
            {&SettingsStore::frmContactsWindowState, &SettingsStore::frmContactsLeft, &SettingsStore::frmContactsTop,
             &SettingsStore::frmContactsHeight, &SettingsStore::frmContactsWidth,
             &SettingsStore::frmContactstoolbarchecked, &SettingsStore::frmContactstextbarchecked},
            true,
            2,
            QStringLiteral("You can't insert column before first two... add new column after ?"),
            QStringLiteral("You can't delete first two columns...Name and Balance are the minimum Contacts "
                           "information required"),
            QString(),
        },
        {
            "Transactions",
            [](const windows::DocumentContext& c) { return std::make_unique<windows::frmTransactions>(c); },
            &TestProgram::CommonDialog3,
            QStringLiteral("frmTransactions"),
            QStringLiteral(".QVT"),
            QStringLiteral("Transactions/"),
            QStringLiteral("Transaction"),
            QStringLiteral("Transaction READ-ONLY"),
            QStringLiteral("1.QVT"),
            QStringLiteral("Transaction (*.QVT)|*.QVT|"),
            QStringLiteral("Network connection error. Can't find Network Transactions Directory."),
            QStringLiteral("Network users are not allowed to edit files. Contact your network host for assistance. "),
            {},
            QStringLiteral("Saving transaction files outside of the designed directory"),
            {{QStringLiteral("Item Name"), 220},
             {QStringLiteral("Price"), 60},
             {QStringLiteral("Quantity"), 60},
             {QStringLiteral("Total"), 60}},
            30,
            {&SettingsStore::frmTransactionsfile1, &SettingsStore::frmTransactionsfile2,
             &SettingsStore::frmTransactionsfile3},
            {&SettingsStore::frmTransactionsWindowState, &SettingsStore::frmTransactionsLeft,
             &SettingsStore::frmTransactionsTop, &SettingsStore::frmTransactionsHeight,
             &SettingsStore::frmTransactionsWidth, &SettingsStore::frmTransactionstoolbarchecked,
             &SettingsStore::frmTransactionstextbarchecked},
            false,
            4,
            QStringLiteral("You can't insert column before first four... add new column after ?"),
            QStringLiteral("You can't delete first 4 columns...Name, Price and Quantity and Total are the minimum "
                           "Items information required for Transaction"),
            QString(),
            false,
            false,
            // A transaction's header file lies beside its line items.
            [](const QString& path) {
                datafiles::TransactionHeader header;
                header.TransactionNumber.Caption = QStringLiteral("1");
                header.FromMyCompany.Checked = true;
                ASSERT_TRUE(datafiles::SaveTransactionHeader(path + QStringLiteral("H"), header));
            },
        },
    };
    return rows;
}

} // namespace windowtest
