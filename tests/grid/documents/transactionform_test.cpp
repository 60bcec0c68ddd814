// The transaction form: which form is filled in each network mode, what happens without one,
// which cell receives which value, the show and print paths and every way the command ends.

#include "exchangetest.h"
#include "grid/documents/transactionform.h"
#include "support/tempprogramfolder.h"

#include <gtest/gtest.h>

namespace {

const QString formPath = QStringLiteral("Template/Transaction/Transaction Form.xls");

class TransactionFormTest : public ExchangeTest {
protected:
    testsupport::TempProgramFolder folder;
    FakeFormSettings settings;
    FakeTransaction transaction;
    grid::TransactionForm form{grid, host, settings, transaction};

    QString singleDefault() { return folder.writeFile("System/RAzar/" + formPath, "form"); }
    QString chosenForm() { return folder.writeFile("forms/Our Form.xls", "form"); }

    // The transaction's line items: Item Name, Price, Quantity, Total and a fifth column
    // Notes; rows 1 and 3 hold text, row 2 none.
    void fillItems()
    {
        grid.SetColumnHeader(1, QStringLiteral("Item Name"));
        for (const char* caption : {"Price", "Quantity", "Total", "Notes"})
            grid.AddColumn(0, 60, QString::fromLatin1(caption));
        grid.resetRows(3);
        const QStringList first = {"Widget", "2.5", "4", "10", "blue"};
        for (int k = 1; k <= 5; ++k)
            grid.setCellText(1, k, first[k - 1]);
        grid.setCellText(3, 1, QStringLiteral("Bolt"));
        grid.setCellText(3, 4, QStringLiteral("1"));
    }
};

TEST_F(TransactionFormTest, TemplateLookupPerNetworkMode)
{
    enum class Chosen { None, Present, Missing };
    enum class Found { Nothing, Single, Host, User, Chosen };
    const struct {
        const char* name;
        char mode; // 's', 'h', 'u'
        bool singleFile, hostFile, userFile;
        Chosen chosen;
        Found found;
    } cases[] = {
        {"single, default present", 's', true, true, true, Chosen::None, Found::Single},
        {"single, default absent", 's', false, true, true, Chosen::None, Found::Nothing},
        {"single, chosen present over the default", 's', true, false, false, Chosen::Present, Found::Chosen},
        {"single, chosen missing though the default exists", 's', true, false, false, Chosen::Missing, Found::Nothing},
        {"single, chosen present, no default", 's', false, false, false, Chosen::Present, Found::Chosen},
        {"host, host default present", 'h', true, true, false, Chosen::None, Found::Host},
        {"host, only the single-machine default", 'h', true, false, true, Chosen::None, Found::Nothing},
        {"host, chosen missing", 'h', false, true, false, Chosen::Missing, Found::Nothing},
        {"user, connected host's default present", 'u', true, true, true, Chosen::None, Found::User},
        {"user, chosen present", 'u', false, false, true, Chosen::Present, Found::Chosen},
        {"user, default absent", 'u', true, true, false, Chosen::None, Found::Nothing},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        const testsupport::TempProgramFolder own; // the program folder for this case alone
        FakeFormSettings s;
        s.single = c.mode == 's';
        s.host = c.mode == 'h';
        s.user = c.mode == 'u';
        s.myHostSystem = own.path() + "/host/";
        s.connectedHost = own.path() + "/connected/";
        const auto make = [&](bool present, const QString& relative) {
            return present ? own.writeFile(relative, "form") : QString();
        };
        const QString single = make(c.singleFile, "System/RAzar/" + formPath);
        const QString hosted = make(c.hostFile, "host/QVNET/RAzar/" + formPath);
        const QString user = make(c.userFile, "connected/QVNET/RAzar/" + formPath);
        if (c.chosen == Chosen::Present)
            s.chosenForm = own.writeFile("forms/Our Form.xls", "form");
        if (c.chosen == Chosen::Missing)
            s.chosenForm = own.filePath("forms/Gone.xls");

        const std::optional<QString> found = grid::TransactionForm::findTemplate(s);

        const QString expected[] = {QString(), single, hosted, user, s.chosenForm};
        if (c.found == Found::Nothing)
            EXPECT_FALSE(found.has_value()) << found->toStdString();
        else
            EXPECT_EQ(found.value_or("(none)"), expected[int(c.found)]);
    }
}

TEST_F(TransactionFormTest, WithoutAFormTheUserIsSentToTheFormPickerAndNothingIsFilled)
{
    settings.pickerChooses = chosenForm(); // even a choice made now fills nothing this time
    int stepsBeforeMessage = -1;
    prompts->queueAnswer([&](const testsupport::RecordedPrompt&) {
        stepsBeforeMessage = int(settings.steps.size());
        return platform::Answer::OK;
    });
    transaction.copies = QStringLiteral("2");

    EXPECT_FALSE(form.exporttotransactionform());

    ASSERT_EQ(prompts->recorded().size(), 1);
    const auto& message = prompts->recorded().first();
    EXPECT_EQ(message.text, QStringLiteral("Please select the Transaction Form"));
    EXPECT_EQ(message.style, platform::MsgStyle::Critical);
    EXPECT_EQ(message.title, QStringLiteral("Velkorn      Excel Form File Missing"));
    EXPECT_EQ(stepsBeforeMessage, 0);
    EXPECT_EQ(settings.steps, (QStringList{"settings shown again", "tab 3", "Transaction pressed"}));
    EXPECT_TRUE(excel->calls.isEmpty());
    EXPECT_TRUE(transaction.copies.isEmpty());
}

TEST_F(TransactionFormTest, CellMapWithTheOwnCompanySendingAndAContactReceiving)
{
    const QString path = singleDefault();
    excel->workbooks.insert(path, {{"B21", "template's own"}, {"D15", "template's D15"}});
    fillItems();

    EXPECT_TRUE(form.exporttotransactionform());

    EXPECT_EQ(excel->calls, (QStringList{"start", "alerts off", "visible off", "open " + path + " read-only",
                                         "alerts on", "show"}));
    std::vector<std::pair<QString, QString>> header = {
        {"B1", "Own Co"}, {"B2", "1 Main St"}, {"B3", "Springfield"}, {"B4", "12345"},
        {"B5", "own@example.com"}, {"B6", "555-0101"}, {"B7", "555-0100"},
        {"B11", "T-0042"}, {"E11", "10.12.2026 09:30:00"}, {"I11", "123.5"},
        {"D14", "Own Co"}, {"J14", "Acme Ltd.QVC"}, {"J15", "Jane Roe"}, {"F19", "Notes"}};
    for (int k = 6; k <= 32; ++k)
        header.emplace_back(platform::columnLetters(k + 1) + "19", QString());
    ASSERT_EQ(excel->writes.size(), header.size() + 64);
    EXPECT_EQ(std::vector(excel->writes.begin(), excel->writes.begin() + qsizetype(header.size())), header);

    const auto& shown = excel->shownCells;
    EXPECT_EQ(shown.value("D15"), QStringLiteral("template's D15")); // not written for the own company
    EXPECT_EQ(shown.value("B20"), QStringLiteral("Widget"));
    EXPECT_EQ(shown.value("F20"), QStringLiteral("blue"));
    EXPECT_EQ(shown.value("B21"), QStringLiteral("template's own")); // empty row 2 is not written
    EXPECT_EQ(shown.value("B22"), QStringLiteral("Bolt"));
    EXPECT_EQ(shown.value("E22"), QStringLiteral("1"));
    EXPECT_TRUE(excel->wasWritten("AG22"));
    EXPECT_FALSE(excel->wasWritten("AH22"));
    EXPECT_TRUE(excel->alertsOnWhenShown);

    EXPECT_EQ(transaction.bar.maxima, std::vector<float>{3});
    EXPECT_EQ(transaction.bar.values, (std::vector<float>{1, 3}));
    EXPECT_EQ(transaction.pleaseWait, (QStringList{"shown", "hidden"}));
    EXPECT_EQ(excel->running, 0);
    EXPECT_TRUE(prompts->recorded().isEmpty());
}

TEST_F(TransactionFormTest, AContactCompanySendingWritesItsFileNameAndContact)
{
    singleDefault();
    transaction.fromIsOwn = false;
    transaction.fromCompany = QStringLiteral("C:\\Data\\Contacts\\Beta GmbH.QVC"); // kept by another installation
    transaction.fromContact = QStringLiteral("Max Mustermann");
    transaction.toIsOwn = true;

    EXPECT_TRUE(form.exporttotransactionform());

    EXPECT_EQ(excel->written("D14"), QStringLiteral("Beta GmbH.QVC"));
    EXPECT_EQ(excel->written("D15"), QStringLiteral("Max Mustermann"));
    EXPECT_EQ(excel->written("J14"), QStringLiteral("Own Co"));
    EXPECT_FALSE(excel->wasWritten("J15"));
    // With only the four fixed columns every caption cell F19 to AG19 is written empty.
    for (int k = 5; k <= 32; ++k)
        EXPECT_TRUE(excel->wasWritten(platform::columnLetters(k + 1) + "19"));
    EXPECT_EQ(excel->written("F19"), QString());
}

TEST_F(TransactionFormTest, ACopiesTextPrintsThatManyAndIsEmptiedAfterwards)
{
    singleDefault();
    fillItems();
    transaction.copies = QStringLiteral("2");

    EXPECT_TRUE(form.exporttotransactionform());

    EXPECT_EQ(excel->calls.mid(4), (QStringList{"print 2", "alerts off", "quit"}));
    EXPECT_EQ(excel->printedCells.value("B22"), QStringLiteral("Bolt"));
    EXPECT_TRUE(transaction.copies.isEmpty());
    EXPECT_EQ(excel->running, 0);
}

TEST_F(TransactionFormTest, EveryFailureIsReportedAndLeavesNothingRunning)
{
    const struct {
        const char* name;
        const char* copies;
        void (*arrange)(testsupport::SpreadsheetLog&);
        const char* messageStart;
    } cases[] = {
        {"start", "", [](auto& l) { l.failStart = true; }, "Quorvane could not start the spreadsheet program."},
        {"open", "2", [](auto& l) { l.failOpen = true; }, "Quorvane could not open the transaction form"},
        {"cell write", "2", [](auto& l) { l.writesBeforeFailure = 50; }, "Quorvane could not fill the transaction form"},
        {"print", "2", [](auto& l) { l.failPrint = true; }, "Quorvane could not print the transaction form."},
        {"show", "", [](auto& l) { l.failShow = true; }, "Quorvane could not show the transaction form"},
    };
    singleDefault();
    fillItems();
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        arrangeFailure(c.arrange);
        transaction.copies = QString::fromLatin1(c.copies);
        transaction.pleaseWait.clear();

        EXPECT_FALSE(form.exporttotransactionform());

        expectOneFailureMessage(c.messageStart);
        EXPECT_EQ(excel->running, 0);
        EXPECT_TRUE(transaction.copies.isEmpty());
        EXPECT_EQ(transaction.pleaseWait.count("shown"), transaction.pleaseWait.count("hidden"));
    }
}

} // namespace
