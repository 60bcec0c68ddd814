// The item, contact and payment form commands on the recording spreadsheet: their checks and
// the order in which they ask, the template missing, the cell maps, and every way the
// spreadsheet program can fail them.

#include "formsamples.h"

#include "datafiles/settingsstore.h"
#include "grid/gridcore.h"
#include "services/formservice.h"
#include "services/formtemplatepicker.h"
#include "support/pinnedclock.h"
#include "support/recordingspreadsheet.h"
#include "support/scopedprompts.h"
#include "support/tempprogramfolder.h"

#include <cstring>
#include <gtest/gtest.h>

namespace {

using services::FormKind;
using services::FormResult;
using services::FormService;
using Status = FormResult::Status;
using Cells = std::vector<std::pair<QString, QString>>;

const QString MissingTitle = QStringLiteral("Velkorn      Excel Form File Missing");

class RecordingPicker final : public services::FormTemplatePicker {
public:
    void pickFormTemplate(FormKind kind) override { picked.push_back(kind); }
    std::vector<FormKind> picked;
};

class FormServiceTest : public ::testing::Test {
protected:
    FormServiceTest()
    {
        formsamples::fillCompany(store);
        store.lblEXCELSTATUS = QStringLiteral("RADI");
        // An item group of five columns, row 2 selected.
        grid.SetColumnHeader(1, QStringLiteral("Item Name"));
        for (const char* caption : {"Price", "Unit", "Weight", "Note"})
            grid.AddColumn(0, 60, QString::fromLatin1(caption));
        grid.resetRows(3);
        const char* row[] = {"Bolt M8", "12.5", "pcs", "0.02", "zinc"};
        for (int k = 1; k <= 5; ++k)
            grid.setCellText(2, k, QString::fromLatin1(row[k - 1]));
        grid.setiSelected(2);
    }

    enum Command { ItemPrint, ItemExport, ContactPrint, ContactExport, PaymentPrint, PaymentExport };

    FormResult run(Command command, const services::PaymentFormValues& shown)
    {
        switch (command) {
        case ItemPrint: return service.printItem(selected());
        case ItemExport: return service.exportItem(selected());
        case ContactPrint: return service.printContact(selected());
        case ContactExport: return service.exportContact(selected());
        case PaymentPrint: return service.printPayment(shown);
        case PaymentExport: break;
        }
        return service.exportPayment(shown);
    }

    QString defaultForm(FormKind kind)
    {
        return folder.writeFile(QStringLiteral("System/RAzar/") + services::formBelowDataRoot(kind), "form");
    }
    services::SelectedRow selected(const QString& caption = QStringLiteral("Items Group [ Unsaved ]"))
    {
        return services::SelectedRow::fromGrid(grid, caption);
    }
    // The prompts shown so far, as their texts.
    QStringList asked() const { return const_cast<FormServiceTest*>(this)->prompts->texts(); }

    testsupport::TempProgramFolder folder;
    testsupport::ScopedPrompts prompts;
    testsupport::ScopedRecordingSpreadsheet excel;
    testsupport::PinnedClock clock{QDateTime(QDate(2026, 3, 14), QTime(9, 30))};
    datafiles::SettingsStore store;
    grid::GridCore grid;
    services::PaymentFormValues payment = formsamples::payment();
    // What happened outside the prompts and the spreadsheet, in order, with the number of
    // prompts shown by then: "sound after 0", "please wait shown", "please wait hidden".
    QStringList events;
    FormService service{{.store = store,
                         .prompts = prompts.script(),
                         .playSound = [this](const QString&) { events << QStringLiteral("sound after %1").arg(
                                                                    prompts->recorded().size()); },
                         .pleaseWait = [this](bool shown) {
                             events << (shown ? QStringLiteral("please wait shown")
                                              : QStringLiteral("please wait hidden"));
                         }}};
};

// The selected row must carry a name and a price of at least 0.1, for the print and the
// export alike; a refused row asks nothing more and starts nothing.
TEST_F(FormServiceTest, ItemChecks)
{
    defaultForm(FormKind::Item);
    const QString noName = QStringLiteral("Please select item with the Name");
    const struct {
        const char* name;
        int row;
        const char* price;
        QString refusal;
    } cases[] = {
        {"no row selected", 0, "5", noName},
        {"no name", 2, "5", noName},
        {"no price", 2, "", QStringLiteral("Please select the item with price")},
        {"price not a number", 2, "12a", QStringLiteral("Please select item with the price. Price can be only number")},
        {"price below the lowest", 2, "0.09", QStringLiteral("Please select item with the price. Price can't be smaller then 0.1")},
        {"negative price", 2, "-5", QStringLiteral("Please select item with the price. Price can't be smaller then 0.1")},
        {"the lowest price", 2, "0.1", {}},
        {"decimal comma", 2, "1,5", {}},
    };
    for (const bool print : {false, true}) {
        for (const auto& c : cases) {
            SCOPED_TRACE(std::string(print ? "print, " : "export, ") + c.name);
            prompts->clear();
            excel->calls.clear();
            grid.setiSelected(c.row);
            grid.setCellText(2, 1, QString::fromLatin1(std::strcmp(c.name, "no name") ? "Bolt M8" : ""));
            grid.setCellText(2, 2, QString::fromLatin1(c.price));
            if (print && c.refusal.isEmpty())
                prompts->queueInput(QStringLiteral("1"));

            const FormResult result = print ? service.printItem(selected()) : service.exportItem(selected());

            if (c.refusal.isEmpty()) {
                EXPECT_EQ(result.status, print ? Status::Printed : Status::Shown);
                EXPECT_FALSE(result.message.has_value());
                continue;
            }
            EXPECT_EQ(result.status, Status::Refused);
            EXPECT_EQ(result.message.value_or(services::UserMessage{}),
                      (services::UserMessage{c.refusal, platform::MsgStyle::Critical, QString()}));
            EXPECT_TRUE(prompts->recorded().isEmpty()) << "no copies asked";
            EXPECT_TRUE(excel->calls.isEmpty());
        }
    }
}

// The contact print wants a balance of at least 0.1; the export fills the form with any
// balance, none included.
TEST_F(FormServiceTest, ContactPrintWantsABalanceTheExportDoesNot)
{
    defaultForm(FormKind::Contact);
    const QString tooLow = QStringLiteral("Please select contact with the price. Price can't be smaller then 0.1");
    const struct {
        const char* balance;
        QString printRefusal;
    } cases[] = {
        {"", QStringLiteral("Please select the contact with price")},
        {"abc", QStringLiteral("Please select contact with the price. Price can be only number")},
        {"0", tooLow},
        {"-12.50", tooLow},
        {"0.09", tooLow},
        {"0.1", {}},
        {"2500", {}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.balance);
        grid.setCellText(2, 2, QString::fromLatin1(c.balance));
        prompts->clear();
        EXPECT_EQ(service.exportContact(selected()).status, Status::Shown);
        if (c.printRefusal.isEmpty())
            prompts->queueInput(QStringLiteral("1"));
        const FormResult print = service.printContact(selected());
        EXPECT_EQ(print.status, c.printRefusal.isEmpty() ? Status::Printed : Status::Refused);
        EXPECT_EQ(print.message.value_or(services::UserMessage{}).text, c.printRefusal);
    }
    grid.setiSelected(0);
    for (const bool print : {false, true}) {
        const FormResult none = print ? service.printContact(selected()) : service.exportContact(selected());
        EXPECT_EQ(none.message.value_or(services::UserMessage{}).text,
                  QStringLiteral("Please select contact with the Name"));
    }
}

// Each command asks in the order of its kind: the item and contact prints play the sound and
// check the spreadsheet program before any row check or question, the payment print asks for
// its copies before anything else, and a cancelled copies prompt ends in silence.
TEST_F(FormServiceTest, OrderOfTheStepsPerCommand)
{
    folder.writeFile(QStringLiteral("System/Sound/2.wav"), "RIFF");
    for (FormKind kind : {FormKind::Item, FormKind::Contact, FormKind::Payment})
        defaultForm(kind);
    const QString unusable = QStringLiteral("Quorvane failed to initialize Microsoft Excel");
    const struct {
        const char* name;
        Command command;
        bool unusable;
        bool noSelection;
        const char* copies; // nullptr: not asked
        QStringList events;
        Status status;
        QString message;
    } cases[] = {
        {"item print, unusable, nothing selected", ItemPrint, true, true, nullptr, {"sound after 0"}, Status::Refused,
         unusable},
        {"contact export, unusable, nothing selected", ContactExport, true, true, nullptr, {"sound after 0"},
         Status::Refused, unusable},
        {"item print, copies cancelled", ItemPrint, false, false, "", {"sound after 0"}, Status::Cancelled, {}},
        {"contact print, copies refused", ContactPrint, false, false, "abc", {"sound after 0"}, Status::Refused,
         QStringLiteral("YOU CAN ENTER ONLY NUMBERS!")},
        {"payment print, unusable", PaymentPrint, true, false, "2", {"sound after 1"}, Status::Refused, unusable},
        {"payment print, copies cancelled", PaymentPrint, true, false, "", {}, Status::Cancelled, {}},
        {"payment print, copies above 100", PaymentPrint, false, false, "101", {}, Status::Refused,
         QStringLiteral("Up to 100 pages!")},
        {"payment print, no transaction", PaymentPrint, false, true, "2", {"sound after 1"}, Status::Refused,
         QStringLiteral("Please select the Transaction for printing")},
        {"payment export, unusable", PaymentExport, true, false, nullptr, {"sound after 0"}, Status::Refused,
         unusable},
        {"payment export, no transaction", PaymentExport, false, true, nullptr, {"sound after 0"}, Status::Refused,
         QStringLiteral("Please select the Transaction for export")},
        {"item export", ItemExport, false, false, nullptr,
         {"sound after 0", "please wait shown", "please wait hidden"}, Status::Shown, {}},
        {"payment print", PaymentPrint, false, false, "2",
         {"sound after 1", "please wait shown", "please wait hidden"}, Status::Printed, {}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        prompts->clear();
        events.clear();
        excel->calls.clear();
        store.lblEXCELSTATUS = c.unusable ? QStringLiteral("NERADI") : QStringLiteral("RADI");
        grid.setiSelected(c.noSelection ? 0 : 2);
        services::PaymentFormValues shown = payment;
        if (c.noSelection)
            shown.TransactionNumber.clear();
        if (c.copies)
            prompts->queueInput(QString::fromLatin1(c.copies));

        const FormResult result = run(c.command, shown);

        EXPECT_EQ(events, c.events);
        EXPECT_EQ(asked(), c.copies ? QStringList{"Enter number of copies to print:"} : QStringList{});
        EXPECT_EQ(result.status, c.status);
        EXPECT_EQ(result.message.value_or(services::UserMessage{}).text, c.message);
        if (!result.done()) {
            EXPECT_TRUE(excel->calls.isEmpty()) << excel->calls.join(", ").toStdString();
        }
    }
}

// Without a template the command ends after its questions; the window shows the kind's
// message and then brings up the settings window's picker for that kind.
TEST_F(FormServiceTest, WithoutATemplateTheWindowIsSentToThePicker)
{
    const struct {
        Command command;
        FormKind kind;
        const char* message;
    } cases[] = {
        {ItemPrint, FormKind::Item, "Please select the Item Form"},
        {ItemExport, FormKind::Item, "Please select the Item Form"},
        {ContactPrint, FormKind::Contact, "Please select the contact Form"},
        {ContactExport, FormKind::Contact, "Please select the Contact Form"},
        {PaymentPrint, FormKind::Payment, "Please select the Payment Form"},
        {PaymentExport, FormKind::Payment, "Please select the Payment Form"},
    };
    // A chosen template that has gone counts as none even where the default is there.
    for (FormKind kind : {FormKind::Item, FormKind::Contact, FormKind::Payment})
        defaultForm(kind);
    store.Item.ToolTipText = folder.filePath(QStringLiteral("gone/Item.xls"));
    store.Contact.ToolTipText = folder.filePath(QStringLiteral("gone/Contact.xls"));
    store.Payment.ToolTipText = folder.filePath(QStringLiteral("gone/Payment.xls"));
    for (const auto& c : cases) {
        SCOPED_TRACE(c.message);
        prompts->clear();
        const bool print = c.command == ItemPrint || c.command == ContactPrint || c.command == PaymentPrint;
        if (print)
            prompts->queueInput(QStringLiteral("2"));
        const FormResult result = run(c.command, payment);
        EXPECT_EQ(result.status, Status::NoTemplate);
        EXPECT_EQ(result.kind, c.kind);

        RecordingPicker picker;
        int promptsWhenPicked = -1;
        prompts->queueAnswer([&](const testsupport::RecordedPrompt&) {
            promptsWhenPicked = int(picker.picked.size());
            return platform::Answer::OK;
        });
        services::showFormResult(result, prompts.script(), picker);

        ASSERT_EQ(prompts->recorded().size(), print ? 2 : 1);
        const testsupport::RecordedPrompt& shown = prompts->recorded().last();
        EXPECT_EQ(shown.text, QString::fromLatin1(c.message));
        EXPECT_EQ(shown.style, platform::MsgStyle::Critical);
        EXPECT_EQ(shown.title, MissingTitle);
        EXPECT_EQ(promptsWhenPicked, 0) << "the message comes before the picker";
        EXPECT_EQ(picker.picked, std::vector<FormKind>{c.kind});
    }
    EXPECT_TRUE(excel->calls.isEmpty());
}

TEST_F(FormServiceTest, ItemFormCellMap)
{
    const QString form = defaultForm(FormKind::Item);
    excel->workbooks.insert(form, {{"B15", "Date"}, {"B83", "template's own"}, {"E1", "beside the map"}});

    const FormResult result = service.exportItem(selected());

    EXPECT_EQ(result.status, Status::Shown);
    EXPECT_EQ(excel->calls, (QStringList{"start", "alerts off", "visible off", "open " + form + " read-only",
                                         "alerts on", "show"}));
    Cells expected = {{"B2", "Own Co"},       {"B3", "1 Main St"},          {"B4", "Springfield"},
                      {"B5", "01234"},        {"B6", "own@example.com"},    {"B7", "555-0101"},
                      {"B8", "555-0100"},     {"D15", "2026-03-14T09:30:00"}, {"D17", "Items Group [ Unsaved ]"},
                      {"D19", "2"},           {"D21", "Bolt M8"},           {"D23", "12.5"},
                      {"B25", "Unit"},        {"D25", "pcs"},               {"B27", "Weight"},
                      {"D27", "0.02"},        {"B29", "Note"},              {"D29", "zinc"}};
    // Columns 6 to 32, which the group does not have, empty their cells of the template.
    for (int i = 6; i <= 32; ++i) {
        expected.emplace_back(QStringLiteral("B%1").arg(2 * i + 19), QString());
        expected.emplace_back(QStringLiteral("D%1").arg(2 * i + 19), QString());
    }
    EXPECT_EQ(excel->writes, expected);
    EXPECT_EQ(excel->shownCells.value("B15"), QStringLiteral("Date"));
    EXPECT_EQ(excel->shownCells.value("E1"), QStringLiteral("beside the map"));
    EXPECT_FALSE(excel->shownCells.contains("B83"));
    EXPECT_TRUE(excel->alertsOnWhenShown);
    EXPECT_EQ(excel->running, 0);
}

// A contact list of 20 columns prints the captions of columns 3 to 20 in B25 to B59.
TEST_F(FormServiceTest, ContactFormPrintOfTwentyColumns)
{
    const QString form = defaultForm(FormKind::Contact);
    grid::GridCore contacts;
    contacts.SetColumnHeader(1, QStringLiteral("Contact Name"));
    contacts.AddColumn(0, 60, QStringLiteral("Balance"));
    for (int k = 3; k <= 20; ++k)
        contacts.AddColumn(0, 60, QStringLiteral("Field %1").arg(k));
    contacts.resetRows(1);
    contacts.setCellText(1, 1, QStringLiteral("Jane Roe"));
    contacts.setCellText(1, 2, QStringLiteral("300"));
    contacts.setCellText(1, 20, QStringLiteral("last"));
    contacts.setiSelected(1);
    prompts->queueInput(QStringLiteral("3"));

    const FormResult result =
        service.printContact(services::SelectedRow::fromGrid(contacts, QStringLiteral("Company [ Acme Ltd.QVC ]")));

    EXPECT_EQ(result.status, Status::Printed);
    EXPECT_EQ(excel->calls, (QStringList{"start", "alerts off", "visible off", "open " + form + " read-only", "print 3",
                                         "alerts off", "quit"}));
    const auto& printed = excel->printedCells;
    EXPECT_EQ(printed.value("D17"), QStringLiteral("Company [ Acme Ltd.QVC ]"));
    EXPECT_EQ(printed.value("D19"), QStringLiteral("1"));
    EXPECT_EQ(printed.value("D21"), QStringLiteral("Jane Roe"));
    EXPECT_EQ(printed.value("D23"), QStringLiteral("300"));
    EXPECT_EQ(printed.value("B25"), QStringLiteral("Field 3"));
    EXPECT_EQ(printed.value("B59"), QStringLiteral("Field 20"));
    EXPECT_EQ(printed.value("D59"), QStringLiteral("last"));
    EXPECT_TRUE(excel->wasWritten("B61"));
    EXPECT_EQ(excel->written("B61"), QString());
    EXPECT_EQ(excel->written("D83"), QString());
    EXPECT_EQ(excel->running, 0);
}

TEST_F(FormServiceTest, PaymentFormCellMap)
{
    const QString form = defaultForm(FormKind::Payment);
    prompts->queueInput(QStringLiteral("2"));

    const FormResult result = service.printPayment(payment);

    EXPECT_EQ(result.status, Status::Printed);
    EXPECT_EQ(excel->calls, (QStringList{"start", "alerts off", "visible off", "open " + form + " read-only", "print 2",
                                         "alerts off", "quit"}));
    EXPECT_EQ(excel->writes, formsamples::paymentCells());
}

// A failing spreadsheet program never passes for a print or a form shown: the user is told
// what was not done, the progress frame is hidden and no instance is left running.
TEST_F(FormServiceTest, SpreadsheetFailuresAreReported)
{
    const QString form = defaultForm(FormKind::Item);
    enum Fault { Start, Open, Write, Print, Show };
    const struct {
        const char* name;
        Fault fault;
        bool print;
        QString text;
    } cases[] = {
        {"start, print", Start, true, "Quorvane could not start the spreadsheet program. Nothing was printed."},
        {"start, export", Start, false, "Quorvane could not start the spreadsheet program. The item form was not filled."},
        {"open", Open, false, "Quorvane could not open the item form\n" + form + "\nThe item form was not filled."},
        {"write", Write, true, "Quorvane could not fill the item form\n" + form + "\nNothing was printed."},
        {"print", Print, true, "Quorvane could not print the item form. Nothing was printed."},
        {"show", Show, false, "Quorvane could not show the item form in the spreadsheet program."},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        testsupport::ScopedRecordingSpreadsheet failing;
        failing->failStart = c.fault == Start;
        failing->failOpen = c.fault == Open;
        failing->writesBeforeFailure = c.fault == Write ? 5 : -1;
        failing->failPrint = c.fault == Print;
        failing->failShow = c.fault == Show;
        events.clear();
        if (c.print)
            prompts->queueInput(QStringLiteral("2"));

        const FormResult result = c.print ? service.printItem(selected()) : service.exportItem(selected());

        EXPECT_EQ(result.status, Status::Failed);
        ASSERT_TRUE(result.message.has_value());
        EXPECT_TRUE(result.message->text.startsWith(c.text)) << result.message->text.toStdString();
        EXPECT_EQ(result.message->style, platform::MsgStyle::Critical);
        EXPECT_EQ(result.message->title, QStringLiteral("Velkorn      Excel Error"));
        EXPECT_EQ(failing->running, 0);
        EXPECT_EQ(events, (QStringList{"please wait shown", "please wait hidden"}));
        EXPECT_TRUE(failing->shownCells.isEmpty());
    }
}

// The filling uses the instances of the factory it was given.
TEST_F(FormServiceTest, InstancesComeFromTheGivenFactory)
{
    defaultForm(FormKind::Payment);
    testsupport::SpreadsheetLog own;
    int made = 0;
    FormService withFactory({.store = store,
                             .prompts = prompts.script(),
                             .spreadsheets = [&] {
                                 ++made;
                                 return std::make_unique<testsupport::RecordingSpreadsheet>(own);
                             }});
    EXPECT_EQ(withFactory.exportPayment(payment).status, Status::Shown);
    EXPECT_EQ(made, 1);
    EXPECT_EQ(own.shownCells.value("K13"), QStringLiteral("17"));
    EXPECT_TRUE(excel->calls.isEmpty());
}

} // namespace
