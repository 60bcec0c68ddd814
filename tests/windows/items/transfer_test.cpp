// The transfer of the selected item into the open transaction, from the item groups window's
// "Transfer Item" menu, into a stand-in transactions window with a real grid: the new line,
// the line written over, the refusals of price and quantity, and no transaction at all.

#include "windows/items/frmitems.h"

#include "grid/documents/documentlist.h"
#include "support/scopedprompts.h"
#include "support/tempprogramfolder.h"
#include "windows/document/testprogram.h"
#include "windows/document/transactionlines.h"

#include <QAction>
#include <gtest/gtest.h>

namespace {

using platform::Answer;

// The transactions window as the transfer sees it, with a real grid.
class StandInTransactions : public windows::TransactionLines {
public:
    grid::DocumentList grid;
    bool shown = false;
    QString value = QStringLiteral("0");
    bool changed = false;
    bool newEnabled = false;
    bool deleteRowEnabled = false;
    QPoint placedAt{-1, -1};
    int focused = 0;

    bool Visible() const override { return shown; }
    grid::DocumentList& List1() override { return grid; }
    void napravikolone() override
    {
        if (grid.ColumnCount() >= 2)
            return;
        grid.AddColumn(1, 220, QStringLiteral("Item Name"));
        grid.AddColumn(2, 60, QStringLiteral("Price"));
        grid.AddColumn(3, 60, QStringLiteral("Quantity"));
        grid.AddColumn(4, 60, QStringLiteral("Total"));
        grid.RemoveColumn(5);
        grid.AddMoreThanOneRow(29);
        grid.ClearUndoRedo();
    }
    void showForTransfer() override
    {
        shown = true;
        newEnabled = true;
        grid.show();
    }
    void DODARED() override
    {
        changed = true;
        grid.AddRow(QString(), grid.ListCount() + 1);
    }
    QString Value() const override { return value; }
    void setValue(const QString& caption) override { value = caption; }
    void markChanged() override { changed = true; }
    void enableDeleteRow() override { deleteRowEnabled = true; }
    void moveTo(int leftTwips, int topTwips) override { placedAt = {leftTwips, topTwips}; }
    void focusGrid() override { ++focused; }

    // A line as the grid holds it: name, price, quantity, total.
    QStringList line(int r) const
    {
        return {grid.GetItem(r, 1), grid.GetItem(r, 2), grid.GetItem(r, 3), grid.GetItem(r, 4)};
    }
    // Lines already in the transaction, from row 1; the transaction is shown with nothing
    // changed and the row after them selected.
    void holding(const QList<QStringList>& lines, const QString& total)
    {
        napravikolone();
        for (int r = 0; r < lines.size(); ++r)
            for (int c = 0; c < 4; ++c)
                grid.ChangeItem(r + 1, c + 1, lines[r][c]);
        grid.ClearUndoRedo();
        value = total;
    }
};

class ItemTransfer : public ::testing::Test {
protected:
    ItemTransfer()
    {
        program.documentWindow = &window;
        program.transactions = &transactions;
        window.showFromLauncher();
        const QList<QStringList> items = {{"Oak board", "2.5"}, {"Wood glue", "9.90"}, {"", "4"},
                                          {"Sample", ""},       {"Hinge", "12a"},     {"Washer", "0.05"},
                                          {"Dowel", "0.1"}};
        for (int r = 0; r < items.size(); ++r) {
            window.List1().ChangeItem(r + 1, 1, items[r][0]);
            window.List1().ChangeItem(r + 1, 2, items[r][1]);
        }
    }

    void transfer(int itemRow)
    {
        window.List1().SelectItem(itemRow, 1);
        window.menu(QStringLiteral("TransferItem"))->trigger();
    }
    // The transfer of the item in itemRow with a quantity, confirmed.
    void transfer(int itemRow, const QString& quantity)
    {
        prompts->queueInput(quantity);
        prompts->queueAnswer(Answer::Yes);
        transfer(itemRow);
    }
    void showTransactions(int selectedRow)
    {
        transactions.napravikolone();
        transactions.showForTransfer();
        transactions.grid.SelectItem(selectedRow, 1);
    }
    const QStringList empty{QString(), QString(), QString(), QString()};

    testsupport::TempProgramFolder folder;
    testsupport::ScopedPrompts prompts;
    windowtest::TestProgram program;
    StandInTransactions transactions;
    windows::frmItems window{program.context(program.CommonDialog1, prompts.script())};
};

// The first transfer shows the transactions window to the right of this one and writes row 1.
TEST_F(ItemTransfer, TheFirstTransferShowsTheTransactionBesideAndWritesRow1)
{
    window.move(300, 200);
    transactions.value = QStringLiteral("10");
    transfer(1, QStringLiteral("02"));
    EXPECT_EQ(prompts->texts(), (QStringList{"Enter Transfer Quantity for Oak board", "Transfer Oak board in amount of 02 ?"}));
    EXPECT_EQ(prompts->recorded()[1].style, 4);
    EXPECT_TRUE(transactions.shown);
    EXPECT_TRUE(transactions.newEnabled);
    EXPECT_EQ(transactions.grid.GetColumnHeader(4), QStringLiteral("Total"));
    EXPECT_EQ(window.x(), 0);
    EXPECT_EQ(window.y(), 0);
    EXPECT_EQ(window.width() * 15, 5220);
    EXPECT_EQ(transactions.placedAt, QPoint(5220, 0));
    EXPECT_EQ(program.shellCalls, QStringList{"company check"});

    EXPECT_EQ(transactions.line(1), (QStringList{"Oak board", "2.5", "2", "5"}));
    EXPECT_EQ(transactions.value, QStringLiteral("15"));
    EXPECT_TRUE(transactions.changed);
    EXPECT_EQ(transactions.grid.iSelected(), 2);
    EXPECT_TRUE(transactions.grid.core().UndoStack().isEmpty());

    // The next transfer goes into the row after it.
    transfer(2, QStringLiteral("1.5"));
    EXPECT_EQ(transactions.line(2), (QStringList{"Wood glue", "9.90", "1.5", "14.85"}));
    EXPECT_EQ(transactions.value, QStringLiteral("29.85"));
    EXPECT_EQ(transactions.grid.iSelected(), 3);
}

// Each refusal tells the user (or stops quietly where the user cancelled) and writes nothing.
TEST_F(ItemTransfer, RefusedTransfersWriteNothing)
{
    const struct {
        const char* what;
        int itemRow;
        QStringList answers; // the quantity, then the answers to questions
        QStringList texts;   // what the user was shown or asked
    } cases[] = {
        {"no name", 3, {}, {}},
        {"no price", 4, {}, {"Please select the item with price"}},
        {"a price of letters", 5, {}, {"Please select item with the price. Price can be only number"}},
        {"a price below 0.1", 6, {}, {"Please select item with the price. Price can't be smaller then 0.1"}},
        {"no quantity", 1, {""}, {"Enter Transfer Quantity for Oak board"}},
        {"a quantity of letters", 1, {"abc"}, {"Enter Transfer Quantity for Oak board", "Enter Number Only!"}},
        {"a quantity of 0", 1, {"0"}, {"Enter Transfer Quantity for Oak board"}},
        {"a quantity of 0.5", 1, {"0.5"}, {"Enter Transfer Quantity for Oak board"}},
        {"No at the confirmation", 1, {"3", "No"}, {"Enter Transfer Quantity for Oak board", "Transfer Oak board in amount of 3 ?"}},
        {"an infinite quantity", 1, {"1e999"}, {"Enter Transfer Quantity for Oak board", "Enter Number Only!"}},
        {"a total beyond the number form", 1, {"1e308"},
         {"Enter Transfer Quantity for Oak board",
          "Oak board can't be transferred: its total, 2.5 times 1e308, is more than Quorvane can hold as an amount."}},
    };
    showTransactions(2);
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        prompts.script().clear();
        transactions.grid.SelectItem(2, 1);
        for (const QString& answer : c.answers) {
            if (answer == QLatin1String("No"))
                prompts->queueAnswer(Answer::No);
            else
                prompts->queueInput(answer);
        }
        for (int i = 0; i < c.texts.size() - c.answers.size(); ++i)
            prompts->queueAnswer(Answer::OK);
        transfer(c.itemRow);
        EXPECT_EQ(prompts->texts(), c.texts);
        for (const auto& shown : prompts->recorded()) {
            const bool question = shown.text == QLatin1String("Transfer Oak board in amount of 3 ?");
            if (shown.kind == testsupport::PromptKind::MsgBox && !question) {
                EXPECT_EQ(shown.style, 16);
            }
        }
        EXPECT_EQ(transactions.line(2), empty);
        EXPECT_EQ(transactions.value, QStringLiteral("0"));
        EXPECT_FALSE(transactions.changed);
    }
    // The lowest price itself passes.
    transactions.grid.SelectItem(2, 1);
    transfer(7, QStringLiteral("1"));
    EXPECT_EQ(transactions.line(2), (QStringList{"Dowel", "0.1", "1", "0.1"}));
}

// An item already in the transaction, in any letter case or inside a longer name, is not
// transferred again; the transaction's selection moves to it.
TEST_F(ItemTransfer, AnItemAlreadyInTheTransactionIsNotTransferredAgain)
{
    transactions.holding({{"OAK BOARD, planed", "3", "1", "3"}}, QStringLiteral("3"));
    showTransactions(4);
    prompts->queueInput(QStringLiteral("2"));
    prompts->queueAnswer(Answer::OK);
    transfer(1);
    EXPECT_EQ(prompts->texts().last(), QStringLiteral("Oak board is already included in this transfer"));
    EXPECT_EQ(prompts->recorded().last().style, 0);
    EXPECT_EQ(transactions.grid.iSelected(), 1);
    EXPECT_EQ(transactions.value, QStringLiteral("3"));
    EXPECT_EQ(transactions.line(4), empty);
}

// A transactions window not yet shown takes the item into row 1; where row 1 holds a line the
// user is asked, and the line written over takes its total out of the value.
TEST_F(ItemTransfer, ALineWrittenOverTakesItsTotalOutOfTheValue)
{
    transactions.holding({{"Nail", "0.5", "6", "3"}}, QStringLiteral("10"));
    prompts->queueInput(QStringLiteral("1"));
    prompts->queueAnswer(Answer::No);
    transfer(2);
    EXPECT_EQ(prompts->texts().last(), QStringLiteral("Delete selected item ( Nail ) ?"));
    EXPECT_EQ(transactions.line(1), (QStringList{"Nail", "0.5", "6", "3"}));
    EXPECT_EQ(transactions.value, QStringLiteral("10"));

    // Hidden again, with no row selected.
    transactions.shown = false;
    transactions.grid.core().setiSelected(0);
    prompts->queueInput(QStringLiteral("1"));
    prompts->queueAnswer(Answer::Yes);
    prompts->queueAnswer(Answer::Yes);
    transfer(2);
    EXPECT_TRUE(transactions.deleteRowEnabled);
    EXPECT_EQ(transactions.line(1), (QStringList{"Wood glue", "9.90", "1", "9.9"}));
    EXPECT_EQ(transactions.value, QStringLiteral("16.9"));
    EXPECT_TRUE(transactions.changed);
}

// Totals and the value are exact decimals: writing over a line of 100 in a value of 100.1
// leaves the other line's 0.1, not binary noise.
TEST_F(ItemTransfer, TotalsAndTheValueAreExact)
{
    transactions.holding({{"Nail", "25", "4", "100"}, {"Peg", "0.1", "1", "0.1"}}, QStringLiteral("100.1"));
    transactions.grid.core().setiSelected(0); // hidden with no row selected: row 1 is written over
    prompts->queueInput(QStringLiteral("3"));
    prompts->queueAnswer(Answer::Yes);
    prompts->queueAnswer(Answer::Yes);
    transfer(1);
    EXPECT_EQ(prompts->texts().value(1), QStringLiteral("Delete selected item ( Nail ) ?"));
    EXPECT_EQ(transactions.line(1), (QStringList{"Oak board", "2.5", "3", "7.5"}));
    EXPECT_EQ(transactions.value, QStringLiteral("7.6"));
}

// The item goes into the transaction's selected row only when that row is empty; a shown
// transaction with no row selected has none for it.
TEST_F(ItemTransfer, TheTransactionsSelectedRowMustBeEmpty)
{
    transactions.holding({{"Nail", "0.5", "6", "3"}}, QStringLiteral("3"));
    for (int selected : {1, 0}) {
        SCOPED_TRACE(selected);
        showTransactions(selected);
        transactions.grid.core().setiSelected(selected);
        prompts.script().clear();
        transactions.focused = 0;
        prompts->queueAnswer(Answer::OK);
        transfer(1);
        EXPECT_EQ(prompts->texts(), QStringList{"Please select one empty cell in the Transaction form!"});
        EXPECT_EQ(prompts->recorded().last().style, 16);
        EXPECT_EQ(transactions.focused, 1);
        EXPECT_EQ(transactions.value, QStringLiteral("3"));
    }
}

// The last row selected and empty takes the line; a row is added after it for the next one.
TEST_F(ItemTransfer, TheLastRowTakesTheLineAndARowIsAddedAfterIt)
{
    showTransactions(1);
    const int last = transactions.grid.ListCount();
    transactions.grid.SelectItem(last, 1);
    transfer(1, QStringLiteral("4"));
    EXPECT_EQ(transactions.line(last), (QStringList{"Oak board", "2.5", "4", "10"}));
    EXPECT_EQ(transactions.line(1), empty);
    EXPECT_EQ(transactions.value, QStringLiteral("10"));
    EXPECT_GT(transactions.grid.ListCount(), last);
    EXPECT_EQ(transactions.grid.iSelected(), last + 1);
}

TEST_F(ItemTransfer, WithoutATransactionsWindowNothingHappens)
{
    program.transactions = nullptr;
    transfer(1);
    EXPECT_EQ(prompts->texts(), QStringList());
    EXPECT_EQ(program.shellCalls, QStringList());
}

} // namespace
