// The item groups and contact companies windows hand their item and their contact to the real
// transactions window: a line and the header's value from the transfer, a party from the
// hand-off, as the user sees them in the grid and the header menus.

#include "transactionfixture.h"

#include "windows/contacts/frmcontacts.h"
#include "windows/items/frmitems.h"

#include <QApplication>
#include <QTest>

namespace transactiontest {
namespace {

// The program with the three windows, each found by its name.
class ThreeWindows : public windowtest::TestProgram {
public:
    std::vector<windows::DocumentWindow*> shown;
    windows::frmTransactions* transactionsWindow = nullptr;

    grid::GridWindow* window(const QString& name) override
    {
        for (windows::DocumentWindow* w : shown)
            if (w->kind().formName == name)
                return w;
        return nullptr;
    }
    windows::TransactionParties* transactionParties() override { return transactionsWindow; }
};

class RealHandOffs : public ::testing::Test {
protected:
    RealHandOffs()
    {
        program.store.CompanyName = QStringLiteral("Firma");
        program.store.InvoiceNumber = QStringLiteral("41");
        program.transactionsWindow = &transactions;
        program.transactions = &transactions;
        program.shown = {&transactions, &items, &contacts};
    }
    windows::DocumentContext context(platform::CommonDialog& dialog)
    {
        return program.context(dialog, prompts.script());
    }

    testsupport::TempProgramFolder folder;
    testsupport::PinnedClock clock{QDateTime(QDate(2026, 12, 10), QTime(12, 0, 0))};
    testsupport::ScopedPrompts prompts;
    ThreeWindows program;
    windows::frmTransactions transactions{context(program.CommonDialog3)};
    windows::frmItems items{context(program.CommonDialog1)};
    windows::frmContacts contacts{context(program.CommonDialog2)};
};

// Two items transferred into a hidden transaction: it shows beside the item groups window
// with the lines, the value their sum, and a change to save; a line deleted lowers the value.
TEST_F(RealHandOffs, TheItemTransferWritesLinesAndTheValueIntoTheTransaction)
{
    items.showFromLauncher();
    items.List1().ChangeItem(1, 1, QStringLiteral("Oak board"));
    items.List1().ChangeItem(1, 2, QStringLiteral("2.5"));
    items.List1().ChangeItem(2, 1, QStringLiteral("Wood glue"));
    items.List1().ChangeItem(2, 2, QStringLiteral("9.90"));
    const auto transfer = [&](int row, const char* quantity) {
        prompts->queueInput(QString::fromLatin1(quantity));
        prompts->queueAnswer(Answer::Yes);
        items.List1().SelectItem(row, 1);
        items.menu(QStringLiteral("TransferItem"))->trigger();
    };
    transfer(1, "2");
    transfer(2, "1.5");

    EXPECT_TRUE(transactions.isVisible());
    EXPECT_EQ(transactions.List1().GetColumnHeader(4), QStringLiteral("Total"));
    const auto line = [&](int r) {
        QStringList cells;
        for (int c = 1; c <= 4; ++c)
            cells << transactions.List1().GetItem(r, c);
        return cells;
    };
    EXPECT_EQ(line(1), (QStringList{"Oak board", "2.5", "2", "5"}));
    EXPECT_EQ(line(2), (QStringList{"Wood glue", "9.90", "1.5", "14.85"}));
    EXPECT_EQ(transactions.header().Value.Caption, QStringLiteral("19.85"));
    EXPECT_EQ(transactions.menu(QStringLiteral("Value"))->text(), QStringLiteral("19.85"));
    EXPECT_EQ(transactions.lblChangeStatus(), QStringLiteral("1"));
    EXPECT_EQ(transactions.x() * 15, 5220);

    transactions.List1().SelectItem(1, 1);
    transactions.menu(QStringLiteral("deleterow"))->trigger();
    EXPECT_EQ(transactions.header().Value.Caption, QStringLiteral("14.85"));
}

// A contact handed over from an open company file becomes the party of its side; the own
// company is no longer checked there, and the other side keeps the own company.
TEST_F(RealHandOffs, TheContactHandOffWritesThePartyIntoTheHeader)
{
    const QString path = folder.filePath(QStringLiteral("System/RAzar/Contacts/Clients.QVC"));
    ASSERT_TRUE(postingtest::writeCompanyFile(path, {{"Ana", "7"}, {"Lepko", "0"}}));
    contacts.showFromLauncher();
    prompts->queueOpen(path);
    contacts.cmdOpen_Click();
    contacts.List1().SelectItem(2, 1, 1);
    contacts.menu(QStringLiteral("TransferTo"))->trigger();

    EXPECT_TRUE(transactions.isVisible());
    EXPECT_TRUE(contacts.isHidden());
    const TransactionHeader& h = transactions.header();
    EXPECT_EQ(h.tocompany, (datafiles::HeaderMenu{path, true}));
    EXPECT_EQ(h.tocontact, (datafiles::HeaderMenu{QStringLiteral("Lepko"), true}));
    EXPECT_EQ(h.tocompanyiselected.Caption, QStringLiteral("2"));
    EXPECT_FALSE(h.ToMyCompany.Checked);
    EXPECT_TRUE(h.FromMyCompany.Checked);
    EXPECT_EQ(transactions.menu(QStringLiteral("tocontact"))->text(), QStringLiteral("Lepko"));
    EXPECT_TRUE(transactions.menu(QStringLiteral("tocontact"))->isChecked());
    EXPECT_FALSE(transactions.menu(QStringLiteral("ToMyCompany"))->isChecked());
    EXPECT_EQ(transactions.lblChangeStatus(), QStringLiteral("1"));
}

} // namespace
} // namespace transactiontest
