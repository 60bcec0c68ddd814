// Save and Save As of the transactions window: what the window asks and shows around the
// posting (the posting's own figures and refusals are tested with the posting service).

#include "transactionfixture.h"

#include "datafiles/fileprocedures.h"
#include "grid/documents/listfilescrambler.h"

namespace transactiontest {
namespace {

using postingtest::snapshot;

class Saving : public TransactionWindow {
protected:
    Saving()
    {
        bank = company(QStringLiteral("Bank.QVC"), {{"Ana", "7"}, {"Bor", "3"}});
        openWindow();
    }
    // A transaction saved before, from the own company to Ana, worth 30; open in the window.
    QString openSaved(const QString& name = QStringLiteral("17.QVT"))
    {
        const QString path = transaction(name);
        writeTransaction(path, headerToContact(QStringLiteral("17"), QStringLiteral("30"), bank));
        openThroughDialog(path);
        return path;
    }
    QString balance(int row) const { return cellOf(bank, row, 2); }
    QStringList recorded(testsupport::PromptKind kind)
    {
        QStringList out;
        for (const testsupport::RecordedPrompt& p : prompts->recorded())
            if (p.kind == kind)
                out << p.text;
        return out;
    }

    QString bank;
};

// The first save of a transaction asks for its name, proposing the next invoice number, and
// posts its whole value; later saves post what changed; an unchanged save moves nothing.
TEST_F(Saving, ANewTransactionIsSavedAsTheNextInvoiceThenSavedInPlace)
{
    openSaved();
    window->cmdNew_Click(); // the parties stay: from the own company to Ana
    setLine(1, QStringLiteral("Desk"), QStringLiteral("250"), QStringLiteral("1"), QStringLiteral("250"));
    prompts.script().clear();
    items.calls.clear();
    contacts.calls.clear();
    const QString path = transaction(QStringLiteral("42.QVT"));
    prompts->queueSave(path);
    prompts->queueAnswer(Answer::OK); // "Transaction Saved"
    ASSERT_TRUE(window->cmdSave_Click());

    const testsupport::RecordedPrompt dialog = prompts->recorded().first();
    ASSERT_EQ(dialog.kind, testsupport::PromptKind::ShowSave);
    EXPECT_EQ(dialog.dialog.FileName, QStringLiteral("42.QVT"));
    EXPECT_EQ(dialog.dialog.InitDir, transactionsFolder());
    EXPECT_EQ(dialog.dialog.DialogTitle, QStringLiteral("Save Transaction As:"));
    EXPECT_EQ(dialog.dialog.Filter, QStringLiteral("Transaction (*.QVT)|*.QVT|"));
    EXPECT_EQ(prompts->recorded().last().text, QStringLiteral("Transaction Saved"));
    EXPECT_EQ(prompts->recorded().last().style, 64);

    EXPECT_EQ(program.store.Balance.value(), QStringLiteral("750"));
    EXPECT_EQ(balance(1), QStringLiteral("257"));
    EXPECT_EQ(program.store.InvoiceNumber.value(), QStringLiteral("42"));
    EXPECT_EQ(headerLines(path).value(0), QStringLiteral("42"));
    EXPECT_EQ(cellOf(path, 1, 4), QStringLiteral("250"));
    EXPECT_EQ(shown("TransactionNumber"), QStringLiteral("42"));
    EXPECT_EQ(shown("DateandTime"), platform::vb::GeneralDate(clock.when()));
    EXPECT_EQ(window->header().oldvalue.Caption, QStringLiteral("250"));
    EXPECT_EQ(window->windowTitle(), QStringLiteral("Transaction [ 42.QVT ]"));
    EXPECT_EQ(window->lblChangeStatus(), QStringLiteral("0"));
    EXPECT_EQ(program.store.frmTransactionsfile2.Caption.value(), path);
    EXPECT_EQ(program.store.frmTransactionsfile2.ToolTipText.value(), QStringLiteral("42.QVT"));
    // The contact companies and item groups windows were closed first; the contact window
    // then shows the party's company file beside this one.
    EXPECT_EQ(contacts.calls, (QStringList{"close", "show", "dock", "show file " + bank}));
    EXPECT_EQ(items.calls, QStringList{"close"});
    EXPECT_EQ(window->pos(), QPoint(348, 0));

    // Changed from 250 to 300: the next save posts 50 more, in place.
    setLine(1, QStringLiteral("Desk"), QStringLiteral("300"), QStringLiteral("1"), QStringLiteral("300"));
    prompts.script().clear();
    prompts->queueAnswer(Answer::OK);
    ASSERT_TRUE(window->cmdSave_Click());
    EXPECT_TRUE(recorded(testsupport::PromptKind::ShowSave).isEmpty());
    EXPECT_EQ(program.store.Balance.value(), QStringLiteral("700"));
    EXPECT_EQ(balance(1), QStringLiteral("307"));
    EXPECT_EQ(program.store.InvoiceNumber.value(), QStringLiteral("42"));
    EXPECT_EQ(headerLines(path).value(2), QStringLiteral("300"));

    // Unchanged: nothing moves.
    prompts->queueAnswer(Answer::OK);
    ASSERT_TRUE(window->cmdSave_Click());
    EXPECT_EQ(program.store.Balance.value(), QStringLiteral("700"));
    EXPECT_EQ(balance(1), QStringLiteral("307"));
}

// A line holding a character the transaction's file cannot store (it would be written as
// "?") stops the save before anything is posted: the message names the cell and the
// character, and no balance, number or file changes. Changed, the line saves.
TEST_F(Saving, ACharacterTheFileCannotHoldStopsTheSaveBeforeAnythingIsPosted)
{
    const QString path = openSaved();
    const QByteArray before = windowtest::bytesOf(path);
    const QString balanceBefore = program.store.Balance.value();
    setLine(1, QString::fromUtf8("Smørrebrød"), QStringLiteral("300"), QStringLiteral("1"), QStringLiteral("300"));
    prompts.script().clear();
    prompts->queueAnswer(Answer::OK);
    EXPECT_FALSE(window->cmdSave_Click());
    ASSERT_EQ(prompts->texts().size(), 1);
    EXPECT_TRUE(prompts->texts().first().contains(
        QString::fromUtf8("the cell in row 1, column 1 (\"%1\") holds the character \"ø\" (U+00F8)")
            .arg(window->List1().GetColumnHeader(1))))
        << prompts->texts().first().toStdString();
    EXPECT_EQ(windowtest::bytesOf(path), before);
    EXPECT_EQ(program.store.Balance.value(), balanceBefore);
    EXPECT_EQ(balance(1), QStringLiteral("7"));
    EXPECT_EQ(window->lblChangeStatus(), QStringLiteral("1"));

    setLine(1, QString::fromUtf8("Smorrebrod €"), QStringLiteral("300"), QStringLiteral("1"), QStringLiteral("300"));
    prompts.script().clear();
    prompts->queueAnswer(Answer::OK); // "Transaction Saved"
    ASSERT_TRUE(window->cmdSave_Click());
    EXPECT_EQ(cellOf(path, 1, 1), QString::fromUtf8("Smorrebrod €"));
}

// A party's company file whose path holds a character the header file cannot store would be
// named there with "?", and the payments on the transaction could not find it: Save refuses
// before it asks for a name, naming the field and the character, and writes nothing. A path
// in Central European letters is stored as it is.
TEST_F(Saving, APartyTheHeaderFileCannotStoreRefusesTheSaveNamingFieldAndCharacter)
{
    using windows::PartySide;
    const struct {
        const char* name;
        PartySide side;
        const char* file; // in the contacts folder
        const char* contact;
        const char* told;
    } cases[] = {
        {"the receiver's company file", PartySide::To, "M\u00f8ller.QVC", "Ana",
         "the path of the To company's file holds the character \"\u00f8\" (U+00F8)"},
        {"the sender's company file", PartySide::From, "\u00d8stbank \U0001F600.QVC", "Ana",
         "the path of the From company's file holds the character \"\u00d8\" (U+00D8)"},
        {"the receiver's contact", PartySide::To, "Bank.QVC", "S\u00f8ren",
         "the To contact holds the character \"\u00f8\" (U+00F8)"},
    };
    setLine(1, QStringLiteral("Desk"), QStringLiteral("250"), QStringLiteral("1"), QStringLiteral("250"));
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        const QString file = company(QString::fromUtf8(c.file), {{"Ana", "7"}});
        if (c.side == PartySide::To)
            window->FromMyCompany_Click();
        else
            window->ToMyCompany_Click();
        window->takeContact(c.side, {file, QString::fromUtf8(c.contact), QStringLiteral("1")});
        const auto before = snapshot({folder.path()});
        prompts.script().clear();
        prompts->queueAnswer(Answer::OK);

        EXPECT_FALSE(window->cmdSave_Click());
        ASSERT_EQ(prompts->recorded().size(), 1) << prompts->texts().join('|').toStdString();
        EXPECT_EQ(prompts->recorded().first().text,
                  "The transaction was not saved: " + QString::fromUtf8(c.told)
                      + ", which the file cannot store (documents are kept in Central European text, Windows-1250). "
                        "Change it and save again.");
        EXPECT_EQ(prompts->recorded().first().style, 16);
        EXPECT_EQ(snapshot({folder.path()}), before);
        EXPECT_EQ(program.store.InvoiceNumber.value(), QStringLiteral("41"));
        EXPECT_EQ(program.store.Balance.value(), QStringLiteral("1000"));
        EXPECT_EQ(window->windowTitle(), QStringLiteral("Transaction [ Unsaved ]"));
        EXPECT_EQ(window->lblChangeStatus(), QStringLiteral("1"));
    }

    const QString sarka = QString::fromUtf8("\u0160\u00e1rka");
    const QString stored = company(QString::fromUtf8("\u010cebelarstvo \u017dagar.QVC"), {{sarka, "7"}});
    window->FromMyCompany_Click();
    window->takeContact(PartySide::To, {stored, sarka, QStringLiteral("1")});
    const QString path = transaction(QStringLiteral("42.QVT"));
    prompts.script().clear();
    prompts->queueSave(path);
    prompts->queueAnswer(Answer::OK); // "Transaction Saved"
    ASSERT_TRUE(window->cmdSave_Click()) << prompts->texts().join('|').toStdString();
    EXPECT_EQ(headerLines(path).value(11), stored);
    EXPECT_EQ(headerLines(path).value(13), sarka);
    EXPECT_EQ(cellOf(stored, 1, 2), QStringLiteral("257"));
}

// A transaction whose line file was cut short shows only the lines left, and a Save would post
// their smaller value as a change: it asks first. No posts and writes nothing; Yes posts the
// value as shown, and the file is whole again.
TEST_F(Saving, ACutLineFileIsNotPostedOverUnasked)
{
    const QString path = transaction(QStringLiteral("17.QVT"));
    writeTransaction(path, headerToContact(QStringLiteral("17"), QStringLiteral("30"), bank));
    const QByteArray text = grid::ListFileScrambler::applied(windowtest::bytesOf(path));
    const QByteArray cut = grid::ListFileScrambler::applied(text.left(text.indexOf("Item 2") + 4));
    windowtest::putFile(path, cut);
    prompts->queueAnswer(Answer::OK); // what is missing from it
    openThroughDialog(path);
    ASSERT_TRUE(prompts->texts().last().contains(QStringLiteral("It should hold 2 rows, and row 1 was found.")))
        << prompts->texts().last().toStdString();
    EXPECT_EQ(window->List1().GetItem(2, 1), QString());
    const QString own = program.store.Balance.value();

    setLine(1, QStringLiteral("Item one"), QStringLiteral("10"), QStringLiteral("1"), QStringLiteral("10"));
    prompts.script().clear();
    prompts->queueAnswer(Answer::No);
    EXPECT_FALSE(window->cmdSave_Click());
    EXPECT_EQ(prompts->texts().size(), 1);
    EXPECT_TRUE(prompts->texts().first().startsWith(QStringLiteral("The file \"") + path
                                                    + QStringLiteral("\" was incomplete when it was opened")));
    EXPECT_EQ(prompts->recorded().first().style, 292);
    EXPECT_EQ(windowtest::bytesOf(path), cut);
    EXPECT_EQ(balance(1), QStringLiteral("7"));
    EXPECT_EQ(program.store.Balance.value(), own);
    EXPECT_EQ(window->lblChangeStatus(), QStringLiteral("1"));

    prompts.script().clear();
    prompts->queueAnswer(Answer::Yes);
    prompts->queueAnswer(Answer::OK); // "Transaction Saved"
    ASSERT_TRUE(window->cmdSave_Click());
    EXPECT_EQ(balance(1), QStringLiteral("-13"));
    EXPECT_EQ(cellOf(path, 1, 1), QStringLiteral("Item one"));

    prompts.script().clear();
    setLine(1, QStringLiteral("Item 1"), QStringLiteral("10"), QStringLiteral("1"), QStringLiteral("10"));
    prompts->queueAnswer(Answer::OK); // "Transaction Saved", nothing asked before it
    ASSERT_TRUE(window->cmdSave_Click());
    EXPECT_EQ(prompts->texts(), QStringList{"Transaction Saved"});
}

TEST_F(Saving, EachContactPartyIsToldAndTheLastOneShown)
{
    const QString path = transaction(QStringLiteral("17.QVT"));
    TransactionHeader h = headerToContact(QStringLiteral("17"), QStringLiteral("30"), bank);
    fromBor(h, bank);
    writeTransaction(path, h, 3); // 60 now: 30 more than posted
    openThroughDialog(path);
    contacts.calls.clear();
    prompts.script().clear();
    prompts->queueAnswer(Answer::OK);
    prompts->queueAnswer(Answer::OK);
    ASSERT_TRUE(window->cmdSave_Click());
    EXPECT_EQ(prompts->texts(), (QStringList{"Transaction Saved", "Transaction Saved"}));
    EXPECT_EQ(balance(1), QStringLiteral("37"));
    EXPECT_EQ(balance(2), QStringLiteral("-27"));
    EXPECT_EQ(program.store.Balance.value(), QStringLiteral("1000"));
    EXPECT_EQ(contacts.calls.last(), QStringLiteral("show file ") + bank);
}

// What Save refuses before anything changes, with the window's follow-up to each.
TEST_F(Saving, RefusalsChangeNothingAndOfferTheWayOn)
{
    struct Case {
        const char* name;
        std::function<void(TransactionHeader&)> header;
        int lines;
        bool itemsShown;
        QString text;
        QList<Answer> followUp;      // answers after the message
        QStringList itemCalls, contactCalls, settingsCalls;
    };
    const Case cases[] = {
        {"no value, item groups hidden", [](auto&) {}, 0, false, "Can't transfer without value!", {Answer::No}, {}, {}, {}},
        {"no value, item groups shown", [](auto&) {}, 0, true, "Can't transfer without value!", {}, {}, {}, {}},
        {"the own company unnamed", [](auto& h) { h.FromMyCompany.Caption.clear(); }, 2, false,
         "Name your Company first!", {}, {}, {}, {"show"}},
        {"no sender", [](auto& h) { h.FromMyCompany.Checked = false; }, 2, false,
         "Select the Company and Contact this transfer is coming from!", {}, {}, {"show", "new", "dock", "open"}, {}},
        {"no receiver", [](auto& h) { h.tocontact = {}; }, 2, false,
         "Select the Company that this transfer is going to!", {}, {}, {"show", "new", "dock", "open"}, {}},
        {"the own company on both sides", [](auto& h) { h.ToMyCompany.Checked = true; }, 2, false,
         "Can't transfer from and to your company!", {}, {}, {}, {}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        const QString path = transaction(QStringLiteral("17.QVT"));
        TransactionHeader h = headerToContact(QStringLiteral("17"), QStringLiteral("30"), bank);
        c.header(h);
        writeTransaction(path, h, c.lines);
        program.store.CompanyName = h.FromMyCompany.Caption;
        openWindow();
        openThroughDialog(path);
        window->setlblChangeStatus(QStringLiteral("1"));
        items.visible = c.itemsShown;
        items.staysOpen = c.itemsShown;
        items.calls.clear();
        contacts.calls.clear();
        settings.calls.clear();
        const auto before = snapshot({folder.path()});
        prompts.script().clear();
        prompts->queueAnswer(Answer::OK);
        for (Answer a : c.followUp)
            prompts->queueAnswer(a);
        EXPECT_FALSE(window->cmdSave_Click());
        ASSERT_FALSE(prompts->recorded().isEmpty());
        EXPECT_EQ(prompts->recorded().first().text, c.text);
        EXPECT_EQ(prompts->recorded().first().style, 16);
        EXPECT_EQ(prompts->recorded().first().title, QStringLiteral("Transactions Header Menu"));
        EXPECT_EQ(prompts->recorded().size(), 1 + c.followUp.size());
        items.calls.removeAll(QStringLiteral("close"));
        contacts.calls.removeAll(QStringLiteral("close"));
        EXPECT_EQ(items.calls, c.itemCalls);
        EXPECT_EQ(contacts.calls, c.contactCalls);
        EXPECT_EQ(settings.calls.filter(QStringLiteral("show")), c.settingsCalls);
        EXPECT_EQ(snapshot({folder.path()}), before);
        EXPECT_EQ(window->lblChangeStatus(), QStringLiteral("1"));
        program.store.CompanyName = QStringLiteral("Firma");
    }
}

// The value is the sum of the line totals. One that needs more than the 15 significant digits
// it is written with is refused at Save, in place and as a new transaction, before any name
// is asked for or anything is written; a sum that fits is saved.
TEST_F(Saving, AValueNeedingMoreDigitsThanAreWrittenIsRefusedBeforeAnythingIsPosted)
{
    const struct {
        const char* name;
        const char* first;
        const char* second;
        bool asNew;
        const char* about;
    } cases[] = {
        {"a cent on ten trillion, in place", "10000000000000", "0.01", false, "10000000000000"},
        {"a cent on ten trillion, as a new transaction", "10000000000000", "0.01", true, "10000000000000"},
        {"an eighth of a cent", "1234567890123.45", "0.125", false, "1234567890123.58"},
        {"a thousandth on a hundred trillion", "0.001", "99999999999999.9", false, "99999999999999.9"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        openWindow();
        openSaved();
        if (c.asNew)
            window->cmdNew_Click();
        setLine(1, QStringLiteral("Desk"), QString::fromLatin1(c.first), QStringLiteral("1"), QString::fromLatin1(c.first));
        setLine(2, QStringLiteral("Pen"), QString::fromLatin1(c.second), QStringLiteral("1"), QString::fromLatin1(c.second));
        const auto before = snapshot({folder.path()});
        prompts.script().clear();
        prompts->queueAnswer(Answer::OK);
        EXPECT_FALSE(window->cmdSave_Click());
        ASSERT_EQ(prompts->recorded().size(), 1);
        EXPECT_EQ(prompts->recorded().first().text,
                  QStringLiteral("The value of this transaction (the sum of its line totals) would become about %1, with "
                                 "more digits than Quorvane writes an amount with (15 significant digits), so it could "
                                 "not be kept exactly. Therefore, this transaction will not be completed!")
                      .arg(QString::fromLatin1(c.about)));
        EXPECT_EQ(prompts->recorded().first().title, QStringLiteral("Transactions Header Menu"));
        EXPECT_EQ(prompts->recorded().first().style, 16);
        EXPECT_EQ(snapshot({folder.path()}), before);
        EXPECT_EQ(program.store.Balance.value(), QStringLiteral("1000"));
        EXPECT_EQ(window->lblChangeStatus(), QStringLiteral("1"));
    }

    // Fifteen digits are written exactly, and saved.
    setLine(1, QStringLiteral("Desk"), QStringLiteral("9999999999999.98"), QStringLiteral("1"),
            QStringLiteral("9999999999999.98"));
    setLine(2, QStringLiteral("Pen"), QStringLiteral("0.01"), QStringLiteral("1"), QStringLiteral("0.01"));
    prompts.script().clear();
    prompts->queueAnswer(Answer::OK); // "Transaction Saved"
    ASSERT_TRUE(window->cmdSave_Click());
    EXPECT_EQ(headerLines(transaction(QStringLiteral("17.QVT"))).value(2), QStringLiteral("9999999999999.99"));
    EXPECT_EQ(program.store.Balance.value(), QStringLiteral("-9999999998969.99"));
}

// Save As never writes over a transaction that exists; Cancel writes nothing. Either way the
// window keeps the transaction's path and caption, and the invoice number stays.
TEST_F(Saving, SaveAsWritesNothingOverAnExistingTransaction)
{
    const QString path = openSaved();
    const QString taken = transaction(QStringLiteral("42.QVT"));
    writeTransaction(taken, headerToContact(QStringLiteral("42"), QStringLiteral("30"), bank));
    setLine(3, QStringLiteral("Glue"), QStringLiteral("9.9"), QStringLiteral("1"), QStringLiteral("9.9"));
    const auto before = snapshot({folder.path()});
    prompts.script().clear();
    prompts->queueSave(taken);
    prompts->queueAnswer(Answer::OK);
    EXPECT_FALSE(window->saveas_Click());
    EXPECT_EQ(prompts->recorded().last().text,
              QStringLiteral("Transaction ") + taken + QStringLiteral(" already exist. Save it under another name."));
    prompts->queueSaveCancel();
    EXPECT_FALSE(window->saveas_Click());
    EXPECT_EQ(snapshot({folder.path()}), before);
    EXPECT_EQ(program.CommonDialog3.FileName, path);
    EXPECT_EQ(program.CommonDialog3.FileTitle, QStringLiteral("17.QVT"));
    EXPECT_EQ(window->windowTitle(), QStringLiteral("Transaction [ 17.QVT ]"));
    EXPECT_EQ(window->lblChangeStatus(), QStringLiteral("1"));
    EXPECT_EQ(program.store.InvoiceNumber.value(), QStringLiteral("41"));
}

// Save As posts the whole value as a new invoice, also for a transaction posted before, and
// asks about a path outside the transactions folder.
TEST_F(Saving, SaveAsPostsTheWholeValueUnderTheNextNumber)
{
    const QString path = openSaved();
    setLine(3, QStringLiteral("Chair"), QStringLiteral("120"), QStringLiteral("1"), QStringLiteral("120")); // 150
    QTemporaryDir elsewhere;
    prompts.script().clear();
    prompts->queueSave(elsewhere.path() + QStringLiteral("/Copy"));
    prompts->queueAnswer(Answer::Yes); // into the transactions folder
    prompts->queueAnswer(Answer::OK);  // "Transaction Saved"
    ASSERT_TRUE(window->saveas_Click());
    EXPECT_EQ(prompts->recorded()[1].title, QStringLiteral("Attention!"));
    EXPECT_TRUE(prompts->recorded()[1].text.startsWith(
        QStringLiteral("Saving transaction files outside of the designed directory")));
    const QString copy = transaction(QStringLiteral("Copy.QVT"));
    EXPECT_EQ(program.CommonDialog3.FileName, copy);
    EXPECT_EQ(window->windowTitle(), QStringLiteral("Transaction [ Copy.QVT ]"));
    EXPECT_EQ(program.store.Balance.value(), QStringLiteral("850"));
    EXPECT_EQ(balance(1), QStringLiteral("157"));
    EXPECT_EQ(headerLines(copy).value(0), QStringLiteral("42"));
    EXPECT_EQ(headerLines(path).value(0), QStringLiteral("17")); // the one opened stays as it was
    EXPECT_FALSE(QFile::exists(elsewhere.path() + QStringLiteral("/Copy.QVT")));
}

// A transaction opened from its file is saved to that file, posting only what changed: also
// when it was reopened from the recent files before any dialog gave it a title, and when its
// file has gone since it was opened. The caption and the recent entry name that file.
TEST_F(Saving, AnOpenedTransactionIsNeverPostedInFullAgain)
{
    const QString first = transaction(QStringLiteral("17.QVT"));
    const QString second = transaction(QStringLiteral("18.QVT"));
    writeTransaction(first, headerToContact(QStringLiteral("17"), QStringLiteral("30"), bank));
    writeTransaction(second, headerToContact(QStringLiteral("18"), QStringLiteral("30"), bank));
    struct Case {
        const char* name;
        std::function<void()> open;
        QString saved;
    };
    const Case cases[] = {
        {"reopened in a new run", [&] {
             program.store.frmTransactionsfile1.Caption = first;
             program.store.frmTransactionsfile1.ToolTipText = QStringLiteral("17.QVT");
             program.CommonDialog3 = {};
             openWindow();
             window->file_Click(1);
         }, first},
        {"reopened while another was open", [&] {
             openThroughDialog(second);
             openThroughDialog(first);
             window->file_Click(2); // the dialog's title still names 17.QVT
         }, second},
        {"its file deleted since", [&] {
             openThroughDialog(first);
             QFile::remove(first);
             QFile::remove(first + QStringLiteral("H"));
         }, first},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        openWindow();
        c.open();
        const QString ana = balance(1);
        const QString own = program.store.Balance.value();
        setLine(3, QStringLiteral("Glue"), QStringLiteral("10"), QStringLiteral("1"), QStringLiteral("10"));
        prompts.script().clear();
        prompts->queueAnswer(Answer::OK);
        ASSERT_TRUE(window->cmdSave_Click());
        EXPECT_TRUE(recorded(testsupport::PromptKind::ShowSave).isEmpty());
        EXPECT_EQ(balance(1).toInt(), ana.toInt() + 10);
        EXPECT_EQ(program.store.Balance.value().toInt(), own.toInt() - 10);
        EXPECT_EQ(program.store.InvoiceNumber.value(), QStringLiteral("41"));
        EXPECT_EQ(cellOf(c.saved, 3, 4), QStringLiteral("10"));
        const QString title = datafiles::GetFileNameOnly(c.saved);
        EXPECT_EQ(window->windowTitle(), QStringLiteral("Transaction [ ") + title + QStringLiteral(" ]"));
        EXPECT_EQ(program.CommonDialog3.FileTitle, title);
        writeTransaction(c.saved, headerToContact(title.left(2), QStringLiteral("30"), bank));
    }
}

// The value of a saved transaction stays with the parties it was posted to: Save, which posts
// only the change of the value, refuses to move it to other parties.
TEST_F(Saving, SaveDoesNotMoveAPostedValueToOtherParties)
{
    const QString path = transaction(QStringLiteral("17.QVT"));
    TransactionHeader h = headerToContact(QStringLiteral("17"), QStringLiteral("30"), bank);
    fromBor(h, bank);
    writeTransaction(path, h);
    openThroughDialog(path);
    window->menu(QStringLiteral("ToMyCompany"))->trigger(); // from Bor to the own company now
    const auto before = snapshot({folder.path()});
    prompts.script().clear();
    prompts->queueAnswer(Answer::OK);
    EXPECT_FALSE(window->cmdSave_Click());
    EXPECT_TRUE(prompts->recorded().last().text.startsWith(
        QStringLiteral("The parties of this transaction have changed since it was saved")));
    EXPECT_EQ(prompts->recorded().last().title, QStringLiteral("Transactions Header Menu"));
    EXPECT_EQ(snapshot({folder.path()}), before);

    // Save As makes it a new transaction of those parties; the old one stays posted to Ana.
    prompts->queueSave(transaction(QStringLiteral("42.QVT")));
    prompts->queueAnswer(Answer::OK);
    ASSERT_TRUE(window->saveas_Click());
    EXPECT_EQ(balance(2), QStringLiteral("-27"));
    EXPECT_EQ(program.store.Balance.value(), QStringLiteral("1030"));
    EXPECT_EQ(balance(1), QStringLiteral("7"));
}

// A payment entered meanwhile reached the header file, not this window: Save keeps it, and
// the window shows it afterwards.
TEST_F(Saving, SaveKeepsAPaymentEnteredMeanwhile)
{
    const QString path = openSaved();
    TransactionHeader paid = headerToContact(QStringLiteral("17"), QStringLiteral("30"), bank);
    paid.AmountPaid.Caption = QStringLiteral("12");
    paid.Balance.Caption = QStringLiteral("18");
    ASSERT_TRUE(datafiles::SaveTransactionHeader(path + QStringLiteral("H"), paid));
    setLine(3, QStringLiteral("Glue"), QStringLiteral("10"), QStringLiteral("1"), QStringLiteral("10"));
    prompts.script().clear();
    prompts->queueAnswer(Answer::OK);
    ASSERT_TRUE(window->cmdSave_Click());
    EXPECT_EQ(shown("AmountPaid"), QStringLiteral("12"));
    EXPECT_EQ(shown("Balance"), QStringLiteral("28"));
    EXPECT_EQ(headerLines(path).value(15), QStringLiteral("12"));
    EXPECT_EQ(headerLines(path).value(16), QStringLiteral("28"));
}

// "Save Changes?" answered Yes on closing posts the transaction through Save, and the window
// stays open.
TEST_F(Saving, YesOnClosingPostsAndKeepsTheWindow)
{
    openSaved();
    setLine(3, QStringLiteral("Glue"), QStringLiteral("10"), QStringLiteral("1"), QStringLiteral("10"));
    prompts.script().clear();
    prompts->queueAnswer(Answer::Yes);
    prompts->queueAnswer(Answer::OK); // "Transaction Saved"
    EXPECT_EQ(window->closeWindow(), windows::CloseOutcome::KeptSaved);
    EXPECT_EQ(prompts->recorded().first().text, QStringLiteral("Save Changes?"));
    EXPECT_TRUE(window->isVisible());
    EXPECT_EQ(balance(1), QStringLiteral("17"));
    EXPECT_EQ(window->lblChangeStatus(), QStringLiteral("0"));
}

} // namespace
} // namespace transactiontest
