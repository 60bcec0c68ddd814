// Handing a contact to the transaction as its sender or receiver: through the Transfer menu,
// and through the transfer frame that Enter on the grid shows while a transaction is open.

#include "contactsfixture.h"

#include "grid/gridselection.h"
#include "grid/lbltxt.h"

#include <QAbstractButton>
#include <QApplication>
#include <QTemporaryDir>
#include <QAction>
#include <QFrame>
#include <QTest>

namespace contactstest {
namespace {

using platform::Answer;
using windows::ContactParty;
using windows::PartySide;

class HandOff : public ContactsWindow {
protected:
    void SetUp() override
    {
        window.activateWindow();
        ASSERT_TRUE(QTest::qWaitForWindowActive(&window));
    }
    void select(int row) { window.List1().SelectItem(row, 1, 1); }
    void press(const char* control) { window.transferControl(QString::fromLatin1(control))->click(); }
    void trigger(const char* menu) { window.menu(QString::fromLatin1(menu))->trigger(); }
    // Enter typed into the cell editor that has the focus.
    void enter()
    {
        QWidget* editor = QApplication::focusWidget();
        ASSERT_NE(editor, nullptr);
        QTest::keyClick(editor, Qt::Key_Return);
    }
    TransactionStandIn& transactions() { return program.transactions; }
};

// The transactions window hidden: it is shown to the right of this window, docked at the
// left edge, and takes the contact; this window hides and keeps its document.
TEST_F(HandOff, TheFirstHandOffShowsTheTransactionBesideThisWindow)
{
    const QString path = openClients();
    select(3);
    trigger("TransferFrom");
    EXPECT_EQ(transactions().calls, (QStringList{"show at 5220, 0", "From 3 Lepko"}));
    EXPECT_EQ(transactions().parties[PartySide::From], (ContactParty{path, "Lepko", "3"}));
    EXPECT_EQ(transactions().parties.count(PartySide::To), 0u);
    EXPECT_EQ(window.pos(), QPoint(0, 0));
    EXPECT_EQ(window.width(), 5220 / 15);
    EXPECT_TRUE(window.isHidden());
    EXPECT_EQ(program.shellCalls, QStringList{"company check"});
    EXPECT_EQ(window.windowTitle(), QStringLiteral("Company [ Clients.QVC ]"));
    EXPECT_EQ(window.List1().GetItem(3, 1), QStringLiteral("Lepko"));
}

// One company gives both parties: the sender through the menu, the receiver through the
// frame; the transaction, already shown, is not moved again, and each side keeps its own.
TEST_F(HandOff, BothSidesFromOneCompany)
{
    const QString path = openClients();
    transactions().shown = true;
    select(1);
    trigger("TransferFrom");
    window.show();
    select(5);
    window.showTransferItems();
    press("TRANSFERITEMSTO");
    EXPECT_EQ(transactions().calls, (QStringList{"From 1 Adria Tours", "To 5 Okov d.o.o."}));
    EXPECT_EQ(transactions().parties[PartySide::From], (ContactParty{path, "Adria Tours", "1"}));
    EXPECT_EQ(transactions().parties[PartySide::To], (ContactParty{path, "Okov d.o.o.", "5"}));
    EXPECT_TRUE(window.TransferItems()->isHidden());
    EXPECT_TRUE(window.isHidden());
}

// A row without a name is no contact: every way of handing it over says so and changes
// nothing, and the window stays for the user to choose another.
TEST_F(HandOff, ARowWithoutANameIsRefusedWithAMessage)
{
    openClients();
    transactions().shown = true;
    select(4);
    const std::function<void()> ways[] = {
        [&] { trigger("TransferFrom"); },          [&] { trigger("TransferTo"); },
        [&] { press("TRANSFERITEMSFROM"); },      [&] { press("TRANSFERITEMSTO"); },
        [&] { press("SelectedContactFrom"); },    [&] { press("SelectedContactTo"); },
    };
    window.showTransferItems();
    for (const auto& way : ways) {
        prompts.script().clear();
        prompts->queueAnswer(Answer::OK);
        way();
        ASSERT_EQ(prompts->recorded().size(), 1);
        EXPECT_EQ(prompts->recorded().last().text, QStringLiteral("Please select contact with the Name"));
        EXPECT_EQ(prompts->recorded().last().style, 16);
    }
    EXPECT_TRUE(transactions().calls.isEmpty());
    EXPECT_TRUE(program.shellCalls.isEmpty());
    EXPECT_FALSE(window.isHidden());
    EXPECT_FALSE(window.TransferItems()->isHidden());
}

// A list that was never saved has no file the transaction could find its contact in, even
// while the dialog still holds the path of the company shown before New.
TEST_F(HandOff, AListThatWasNeverSavedIsRefused)
{
    openClients();
    window.NEWLIST();
    window.List1().ChangeItem(1, 1, QStringLiteral("Typed in"));
    select(1);
    ASSERT_FALSE(window.dialog().FileName.isEmpty());
    prompts->queueAnswer(Answer::OK);
    EXPECT_FALSE(window.TransferTo());
    EXPECT_EQ(prompts->recorded().last().text,
              QStringLiteral("Please save this Company first: the transaction finds its contact by the Company file "
                             "and the contact's row."));
    EXPECT_TRUE(transactions().calls.isEmpty());
    EXPECT_FALSE(window.isHidden());
}

// Enter on a contact while a transaction is open shows the frame with its name and the
// focus on TRANSFER TO, so that a second Enter makes the contact the receiver. Enter on a
// row without a name shows nothing.
TEST_F(HandOff, EnterShowsTheFrameAndASecondEnterHandsTheReceiver)
{
    const QString path = openClients();
    transactions().shown = true;
    select(4);
    enter();
    EXPECT_TRUE(window.TransferItems()->isHidden());

    select(2);
    enter();
    ASSERT_FALSE(window.TransferItems()->isHidden());
    EXPECT_EQ(window.transferControl(QStringLiteral("SelectedContactFrom"))->text(), QStringLiteral("Brankar Timber"));
    EXPECT_EQ(window.transferControl(QStringLiteral("SelectedContactTo"))->text(), QStringLiteral("Brankar Timber"));
    EXPECT_EQ(QApplication::focusWidget(), window.transferControl(QStringLiteral("TRANSFERITEMSTO")));
    enter();
    EXPECT_EQ(transactions().parties[PartySide::To], (ContactParty{path, "Brankar Timber", "2"}));
    EXPECT_TRUE(window.isHidden());
}

// The frame stays shown while the user moves to another contact: its labels then name that
// contact, and a click hands over the row selected at that moment with its name.
TEST_F(HandOff, TheFrameHandsTheContactSelectedAtTheMoment)
{
    const QString path = openClients();
    transactions().shown = true;
    select(1);
    enter();
    ASSERT_FALSE(window.TransferItems()->isHidden());
    window.List1().selection().editor(1)->setFocus();
    QTest::keyClick(QApplication::focusWidget(), Qt::Key_Down);
    QTest::keyClick(QApplication::focusWidget(), Qt::Key_Down);
    ASSERT_EQ(window.List1().iSelected(), 3);
    EXPECT_EQ(window.transferControl(QStringLiteral("SelectedContactFrom"))->text(), QStringLiteral("Lepko"));
    press("SelectedContactFrom");
    EXPECT_EQ(transactions().parties[PartySide::From], (ContactParty{path, "Lepko", "3"}));
    EXPECT_TRUE(window.TransferItems()->isHidden());
}

// The posting refuses a company file that carries a lock, so a hand-off lets go of this
// window's lock; a refused one keeps it.
TEST_F(HandOff, TheHandOffLetsGoOfTheLock)
{
    QTemporaryDir shared;
    program.beHost(shared.path());
    const QString path = shared.path() + QStringLiteral("/QVNET/RAzar/Contacts/Clients.QVC");
    writeCompany(path, {{"Adria Tours", "120"}, {"", ""}});
    prompts->queueOpen(path);
    window.cmdOpen_Click();
    const QString lock = services::EditLockFile::pathOf(path);
    ASSERT_TRUE(QFile::exists(lock));

    select(2);
    prompts->queueAnswer(Answer::OK);
    EXPECT_FALSE(window.TransferFrom());
    EXPECT_TRUE(QFile::exists(lock));

    select(1);
    EXPECT_TRUE(window.TransferFrom());
    EXPECT_FALSE(QFile::exists(lock));
}

} // namespace
} // namespace contactstest
