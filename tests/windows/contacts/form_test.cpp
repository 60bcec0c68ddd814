// The contact form from the window's File > Print > "Selected Contact" and Data > Export Data >
// "Selected Contact into Excel Form", on a recording stand-in for the spreadsheet program: the
// form carries the contact selected at that moment with every column of its row and the
// window's caption, the document is left as it was, and the window passes on the service's
// refusals and brings up the settings window's template picker. The checks themselves and
// the cell map are the form service's, tested with it.

#include "contactsfixture.h"

#include "support/recordingspreadsheet.h"

#include <QAction>
#include <QFrame>
#include <QRegularExpression>

namespace contactstest {
namespace {

using platform::Answer;
using testsupport::PromptKind;

QByteArray bytesOf(const QString& path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

const QString FormBelowProgram = QStringLiteral("System/RAzar/Template/Contacts/Contact Form.xls");

class ContactForm : public ContactsWindow {
protected:
    ContactForm()
    {
        program.store.CompanyName = QStringLiteral("Firma");
        program.store.CompanyCity = QStringLiteral("Kranj");
        program.store.CompanyPhone = QStringLiteral("555-0100");
        form = folder.writeFile(FormBelowProgram, "our template");
    }

    // The company of openClients with a third column, "Phone", filled for the last contact.
    QString openClientsWithPhones()
    {
        const QString path = openClients();
        window.List1().AddColumn(3, 100, QStringLiteral("Phone"));
        window.List1().ChangeItem(5, 3, QStringLiteral("04 555 12"));
        window.setlblChangeStatus(QStringLiteral("0"));
        return path;
    }
    void select(int row) { window.List1().SelectItem(row, 1); }
    void trigger(const char* menu) { window.menu(QString::fromLatin1(menu))->trigger(); }
    QString calls() { return sheet->calls.join(QStringLiteral(", ")); }

    testsupport::ScopedRecordingSpreadsheet sheet;
    QString form;
};

// The cells of the contact in row 5 of the company with phones, as the form receives them.
// Every cell of the map is written, the empty ones too.
void expectOkov(const testsupport::SpreadsheetLog& log, const QHash<QString, QString>& cells)
{
    const struct {
        const char* address;
        const char* text;
    } expected[] = {
        {"B2", "Firma"},     {"B3", ""},          {"B4", "Kranj"},          {"B8", "555-0100"},
        {"D17", "Company [ Clients.QVC ]"},       {"D19", "5"},             {"D21", "Okov d.o.o."},
        {"D23", "310"},      {"B25", "Phone"},    {"D25", "04 555 12"},     {"B27", ""},
        {"D27", ""},         {"B83", ""},         {"D83", ""},
    };
    for (const auto& cell : expected) {
        const QString address = QString::fromLatin1(cell.address);
        EXPECT_TRUE(log.wasWritten(address)) << cell.address;
        EXPECT_EQ(cells.value(address), QString::fromUtf8(cell.text)) << cell.address;
    }
    EXPECT_FALSE(cells.value(QStringLiteral("D15")).isEmpty()) << "the date and time";
}

TEST_F(ContactForm, PrintFillsTheFormWithTheSelectedContactAndLeavesTheDocumentAlone)
{
    const QString path = openClientsWithPhones();
    const QByteArray before = bytesOf(path);
    const QString sound = folder.writeFile(QStringLiteral("System/Sound/2.wav"), "RIFF");
    select(5);
    // The progress frame stands while the spreadsheet program fills the form.
    bool waitShownAtStart = false;
    platform::setSpreadsheetFactory([&] {
        waitShownAtStart = window.PleaseWait()->isVisible();
        return std::make_unique<testsupport::RecordingSpreadsheet>(sheet.log());
    });
    prompts->clear();
    prompts->queueInput(QStringLiteral("3"));
    trigger("printselectedcontact");

    ASSERT_EQ(prompts->recorded().size(), 1) << prompts->texts().join(", ").toStdString();
    EXPECT_EQ(prompts->recorded().first().kind, PromptKind::InputBox);
    EXPECT_EQ(prompts->recorded().first().text, QStringLiteral("Enter number of copies to print:"));
    EXPECT_TRUE(sheet->calls.contains(QStringLiteral("open ") + form + QStringLiteral(" read-only"))) << calls().toStdString();
    EXPECT_EQ(sheet->calls.filter(QRegularExpression(QStringLiteral("^print 3"))).size(), 1) << calls().toStdString();
    EXPECT_EQ(sheet->running, 0);
    expectOkov(sheet.log(), sheet->printedCells);
    EXPECT_TRUE(waitShownAtStart);
    EXPECT_TRUE(window.PleaseWait()->isHidden());

    EXPECT_EQ(window.lblChangeStatus(), QStringLiteral("0"));
    EXPECT_EQ(window.windowTitle(), QStringLiteral("Company [ Clients.QVC ]"));
    EXPECT_EQ(window.List1().iSelected(), 5);
    EXPECT_EQ(bytesOf(path), before);
    EXPECT_EQ(bytesOf(form), QByteArray("our template"));
    EXPECT_EQ(program.sounds, QStringList{sound});
}

// The export shows the form whatever the balance, the empty one of a list never saved included.
TEST_F(ContactForm, ExportShowsTheFormForAnyBalance)
{
    openClientsWithPhones();
    select(5);
    trigger("exportform");
    EXPECT_TRUE(sheet->calls.contains(QStringLiteral("show"))) << calls().toStdString();
    expectOkov(sheet.log(), sheet->shownCells);
    EXPECT_EQ(prompts->recorded().size(), 1) << "only the Open dialog: " << prompts->texts().join(", ").toStdString();

    window.NEWLIST();
    window.List1().ChangeItem(2, 1, QStringLiteral("Nova"));
    select(2);
    trigger("exportform");
    EXPECT_EQ(sheet->shownCells.value(QStringLiteral("D17")), QStringLiteral("Company [ Unsaved ]"));
    EXPECT_EQ(sheet->shownCells.value(QStringLiteral("D21")), QStringLiteral("Nova"));
    EXPECT_EQ(sheet->shownCells.value(QStringLiteral("D23")), QString());
}

struct Refusal {
    const char* name;
    bool print;
    int row;               // of openClients: 3 has the balance 0, 4 no name
    bool spreadsheetUsable;
    bool templateThere;
    const char* message;
    const char* title;
};

void PrintTo(const Refusal& c, std::ostream* os)
{
    *os << c.name;
}

class ContactFormRefusals : public ContactForm, public ::testing::WithParamInterface<Refusal> {};

// What the window shows when a command is refused; nothing reaches the spreadsheet program,
// and without a template the settings window's picker comes up after the message.
TEST_P(ContactFormRefusals, AreShownByTheWindow)
{
    const Refusal& c = GetParam();
    openClients();
    select(c.row);
    if (!c.spreadsheetUsable)
        program.store.lblEXCELSTATUS = QStringLiteral("NERADI");
    if (!c.templateThere)
        QFile::remove(form);
    prompts->clear();
    const bool asksCopies = c.print && c.spreadsheetUsable && c.row != 3 && c.row != 4;
    if (asksCopies)
        prompts->queueInput(QStringLiteral("1"));
    prompts->queueAnswer(Answer::OK);
    trigger(c.print ? "printselectedcontact" : "exportform");

    ASSERT_EQ(prompts->recorded().size(), asksCopies ? 2 : 1) << prompts->texts().join(", ").toStdString();
    const testsupport::RecordedPrompt& shown = prompts->recorded().last();
    EXPECT_EQ(shown.text, QString::fromLatin1(c.message));
    EXPECT_EQ(shown.title, QString::fromLatin1(c.title));
    EXPECT_EQ(shown.style, platform::MsgStyle::Critical);
    EXPECT_EQ(program.pickedTemplates, c.templateThere ? std::vector<services::FormKind>{}
                                                       : std::vector<services::FormKind>{services::FormKind::Contact});
    EXPECT_TRUE(sheet->calls.isEmpty()) << calls().toStdString();
    EXPECT_TRUE(window.PleaseWait()->isHidden());
}

INSTANTIATE_TEST_SUITE_P(
    Cases, ContactFormRefusals,
    ::testing::Values(
        Refusal{"PrintOfARowWithoutAName", true, 4, true, true, "Please select contact with the Name", "Quorvane"},
        Refusal{"ExportOfARowWithoutAName", false, 4, true, true, "Please select contact with the Name", "Quorvane"},
        Refusal{"PrintOfAZeroBalance", true, 3, true, true,
                "Please select contact with the price. Price can't be smaller then 0.1", "Quorvane"},
        Refusal{"SpreadsheetUnusableBeforeTheNameCheck", true, 4, false, true,
                "Quorvane failed to initialize Microsoft Excel", "Velkorn      Excel Error"},
        Refusal{"PrintWithoutATemplate", true, 1, true, false, "Please select the contact Form",
                "Velkorn      Excel Form File Missing"},
        Refusal{"ExportWithoutATemplate", false, 1, true, false, "Please select the Contact Form",
                "Velkorn      Excel Form File Missing"}),
    [](const auto& info) { return std::string(info.param.name); });

} // namespace
} // namespace contactstest
