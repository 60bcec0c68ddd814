// The transactions window's spreadsheet commands, with a recording spreadsheet program: the
// transaction form shown, printed in the number of copies asked, refused while the
// spreadsheet program is unusable, never printed by a show that follows a print; and lines
// imported from a workbook.

#include "transactionfixture.h"

#include "exchangefakes.h"
#include "support/recordingspreadsheet.h"

namespace transactiontest {
namespace {

class TransactionForm : public TransactionWindow {
protected:
    void SetUp() override
    {
        formSettings.chosenForm = folder.writeFile(QStringLiteral("forms/Invoice.xls"), "form");
        sound = folder.writeFile(QStringLiteral("System/Sound/2.wav"), "RIFF");
        openWindow();
        setLine(1, "Oak board", "2.5", "2", "5");
        window->setlblChangeStatus(QStringLiteral("0"));
        prompts.script().clear();
    }
    windows::TransactionPartners partners() override
    {
        windows::TransactionPartners p = TransactionWindow::partners();
        p.formSettings = &formSettings;
        return p;
    }
    bool printed() { return excel->calls.join(' ').contains(QStringLiteral("print")); }

    FakeFormSettings formSettings;
    testsupport::ScopedRecordingSpreadsheet excel;
    QString sound;
};

TEST_F(TransactionForm, TheFormIsShownWithTheTransactionFilledIn)
{
    window->menu(QStringLiteral("exportform"))->trigger();
    EXPECT_TRUE(excel->calls.contains(QStringLiteral("show")));
    EXPECT_FALSE(printed());
    // At the form's addresses: the company, the header, the sender, and the line.
    const QHash<QString, QString>& cells = excel->shownCells;
    EXPECT_EQ(cells.value(QStringLiteral("B1")), QStringLiteral("Own Co"));
    EXPECT_EQ(cells.value(QStringLiteral("B11")), QStringLiteral("41"));
    EXPECT_EQ(cells.value(QStringLiteral("E11")), window->header().DateandTime.Caption);
    EXPECT_EQ(cells.value(QStringLiteral("I11")), QStringLiteral("5"));
    EXPECT_EQ(cells.value(QStringLiteral("D14")), QStringLiteral("Firma"));
    EXPECT_TRUE(cells.values().contains(QStringLiteral("Oak board")));
    EXPECT_EQ(program.sounds.first(), sound);
    EXPECT_TRUE(prompts->recorded().isEmpty());
}

// The copies asked decide the print: 1 to 100 print, anything else prints nothing, each with
// its message; after any of them the next show only shows.
TEST_F(TransactionForm, ThePrintAsksForTheCopies)
{
    const struct {
        const char* typed;
        QString printCall;  // "" when nothing is printed
        QString message;    // shown after the prompt, "" for none
    } cases[] = {
        {"2", QStringLiteral("print 2"), QString()},
        {"100", QStringLiteral("print 100"), QString()},
        {"101", QString(), QStringLiteral("Up to 100 pages!")},
        {"two", QString(), QStringLiteral("YOU CAN ENTER ONLY NUMBERS!")},
        {"", QString(), QString()},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.typed);
        excel->calls.clear();
        prompts.script().clear();
        prompts->queueInput(QString::fromLatin1(c.typed));
        if (!c.message.isEmpty())
            prompts->queueAnswer(Answer::OK);
        window->button(QStringLiteral("cmdPrintOptions"))->click();
        QStringList expected{QStringLiteral("Enter number of copies to print:")};
        if (!c.message.isEmpty())
            expected << c.message;
        EXPECT_EQ(prompts->texts(), expected);
        if (c.printCall.isEmpty())
            EXPECT_FALSE(printed());
        else
            EXPECT_TRUE(excel->calls.contains(c.printCall)) << excel->calls.join(", ").toStdString();
        EXPECT_TRUE(window->List1().toolTip().isEmpty());

        excel->calls.clear();
        window->menu(QStringLiteral("exportform"))->trigger();
        EXPECT_TRUE(excel->calls.contains(QStringLiteral("show")));
        EXPECT_FALSE(printed());
    }
}

TEST_F(TransactionForm, BothRefuseWhileTheSpreadsheetProgramIsUnusable)
{
    program.store.lblEXCELSTATUS = QStringLiteral("NERADI");
    for (const char* command : {"exportform", "printexcel"}) {
        SCOPED_TRACE(command);
        prompts.script().clear();
        prompts->queueAnswer(Answer::OK);
        window->menu(QString::fromLatin1(command))->trigger();
        EXPECT_EQ(prompts->texts(), QStringList{"Quorvane failed to initialize Microsoft Excel"});
        EXPECT_TRUE(excel->calls.isEmpty());
    }
}

} // namespace
} // namespace transactiontest

namespace transactiontest {
namespace {

// Lines imported from a workbook are the transaction's lines: the header's value is their sum
// at once, before anything is saved.
TEST_F(TransactionForm, ImportedLinesMakeTheValue)
{
    const QString workbook = folder.writeFile(QStringLiteral("Lines.xls"), "workbook bytes");
    excel->workbooks[workbook] = {{QStringLiteral("A1"), QStringLiteral("Oak board")},
                                  {QStringLiteral("B1"), QStringLiteral("2.5")},
                                  {QStringLiteral("C1"), QStringLiteral("4")},
                                  {QStringLiteral("D1"), QStringLiteral("10")},
                                  {QStringLiteral("A2"), QStringLiteral("Hinge")},
                                  {QStringLiteral("B2"), QStringLiteral("1.25")},
                                  {QStringLiteral("C2"), QStringLiteral("2")},
                                  {QStringLiteral("D2"), QStringLiteral("2.5")}};
    prompts->queueOpen(workbook);
    prompts->queueInput(QStringLiteral("2"));
    window->menu(QStringLiteral("importfromexcel"))->trigger();
    EXPECT_EQ(window->List1().GetItem(2, 1), QStringLiteral("Hinge"));
    EXPECT_EQ(window->header().Value.Caption, QStringLiteral("12.5"));
    EXPECT_EQ(window->menu(QStringLiteral("Value"))->text(), QStringLiteral("12.5"));
    EXPECT_EQ(window->lblChangeStatus(), QStringLiteral("1"));
}

} // namespace
} // namespace transactiontest
