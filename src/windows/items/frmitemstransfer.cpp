// frmItems' transfer of the selected item into the open transaction (TransfersItem): the
// item's name and price and a quantity the user gives become a line of the transactions
// window's grid, and the line's total goes into the transaction's value.

#include "windows/items/frmitems.h"

#include "grid/documents/documentlist.h"
#include "platform/decimal.h"
#include "platform/onscreen.h"
#include "platform/prompts.h"
#include "platform/twips.h"
#include "platform/vb.h"
#include "windows/document/windowshell.h"

namespace windows {

using platform::Answer;
using platform::MsgStyle::Critical;

namespace {

// The width this window takes when the transactions window is put beside it.
constexpr int DockedWidth = 5220;

int toPixels(int twips)
{
    return qRound(twips / double(platform::TwipsPerPixelX));
}

int toTwips(int pixels)
{
    return pixels * platform::TwipsPerPixelX;
}

// An amount of the grid; a text that is not one counts as 0.
platform::Decimal amountOf(const QString& text)
{
    return platform::Decimal::fromText(text).value_or(platform::Decimal());
}

} // namespace

// The price the item form and the transfer accept, refused with a message that names the
// lowest price the check really applies.
bool frmItems::checkPrice(const QString& price)
{
    if (price.isEmpty()) {
        prompts().MsgBox(QStringLiteral("Please select the item with price"), Critical);
        return false;
    }
    const std::optional<double> value = platform::vb::CDbl(price);
    if (!value) {
        prompts().MsgBox(QStringLiteral("Please select item with the price. Price can be only number"), Critical);
        return false;
    }
    if (*value < LowestPrice) {
        prompts().MsgBox(QStringLiteral("Please select item with the price. Price can't be smaller then 0.1"), Critical);
        return false;
    }
    return true;
}

// This window goes to the top left corner, normal and 5220 twips wide; the transactions
// window stands to its right with row 1 as the row the item goes into.
void frmItems::showTransactionsBeside(TransactionLines& transactions)
{
    transactions.napravikolone();
    transactions.showForTransfer();
    setWindowState(windowState() & ~(Qt::WindowMaximized | Qt::WindowMinimized));
    move(0, 0);
    resize(toPixels(DockedWidth), height());
    platform::keepOnScreen(*this);
    transactions.moveTo(toTwips(width()) + toTwips(x()), toTwips(y()));
    transactions.List1().core().setiSelected(1);
}

void frmItems::TransfersItem()
{
    TransactionLines* transactions = shell() ? shell()->transactionLines() : nullptr;
    if (!transactions)
        return;
    grid::DocumentList& lines = transactions->List1();
    grid::DocumentList& items = List1();

    // The item goes into the transaction's selected row, which must be empty. A transaction
    // shown with no row selected has no row for it yet.
    if (!lines.GetItem(lines.iSelected(), 1).isEmpty() || (transactions->Visible() && lines.iSelected() < 1)) {
        prompts().MsgBox(QStringLiteral("Please select one empty cell in the Transaction form!"), Critical);
        transactions->focusGrid();
        return;
    }
    if (items.GetItem(items.iSelected(), 1).isEmpty())
        return;
    const QString price = items.GetItem(items.iSelected(), 2);
    if (!checkPrice(price))
        return;
    shell()->PROVERICOMANYINFO();
    if (!transactions->Visible())
        showTransactionsBeside(*transactions);

    const QString name = items.GetItem(items.iSelected(), 1);
    if (name.isEmpty())
        return;
    const QString typed = prompts().InputBox(QStringLiteral("Enter Transfer Quantity for ") + name);
    if (typed.isEmpty())
        return;
    const std::optional<double> quantity = platform::vb::CDbl(typed);
    if (!quantity) {
        prompts().MsgBox(QStringLiteral("Enter Number Only!"), Critical);
        return;
    }
    if (*quantity < 1)
        return;
    // The line's total is price times quantity, exactly; one beyond what the number form can
    // hold (a quantity of 1e308, say) would be written as "Inf" and never add up with the
    // value, so it is refused before anything is written.
    const auto exactPrice = platform::Decimal::fromText(price);
    const auto exactQuantity = platform::Decimal::fromText(typed);
    const platform::Decimal total = exactPrice && exactQuantity ? *exactPrice * *exactQuantity : platform::Decimal();
    if (!exactPrice || !exactQuantity || !total.inRange()) {
        prompts().MsgBox(name + QStringLiteral(" can't be transferred: its total, ") + price + QStringLiteral(" times ")
                             + typed + QStringLiteral(", is more than Quorvane can hold as an amount."),
                         Critical);
        return;
    }
    if (lines.FindText(name)) {
        prompts().MsgBox(name + QStringLiteral(" is already included in this transfer"));
        return;
    }

    const int target = lines.iSelected();
    const QString existing = lines.GetItem(target, 1);
    if (!existing.isEmpty()) {
        if (prompts().MsgBox(QStringLiteral("Delete selected item ( ") + existing + QStringLiteral(" ) ?"),
                             platform::MsgStyle::YesNo)
            != Answer::Yes)
            return;
        transactions->enableDeleteRow();
    }
    // The selection moves on to the row after the target, so that the next item goes there;
    // the transaction always keeps a row after the selected one.
    if (target == lines.ListCount()) {
        transactions->DODARED();
        if (target == lines.ListCount())
            return; // the transaction is full; its window has said so
    }
    lines.FindText(QString());
    lines.SelectItem(lines.iSelected(), 1, 1);
    if (lines.ListCount() == lines.iSelected())
        transactions->DODARED();

    if (prompts().MsgBox(QStringLiteral("Transfer ") + name + QStringLiteral(" in amount of ") + typed
                             + QStringLiteral(" ?"),
                         platform::MsgStyle::YesNo)
        != Answer::Yes)
        return;

    // A line written over takes its total out of the value; the new line puts its own in.
    const QString replacedTotal = lines.GetItem(target, 4);
    lines.ChangeItem(target, 1, name);
    lines.ChangeItem(target, 2, price);
    lines.ChangeItem(target, 3, exactQuantity->text());
    lines.ChangeItem(target, 4, total.text());
    if (lines.GetItem(target, 1) == name && lines.GetItem(target, 4) == total.text()) {
        transactions->setValue((amountOf(transactions->Value()) - amountOf(replacedTotal) + total).text());
        transactions->markChanged();
    }
    lines.ClearUndoRedo();
    if (isVisible()) {
        activateWindow();
        List1().setFocus();
    }
}

} // namespace windows
