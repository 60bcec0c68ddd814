// What is the transactions window's own: its controls and menus, the header it shows and
// keeps, the own company and the contact parties, New and Open with the header file, the
// recent files, the start of a payment and the offer to open an item group. The behaviour
// it shares with the other document windows is tested over the kinds in
// tests/windows/document; its Save and Save As in transactionsave_test.cpp.

#include "transactionfixture.h"
#include "support/checkedlist.h"

#include <QAbstractButton>
#include <QApplication>
#include <QLineEdit>
#include <QMenu>
#include <QMenuBar>
#include <QTest>
#include <functional>

namespace transactiontest {
namespace {

// The menus as the user sees them: each top-level menu with its entries in order, a submenu's
// entries after it in brackets, a check mark as "*", hidden entries left out.
QStringList menuText(const QList<QAction*>& actions)
{
    QStringList out;
    for (const QAction* a : actions) {
        const QString text = QString(a->text()).replace(QStringLiteral("&&"), QStringLiteral("&"));
        if (!a->isVisible())
            continue;
        if (a->isSeparator())
            out << QStringLiteral("-");
        else if (a->menu())
            out << text + QStringLiteral(" [") + menuText(a->menu()->actions()).join(QStringLiteral(", "))
                    + QStringLiteral("]");
        else
            out << text + (a->isChecked() ? QStringLiteral("*") : QString());
    }
    return out;
}

class Transactions : public TransactionWindow {
protected:
    Transactions() { openWindow(); }
};

TEST_F(Transactions, MenusShowTheHeaderOfANewTransaction)
{
    const QMenuBar* bar = window->findChild<QMenuBar*>();
    ASSERT_NE(bar, nullptr);
    EXPECT_EQ(menuText(bar->actions()),
              (QStringList{
                  "  File [New, Open, Close, -, Save, Save As, -, Print, -]",
                  "Header [Transaction Number: [41], Transaction Date & Time: ["
                      + platform::vb::GeneralDate(clock.when())
                      + "], Transaction Total Value: [0], Transaction From: [Firma*, Company: [], Contact: []], "
                        "Transaction To: [Firma, Company: [], Contact: []]]",
                  "Payment [Amount Paid [], Balance [], Enter Payment]",
                  "Add [Add Row, Add Column, Add Items]",
                  "Delete [Delete Row, Delete Column]",
                  "Insert [Column]",
                  "View [Tool Bar*, Text Bar*]",
                  "Data [Import External Data [From File], Export Data [Transaction into Excel Spreadsheet, "
                  "Transaction into Excel Form]]",
                  "Help",
              }));
    for (const char* hidden : {"fromcompanyiselected", "tocompanyiselected", "oldvalue"})
        EXPECT_FALSE(window->menu(QString::fromLatin1(hidden))->isVisible()) << hidden;
}

TEST_F(Transactions, TheToolBarHasNoUndoAndTheFindFrameNoReplace)
{
    struct Button {
        const char* name;
        int left, width;
        const char* tip;
    };
    const Button buttons[] = {
        {"btnBack", 120, 280, "Back"},        {"cmdNew", 600, 260, "New"},
        {"cmdOpen", 840, 280, "Open"},        {"cmdSave", 1080, 405, "Save"},
        {"cmdPrintOptions", 1470, 280, "Print"}, {"cmdList", 1920, 260, "List Transactions"},
        {"cmdFindFiles", 2160, 280, "Search Computer for Item Group Files"},
        {"cmdFind", 2880, 280, "Find"},       {"cmdBold", 3600, 260, "Bold"},
        {"cmdItalic", 3840, 260, "Italic"},   {"cmdUnderlined", 4080, 260, "Underline"},
        {"cmdFontColor", 4320, 260, "Font Color"},
    };
    for (const Button& b : buttons) {
        const QAbstractButton* button = window->button(QString::fromLatin1(b.name));
        ASSERT_NE(button, nullptr) << b.name;
        EXPECT_EQ(button->toolTip(), QString::fromLatin1(b.tip)) << b.name;
        EXPECT_EQ(button->geometry(), QRect(qRound(b.left / 15.0), 0, qRound(b.width / 15.0), 22)) << b.name;
    }
    for (const char* absent : {"cmdUndo", "cmdRedo", "txttoReplace", "ReplaceAll", "ReplaceInList"})
        EXPECT_EQ(window->button(QString::fromLatin1(absent)), nullptr) << absent;
    EXPECT_EQ(window->Find()->findChild<QLineEdit*>(QStringLiteral("txttoReplace")), nullptr);
    // The text bar shows the active cell and takes no typing.
    EXPECT_TRUE(window->TextText()->isReadOnly());
    EXPECT_EQ(window->windowTitle(), QStringLiteral("Transaction [ Unsaved ]"));
    // The line-item columns take no typing in place either.
    for (int c = 1; c <= 4; ++c)
        EXPECT_FALSE(window->List1().core().isEditEnabled(c)) << c;
}

// What the header shows as the window is activated: a transaction without a file takes the
// next number and the moment of activation each time; one read from its file keeps the
// number and date it was saved with. The own company's name is the current one on both
// sides.
TEST_F(Transactions, ActivationFillsTheHeaderOfANewTransactionOnly)
{
    struct Case {
        const char* name;
        bool opened;
        const char* invoiceNumber;
        const char* number;
        QString date;
    };
    const Case cases[] = {
        {"new", false, "007", "7", platform::vb::GeneralDate(QDateTime(QDate(2026, 12, 10), QTime(12, 5, 0)))},
        {"opened", true, "50", "17", QStringLiteral("03.04.2025 10:00:00")},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        openWindow();
        if (c.opened) {
            const QString path = transaction(QStringLiteral("17.QVT"));
            writeTransaction(path, headerToContact(QStringLiteral("17"), QStringLiteral("30"),
                                                   company(QStringLiteral("Bank.QVC"), {{"Ana", "0"}})));
            openThroughDialog(path);
        }
        clock.advanceSeconds(300);
        program.store.InvoiceNumber = QString::fromLatin1(c.invoiceNumber);
        program.store.CompanyName = QStringLiteral("Novak & Sinovi");
        reactivate();
        EXPECT_EQ(shown("TransactionNumber"), c.number);
        EXPECT_EQ(window->header().TransactionNumber.Caption, c.number);
        EXPECT_EQ(shown("DateandTime"), c.date);
        EXPECT_EQ(shown("FromMyCompany"), QStringLiteral("Novak & Sinovi"));
        EXPECT_EQ(shown("ToMyCompany"), QStringLiteral("Novak & Sinovi"));
        // The "&" is shown, not taken for an access key.
        EXPECT_EQ(window->menu(QStringLiteral("FromMyCompany"))->text(), QStringLiteral("Novak && Sinovi"));
        EXPECT_EQ(settings.calls.last(), QStringLiteral("PROVERICOMANYINFO"));
        clock.set(QDateTime(QDate(2026, 12, 10), QTime(12, 0, 0)));
        program.store.CompanyName = QStringLiteral("Firma");
    }
}

TEST_F(Transactions, TheOwnCompanyReplacesAContactParty)
{
    const QString bank = company(QStringLiteral("Bank.QVC"), {{"Ana", "0"}, {"Bor", "0"}});
    const QString path = transaction(QStringLiteral("17.QVT"));
    TransactionHeader h = headerToContact(QStringLiteral("17"), QStringLiteral("30"), bank);
    fromBor(h, bank);
    h.ToMyCompany.Checked = false;
    writeTransaction(path, h);
    openThroughDialog(path);
    ASSERT_EQ(shown("fromcontact"), QStringLiteral("Bor"));
    ASSERT_FALSE(checked("FromMyCompany"));

    window->menu(QStringLiteral("FromMyCompany"))->trigger();
    EXPECT_TRUE(checked("FromMyCompany"));
    EXPECT_FALSE(checked("fromcompany"));
    EXPECT_FALSE(checked("fromcontact"));
    EXPECT_EQ(shown("fromcompany"), QString());
    EXPECT_EQ(shown("fromcontact"), QString());
    EXPECT_EQ(window->header().fromcompanyiselected.Caption, QStringLiteral("2"));
    // A choice of party is a change of the transaction that closing asks about.
    EXPECT_EQ(window->lblChangeStatus(), QStringLiteral("1"));

    // Choosing it again changes nothing; a click never takes the check mark off.
    window->setlblChangeStatus(QStringLiteral("0"));
    window->menu(QStringLiteral("FromMyCompany"))->trigger();
    EXPECT_TRUE(checked("FromMyCompany"));
    EXPECT_EQ(window->lblChangeStatus(), QStringLiteral("0"));
    window->menu(QStringLiteral("ToMyCompany"))->trigger();
    EXPECT_TRUE(checked("ToMyCompany"));
    EXPECT_EQ(shown("tocompany"), QString());
    EXPECT_EQ(shown("tocontact"), QString());
}

// A company or contact entry gives its hint and brings up the contact companies window beside
// this one with its Open dialog; a window that was hidden starts with a new list.
TEST_F(Transactions, APartyEntryBringsUpTheContactWindowBesideThisOne)
{
    struct Case {
        const char* entry;
        bool contactsShown;
        const char* hint;
        testsupport::CheckedList<QString> calls;
    };
    const QString fromHint = QStringLiteral(
        "To transfer items from one Company, open that Company file, select Contact Name and then click 'Transfer "
        "From'. ");
    const QString toHint = QStringLiteral(
        "To transfer items to one Company, open that Company file, select Contact Name and then click 'Transfer "
        "To'. ");
    const Case cases[] = {
        {"fromcompany", false, "from", {"show", "new", "dock", "open"}},
        {"fromcontact", true, "from", {"dock", "open"}},
        {"tocompany", true, "to", {"dock", "open"}},
        {"tocontact", false, "to", {"show", "new", "dock", "open"}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.entry);
        contacts.calls.clear();
        contacts.visible = c.contactsShown;
        window->move(200, 150);
        prompts.script().clear();
        prompts->queueAnswer(Answer::OK);
        window->menu(QString::fromLatin1(c.entry))->trigger();
        ASSERT_EQ(prompts->recorded().size(), 1);
        EXPECT_EQ(prompts->recorded().first().text, QString::fromLatin1(c.hint) == "from" ? fromHint : toHint);
        EXPECT_EQ(prompts->recorded().first().style, 64);
        EXPECT_EQ(contacts.calls, c.calls);
        EXPECT_EQ(window->pos(), QPoint(348, 0)); // at the docked window's right edge
        EXPECT_FALSE(checked(c.entry));
    }
}

// New keeps the parties and the value posted for the transaction left, and starts the number,
// the value and the payments afresh.
TEST_F(Transactions, NewAfterAPartlyPaidTransaction)
{
    const QString bank = company(QStringLiteral("Bank.QVC"), {{"Ana", "0"}});
    const QString path = transaction(QStringLiteral("17.QVT"));
    TransactionHeader h = headerToContact(QStringLiteral("17"), QStringLiteral("30"), bank);
    h.AmountPaid.Caption = QStringLiteral("10");
    h.Balance.Caption = QStringLiteral("20");
    writeTransaction(path, h);
    openThroughDialog(path);
    ASSERT_EQ(shown("AmountPaid"), QStringLiteral("10"));
    program.store.InvoiceNumber = QStringLiteral("044");
    window->cmdNew_Click();
    EXPECT_EQ(window->header().TransactionNumber.Caption, QStringLiteral("044"));
    EXPECT_EQ(shown("Value"), QStringLiteral("0"));
    EXPECT_EQ(shown("AmountPaid"), QString());
    EXPECT_EQ(shown("Balance"), QString());
    EXPECT_EQ(shown("tocontact"), QStringLiteral("Ana"));
    EXPECT_EQ(window->header().oldvalue.Caption, QStringLiteral("30"));
    EXPECT_EQ(window->List1().ColumnCount(), 4);
    EXPECT_EQ(window->List1().ListCount(), 30);
    EXPECT_EQ(window->windowTitle(), QStringLiteral("Transaction [ Unsaved ]"));
}

// Open reads the line items and the header file beside them; the value posted so far is the
// value read.
TEST_F(Transactions, OpenReadsTheHeaderFile)
{
    const QString bank = company(QStringLiteral("Bank.QVC"), {{"Ana", "0"}});
    const QString path = transaction(QStringLiteral("17.QVT"));
    TransactionHeader h = headerToContact(QStringLiteral("17"), QStringLiteral("30"), bank);
    h.AmountPaid.Caption = QStringLiteral("5");
    h.Balance.Caption = QStringLiteral("25");
    writeTransaction(path, h);
    openThroughDialog(path);
    h.oldvalue.Caption = QStringLiteral("30");
    EXPECT_EQ(window->header(), h);
    EXPECT_EQ(shown("tocompany"), bank);
    EXPECT_TRUE(checked("tocompany"));
    EXPECT_EQ(shown("Balance"), QStringLiteral("25"));
    EXPECT_EQ(window->windowTitle(), QStringLiteral("Transaction [ 17.QVT ]"));
    EXPECT_EQ(window->List1().GetItem(2, 4), QStringLiteral("20"));
    EXPECT_TRUE(window->button(QStringLiteral("cmdSave"))->isEnabled());
    for (int c = 1; c <= 4; ++c)
        EXPECT_TRUE(window->List1().core().isEditEnabled(c)) << c;
}

// A transaction whose header file is missing or cannot be read opens read-only with the
// message, and shows none of the header of the transaction open before: nothing of that
// one can be posted with it.
TEST_F(Transactions, WithoutItsHeaderFileATransactionOpensReadOnlyWithAFreshHeader)
{
    const QString bank = company(QStringLiteral("Bank.QVC"), {{"Ana", "0"}});
    const QString before = transaction(QStringLiteral("17.QVT"));
    writeTransaction(before, headerToContact(QStringLiteral("17"), QStringLiteral("30"), bank));
    struct Case {
        const char* name;
        QByteArray header; // "" for none
        QString message;
    };
    const QString damaged = transaction(QStringLiteral("Damaged.QVT"));
    const Case cases[] = {
        {"missing", QByteArray(), QStringLiteral("File Don't Exist!")},
        {"not a header", QByteArray("no number here\r\nx"),
         QStringLiteral("The transaction header file \"") + damaged + QStringLiteral("H\" could not be read; it was left as it is.")},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        openWindow();
        openThroughDialog(before);
        ASSERT_EQ(window->header().oldvalue.Caption, QStringLiteral("30"));
        QFile::remove(damaged + QStringLiteral("H"));
        QFile lines(damaged);
        ASSERT_TRUE(lines.open(QIODevice::WriteOnly | QIODevice::Truncate));
        lines.write(postingtest::lineItemBytes(damaged, 3));
        lines.close();
        if (!c.header.isEmpty()) {
            QFile header(damaged + QStringLiteral("H"));
            ASSERT_TRUE(header.open(QIODevice::WriteOnly));
            header.write(c.header);
        }
        prompts.script().clear();
        prompts->queueAnswer(Answer::OK);
        openThroughDialog(damaged);
        EXPECT_EQ(prompts->recorded().last().text, c.message);
        EXPECT_EQ(prompts->recorded().last().style, 16);
        EXPECT_EQ(prompts->recorded().last().title, QStringLiteral("Transaction Header File"));
        EXPECT_EQ(window->windowTitle(), QStringLiteral("Transaction READ-ONLY [Damaged.QVT ]"));
        EXPECT_FALSE(window->button(QStringLiteral("cmdSave"))->isEnabled());
        EXPECT_EQ(window->List1().GetItem(3, 4), QStringLiteral("30"));
        EXPECT_EQ(shown("Value"), QStringLiteral("60"));
        EXPECT_EQ(window->header().oldvalue.Caption, QString());
        EXPECT_EQ(shown("tocompany"), QString());
        EXPECT_EQ(shown("tocontact"), QString());
        EXPECT_FALSE(checked("tocompany"));
        EXPECT_TRUE(checked("FromMyCompany"));
        EXPECT_EQ(shown("TransactionNumber"), QStringLiteral("0"));
    }
}

// The transactions folder is what Open looks for on the network, not the item groups' one.
TEST_F(Transactions, OpenInNetworkModeTestsTheTransactionsFolder)
{
    QTemporaryDir shared;
    const QString sharedTransactions = shared.path() + QStringLiteral("/QVNET/RAzar/Transactions/");
    QDir().mkpath(sharedTransactions);
    program.beHost(shared.path());
    openWindow();
    const QString path = sharedTransactions + QStringLiteral("17.QVT");
    writeTransaction(path, headerToContact(QStringLiteral("17"), QStringLiteral("30"), QStringLiteral("x")));
    openThroughDialog(path); // no Items folder on the share: nothing is said
    EXPECT_EQ(window->windowTitle(), QStringLiteral("Transaction [ 17.QVT ]"));
    EXPECT_EQ(prompts->texts(), QStringList{QString()}); // the dialog alone

    ASSERT_TRUE(QDir(sharedTransactions).removeRecursively());
    QDir().mkpath(shared.path() + QStringLiteral("/QVNET/RAzar/Items/"));
    prompts.script().clear();
    prompts->queueAnswer(Answer::OK);
    window->cmdOpen_Click();
    EXPECT_EQ(prompts->texts(), QStringList{"Network connection error. Can't find Network Transactions Directory."});
}

// A network user whose host lets users only read is turned away at Open before any question,
// and the changed transaction stays as it was.
TEST_F(Transactions, ANetworkUserIsRefusedBeforeTheQuestion)
{
    QTemporaryDir shared;
    QDir().mkpath(shared.path() + QStringLiteral("/QVNET/RAzar/Transactions/"));
    program.beUser(shared.path(), false);
    openWindow();
    setLine(1, QStringLiteral("Oak board"), QStringLiteral("24.5"), QStringLiteral("2"), QStringLiteral("49"));
    prompts->queueAnswer(Answer::OK);
    window->cmdOpen_Click();
    EXPECT_EQ(prompts->texts(),
              QStringList{"Network users are not allowed to edit files. Contact your network host for assistance. "});
    EXPECT_EQ(prompts->recorded().last().style, 16);
    EXPECT_EQ(window->lblChangeStatus(), QStringLiteral("1"));
    EXPECT_EQ(window->List1().GetItem(1, 1), QStringLiteral("Oak board"));
}

// A recent entry reopens the transaction with its header; one whose header has gone opens
// read-only without the header shown before.
TEST_F(Transactions, ARecentEntryReadsTheHeaderToo)
{
    const QString bank = company(QStringLiteral("Bank.QVC"), {{"Ana", "0"}});
    const QString first = transaction(QStringLiteral("17.QVT"));
    const QString second = transaction(QStringLiteral("18.QVT"));
    writeTransaction(first, headerToContact(QStringLiteral("17"), QStringLiteral("30"), bank));
    writeTransaction(second, headerToContact(QStringLiteral("18"), QStringLiteral("30"), bank, QStringLiteral("Bor")));
    openThroughDialog(first);
    openThroughDialog(second);
    window->file_Click(1);
    EXPECT_EQ(window->windowTitle(), QStringLiteral("Transaction [ 17.QVT ]"));
    EXPECT_EQ(shown("TransactionNumber"), QStringLiteral("17"));
    EXPECT_EQ(shown("tocontact"), QStringLiteral("Ana"));

    ASSERT_TRUE(QFile::remove(second + QStringLiteral("H")));
    prompts->queueAnswer(Answer::OK);
    window->file_Click(2);
    EXPECT_EQ(prompts->recorded().last().text, QStringLiteral("File Don't Exist!"));
    EXPECT_EQ(window->windowTitle(), QStringLiteral("Transaction READ-ONLY [18.QVT ]"));
    EXPECT_EQ(shown("tocontact"), QString());
    EXPECT_EQ(window->header().oldvalue.Caption, QString());
}

// Value is the sum of the line totals the grid shows, whatever changed the lines; totals that
// are empty or not numbers add nothing.
TEST_F(Transactions, ValueIsTheSumOfTheLineTotals)
{
    grid::DocumentList& list = window->List1();
    const struct {
        const char* name;
        std::function<void()> change;
        const char* value;
    } steps[] = {
        {"a line", [&] { setLine(1, "Oak board", "24.5", "2", "49"); }, "49"},
        {"another line", [&] { setLine(2, "Glue", "9.9", "1", "9.9"); }, "58.9"},
        {"a total that is not a number", [&] { setLine(3, "Note", "", "", "n/a"); }, "58.9"},
        {"decimal fractions", [&] { for (int r = 4; r <= 13; ++r) setLine(r, "Dowel", "0.1", "1", "0.1"); }, "59.9"},
        {"a line removed", [&] { list.RemoveItem(1); }, "10.9"},
        {"a total emptied", [&] { list.ChangeItem(1, 4, QString()); }, "1"},
    };
    for (const auto& step : steps) {
        SCOPED_TRACE(step.name);
        step.change();
        emit list.GridKeyDown(13, 0, 1, 5);
        EXPECT_EQ(shown("Value"), step.value);
        EXPECT_EQ(window->header().Value.Caption, step.value);
    }
    // A change no command told the window about shows once the header menu opens.
    list.ChangeItem(2, 4, QStringLiteral("5"));
    emit window->menu(QStringLiteral("header"))->menu()->aboutToShow();
    EXPECT_EQ(shown("Value"), QStringLiteral("6"));
}

// Tab and Shift+Tab in a column of the user's own go to the next cell that takes typing. The
// item columns 1 to 4 answer every key with the transfer hint, so they are passed over, and
// what is typed after the Tab lands in a cell instead of nowhere.
TEST_F(Transactions, TabPassesOverTheItemColumns)
{
    const QString path = transaction(QStringLiteral("17.QVT"));
    writeTransaction(path, headerToContact(QStringLiteral("17"), QStringLiteral("30"), QStringLiteral("x")));
    openThroughDialog(path);
    window->activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(window.get()));
    prompts.script().clear();
    prompts->queueInput(QStringLiteral("Note"));
    window->menu(QStringLiteral("AddColumn"))->trigger();
    grid::DocumentList& list = window->List1();
    const int note = list.ColumnCount();
    ASSERT_EQ(list.GetColumnHeader(note), QStringLiteral("Note"));
    ASSERT_EQ(note, 5);
    ASSERT_GE(list.ListCount(), 2);
    // The user types into whatever holds the keyboard.
    const auto type = [](const char* text) { QTest::keyClicks(QApplication::focusWidget(), QString::fromLatin1(text)); };
    const auto press = [](Qt::Key key, Qt::KeyboardModifiers modifiers = Qt::NoModifier) {
        QTest::keyClick(QApplication::focusWidget(), key, modifiers);
    };
    prompts.script().clear();

    list.SelectItem(1, 1, note);
    type("rush");
    press(Qt::Key_Tab);
    type("ok");
    EXPECT_EQ(list.GetItem(1, note), QStringLiteral("rush"));
    EXPECT_EQ(list.GetItem(2, note), QStringLiteral("ok"));
    EXPECT_EQ(list.iSelected(), 2);
    EXPECT_EQ(list.EditColumn(), note);

    list.SelectItem(2, 1, note);
    type("x");
    press(Qt::Key_Backtab, Qt::ShiftModifier);
    type("y");
    EXPECT_EQ(list.GetItem(2, note), QStringLiteral("x"));
    EXPECT_EQ(list.GetItem(1, note), QStringLiteral("y"));
    EXPECT_EQ(list.iSelected(), 1);
    EXPECT_EQ(list.EditColumn(), note);

    EXPECT_TRUE(prompts->recorded().isEmpty()) << prompts->texts().join(QStringLiteral(" | ")).toStdString();
    for (int r = 1; r <= 2; ++r)
        EXPECT_EQ(list.GetItem(r, 1), QStringLiteral("Item %1").arg(r));
}

// A column the user adds takes typing however the transaction came to the window: new with
// nothing loaded, after File > New, and right after its first Save, as well as opened from its
// file. The user clicks the cell, types, presses Tab and types on; the text bar shows the cell.
TEST_F(Transactions, AnAddedColumnTakesTypingInEveryNewTransaction)
{
    const QString bank = company(QStringLiteral("Bank.QVC"), {{"Ana", "0"}});
    const QString saved = transaction(QStringLiteral("17.QVT"));
    writeTransaction(saved, headerToContact(QStringLiteral("17"), QStringLiteral("30"), bank));
    window.reset(); // each case makes its own
    struct Case {
        const char* name;
        std::function<void()> start;
        const char* caption;
    };
    const Case cases[] = {
        {"nothing loaded", [] {}, "Transaction [ Unsaved ]"},
        {"File > New after an opened transaction",
         [&] {
             openThroughDialog(saved);
             window->menu(QStringLiteral("new"))->trigger();
         },
         "Transaction [ Unsaved ]"},
        {"right after its first Save",
         [&] {
             openThroughDialog(saved);
             window->menu(QStringLiteral("new"))->trigger(); // the parties stay
             setLine(1, QStringLiteral("Desk"), QStringLiteral("250"), QStringLiteral("1"), QStringLiteral("250"));
             prompts->queueSave(transaction(QStringLiteral("42.QVT")));
             prompts->queueAnswer(Answer::OK); // "Transaction Saved"
             ASSERT_TRUE(window->cmdSave_Click());
         },
         "Transaction [ 42.QVT ]"},
        {"opened from its file", [&] { openThroughDialog(saved); }, "Transaction [ 17.QVT ]"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        openWindow();
        window->activateWindow();
        ASSERT_TRUE(QTest::qWaitForWindowActive(window.get()));
        c.start();
        ASSERT_EQ(window->windowTitle(), QString::fromLatin1(c.caption));
        prompts.script().clear();
        prompts->queueInput(QStringLiteral("Note"));
        window->menu(QStringLiteral("AddColumn"))->trigger();
        prompts.script().clear();
        grid::DocumentList& list = window->List1();
        const int note = list.ColumnCount();
        ASSERT_EQ(note, 5);
        ASSERT_EQ(list.GetColumnHeader(note), QStringLiteral("Note"));

        // The window is made wide enough to show the Note column (the first Save docks the
        // contact window beside this one and narrows it); then a click in the middle of row
        // 1's Note cell, on whatever lies there.
        window->resize(900, window->height());
        const QPoint at(int(list.columnLeftOnGrid(note)) + list.GetWidthColumn(note) / 2,
                        list.headerHeight() + grid::GridCore::RowHeight / 2 + list.ScrollTop());
        ASSERT_TRUE(list.rect().contains(at));
        QWidget* target = list.childAt(at) ? list.childAt(at) : &list;
        QTest::mouseClick(target, Qt::LeftButton, {}, target->mapFrom(&list, at));
        ASSERT_EQ(list.iSelected(), 1);
        QTest::keyClicks(QApplication::focusWidget(), QStringLiteral("rush"));
        EXPECT_EQ(window->TextText()->text(), QStringLiteral("rush"));
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
        QTest::keyClicks(QApplication::focusWidget(), QStringLiteral("ok"));

        EXPECT_EQ(list.GetItem(1, note), QStringLiteral("rush"));
        EXPECT_EQ(list.GetItem(2, note), QStringLiteral("ok"));
        EXPECT_EQ(list.iSelected(), 2);
        EXPECT_EQ(window->TextText()->text(), QStringLiteral("ok"));
        EXPECT_EQ(window->lblChangeStatus(), QStringLiteral("1"));
        EXPECT_TRUE(prompts->recorded().isEmpty()) << prompts->texts().join(QStringLiteral(" | ")).toStdString();

        // The window goes without a question, for the next case.
        window->setlblChangeStatus(QStringLiteral("0"));
        window.reset();
        prompts.script().clear();
    }
}

// A payment is entered against the transaction as its files hold it.
TEST_F(Transactions, EnterPaymentNeedsASavedUnchangedTransaction)
{
    const QString path = transaction(QStringLiteral("17.QVT"));
    writeTransaction(path, headerToContact(QStringLiteral("17"), QStringLiteral("30"), QStringLiteral("x")));
    const QString noFile = QStringLiteral("Save this transaction before you enter a payment for it.");
    const QString changed =
        QStringLiteral("This transaction has changes that are not saved. Save it before you enter a payment for it.");
    struct Case {
        const char* name;
        std::function<void()> before;
        QString refusal; // "" when the payment starts
    };
    const Case cases[] = {
        {"a new transaction", [] {}, noFile},
        {"a saved one", [&] { openThroughDialog(path); }, QString()},
        {"a saved one changed", [&] {
             openThroughDialog(path);
             setLine(3, "Glue", "9.9", "1", "9.9");
         }, changed},
        {"New after a saved one", [&] {
             openThroughDialog(path);
             window->cmdNew_Click();
         }, noFile},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        openWindow();
        c.before();
        payments.started.clear();
        prompts.script().clear();
        if (!c.refusal.isEmpty())
            prompts->queueAnswer(Answer::OK);
        window->menu(QStringLiteral("enterPayment"))->trigger();
        if (c.refusal.isEmpty()) {
            EXPECT_EQ(payments.started, QStringList{path});
            EXPECT_TRUE(prompts->recorded().isEmpty());
        } else {
            EXPECT_TRUE(payments.started.isEmpty());
            EXPECT_EQ(prompts->texts(), QStringList{c.refusal});
            EXPECT_EQ(prompts->recorded().last().style, 16);
        }
    }
}

// Add Items offers the item groups window: No leaves everything as it was; Yes brings it up
// with a new group beside this window and starts its Open dialog, also when it was shown.
TEST_F(Transactions, AddItemsOffersTheItemGroupsWindow)
{
    const QString question = QStringLiteral(
        "To transfer item, open items group file, select the item and click 'Transfer Item' button (or Enter key). "
        "Open items group now? ");
    for (const bool shownBefore : {false, true}) {
        SCOPED_TRACE(shownBefore ? "shown" : "hidden");
        items.calls.clear();
        items.visible = shownBefore;
        window->move(200, 150);
        prompts.script().clear();
        prompts->queueAnswer(Answer::No);
        window->menu(QStringLiteral("additem"))->trigger();
        EXPECT_EQ(prompts->recorded().last().text, question);
        EXPECT_EQ(prompts->recorded().last().style, 4);
        EXPECT_EQ(prompts->recorded().last().title, QStringLiteral("Quorvane"));
        EXPECT_TRUE(items.calls.isEmpty());
        EXPECT_EQ(window->pos(), QPoint(200, 150));

        prompts->queueAnswer(Answer::Yes);
        window->menu(QStringLiteral("additem"))->trigger();
        EXPECT_EQ(items.calls, (QStringList{"show", "new", "dock", "open"}));
        EXPECT_EQ(window->pos(), QPoint(348, 0));
    }
}

} // namespace
} // namespace transactiontest
