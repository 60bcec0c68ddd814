// The item form from the window's File > Print > "Selected Item " and Data > Export Data >
// "Selected Item into Excel Form", on a recording stand-in for the spreadsheet program: the
// form carries the item selected at that moment with every column of its row and the
// window's caption, the document is left as it was, and the window passes on the service's
// refusals and brings up the settings window's template picker. The checks themselves, the
// copies prompt and the cell map are the form service's, tested with it.

#include "windows/items/frmitems.h"

#include "grid/documents/documentlist.h"
#include "grid/gridcore.h"
#include "services/formtemplatepicker.h"
#include "support/recordingspreadsheet.h"
#include "support/scopedprompts.h"
#include "support/tempprogramfolder.h"
#include "windows/document/testprogram.h"

#include <QAction>
#include <QFile>
#include <QFrame>
#include <QRegularExpression>
#include <gtest/gtest.h>
#include <vector>

namespace {

using platform::Answer;
using testsupport::PromptKind;

const QString FormBelowProgram = QStringLiteral("System/RAzar/Template/Item/Item Form.xls");

// The program with its settings window's form template picker.
class ItemsProgram : public windowtest::TestProgram, public services::FormTemplatePicker {
public:
    // The kinds whose template picker the settings window was asked to bring up, in order.
    std::vector<services::FormKind> pickedTemplates;

    void pickFormTemplate(services::FormKind kind) override { pickedTemplates.push_back(kind); }
    windows::DocumentContext itemsContext(platform::Prompts& prompts)
    {
        windows::DocumentContext c = context(CommonDialog1, prompts);
        c.formTemplatePicker = this;
        return c;
    }
};

class ItemForm : public ::testing::Test {
protected:
    ItemForm()
    {
        program.documentWindow = &window;
        window.showFromLauncher();
        program.store.CompanyName = QStringLiteral("Firma");
        program.store.CompanyCity = QStringLiteral("Kranj");
        program.store.CompanyPhone = QStringLiteral("555-0100");
        form = folder.writeFile(FormBelowProgram, "our template");
    }

    // The new item group with five columns and four rows: row 2 a whole item, row 3 one
    // below the lowest price, row 4 without a name.
    void fillGroup()
    {
        grid::DocumentList& list = window.List1();
        list.AddColumn(3, 100, QStringLiteral("Unit"));
        list.AddColumn(4, 100, QStringLiteral("Supplier"));
        list.AddColumn(5, 100, QStringLiteral("Note"));
        const QStringList rows[] = {{"Oak board", "24.5", "m", "Brankar", ""},
                                    {"Brass hinge", "1.75", "piece", "Okov d.o.o.", "=by the box"},
                                    {"Washer", "0.09", "piece", "", ""},
                                    {"", "3", "", "", ""}};
        for (int r = 0; r < 4; ++r)
            for (int c = 0; c < 5; ++c)
                list.ChangeItem(r + 1, c + 1, rows[r][c]);
        window.setlblChangeStatus(QStringLiteral("0"));
    }
    void select(int row) { window.List1().SelectItem(row, 1); }
    void trigger(const char* menu) { window.menu(QString::fromLatin1(menu))->trigger(); }
    QString calls() { return sheet->calls.join(QStringLiteral(", ")); }
    QStringList cellsOfTheGroup()
    {
        QStringList cells;
        for (int r = 1; r <= window.List1().ListCount(); ++r)
            for (int c = 1; c <= 5; ++c)
                cells << window.List1().GetItem(r, c);
        return cells;
    }

    testsupport::TempProgramFolder folder;
    testsupport::ScopedPrompts prompts;
    ItemsProgram program;
    windows::frmItems window{program.itemsContext(prompts.script())};
    testsupport::ScopedRecordingSpreadsheet sheet;
    QString form;
};

// The cells of the hinge in row 2, as the form receives them. Every cell of the map is
// written: beyond the group's five columns the template's cells are emptied.
void expectHinge(const testsupport::SpreadsheetLog& log, const QHash<QString, QString>& cells)
{
    const struct {
        const char* address;
        const char* text;
    } expected[] = {
        {"B2", "Firma"},        {"B3", ""},         {"B4", "Kranj"},       {"B8", "555-0100"},
        {"D17", "Items Group [ Unsaved ]"},         {"D19", "2"},          {"D21", "Brass hinge"},
        {"D23", "1.75"},        {"B25", "Unit"},    {"D25", "piece"},      {"B27", "Supplier"},
        {"D27", "Okov d.o.o."}, {"B29", "Note"},    {"D29", "=by the box"}, {"B31", ""},
        {"D31", ""},            {"B83", ""},        {"D83", ""},
    };
    for (const auto& cell : expected) {
        const QString address = QString::fromLatin1(cell.address);
        EXPECT_TRUE(log.wasWritten(address)) << cell.address;
        EXPECT_EQ(cells.value(address), QString::fromUtf8(cell.text)) << cell.address;
    }
    EXPECT_FALSE(cells.value(QStringLiteral("D15")).isEmpty()) << "the date and time";
}

TEST_F(ItemForm, PrintFillsTheFormWithTheSelectedItemAndLeavesTheDocumentAlone)
{
    fillGroup();
    const QStringList before = cellsOfTheGroup();
    const QString sound = folder.writeFile(QStringLiteral("System/Sound/2.wav"), "RIFF");
    select(2);
    // The progress frame stands while the spreadsheet program fills the form.
    bool waitShownAtStart = false;
    platform::setSpreadsheetFactory([&] {
        waitShownAtStart = window.PleaseWait()->isVisible();
        return std::make_unique<testsupport::RecordingSpreadsheet>(sheet.log());
    });
    prompts->clear();
    prompts->queueInput(QStringLiteral("3"));
    trigger("printselecteditem");

    ASSERT_EQ(prompts->recorded().size(), 1) << prompts->texts().join(", ").toStdString();
    EXPECT_EQ(prompts->recorded().first().kind, PromptKind::InputBox);
    EXPECT_EQ(prompts->recorded().first().text, QStringLiteral("Enter number of copies to print:"));
    EXPECT_TRUE(sheet->calls.contains(QStringLiteral("open ") + form + QStringLiteral(" read-only"))) << calls().toStdString();
    EXPECT_EQ(sheet->calls.filter(QRegularExpression(QStringLiteral("^print 3"))).size(), 1) << calls().toStdString();
    EXPECT_EQ(sheet->running, 0);
    expectHinge(sheet.log(), sheet->printedCells);
    EXPECT_TRUE(waitShownAtStart);
    EXPECT_TRUE(window.PleaseWait()->isHidden());

    EXPECT_EQ(window.lblChangeStatus(), QStringLiteral("0"));
    EXPECT_EQ(window.windowTitle(), QStringLiteral("Items Group [ Unsaved ]"));
    EXPECT_EQ(window.List1().iSelected(), 2);
    EXPECT_EQ(cellsOfTheGroup(), before);
    EXPECT_EQ(program.sounds, QStringList{sound});
    QFile formFile(form);
    ASSERT_TRUE(formFile.open(QIODevice::ReadOnly));
    EXPECT_EQ(formFile.readAll(), QByteArray("our template"));
}

// The export shows the form of the row selected when it is chosen, and asks nothing.
TEST_F(ItemForm, ExportShowsTheFormOfTheSelectedItem)
{
    fillGroup();
    select(2);
    prompts->clear();
    trigger("exportform");
    EXPECT_TRUE(sheet->calls.contains(QStringLiteral("show"))) << calls().toStdString();
    EXPECT_TRUE(sheet->calls.filter(QRegularExpression(QStringLiteral("^print"))).isEmpty()) << calls().toStdString();
    expectHinge(sheet.log(), sheet->shownCells);
    EXPECT_TRUE(prompts->recorded().isEmpty()) << prompts->texts().join(", ").toStdString();
    EXPECT_EQ(window.lblChangeStatus(), QStringLiteral("0"));

    select(1);
    trigger("exportform");
    EXPECT_EQ(sheet->shownCells.value(QStringLiteral("D19")), QStringLiteral("1"));
    EXPECT_EQ(sheet->shownCells.value(QStringLiteral("D21")), QStringLiteral("Oak board"));
    EXPECT_EQ(sheet->shownCells.value(QStringLiteral("D23")), QStringLiteral("24.5"));
}

struct Refusal {
    const char* name;
    bool print;
    int row;                // of fillGroup; 0 is no row selected
    bool spreadsheetUsable;
    const char* formFile;   // "default": the form below the program; "gone": beside it a chosen
                            // form that no longer exists; "": none at all
    const char* message;
    const char* title;
};

void PrintTo(const Refusal& c, std::ostream* os)
{
    *os << c.name;
}

class ItemFormRefusals : public ItemForm, public ::testing::WithParamInterface<Refusal> {};

// What the window shows when a command is refused; nothing reaches the spreadsheet program,
// and without a template the settings window's picker comes up after the message. A print
// asks for the copies before it looks for the template.
TEST_P(ItemFormRefusals, AreShownByTheWindow)
{
    const Refusal& c = GetParam();
    fillGroup();
    if (c.row == 0)
        window.List1().core().setiSelected(0);
    else
        select(c.row);
    if (!c.spreadsheetUsable)
        program.store.lblEXCELSTATUS = QStringLiteral("NERADI");
    const QString templateKind = QString::fromLatin1(c.formFile);
    if (templateKind.isEmpty())
        QFile::remove(form);
    if (templateKind == QLatin1String("gone"))
        program.store.Item.ToolTipText = folder.filePath(QStringLiteral("Elsewhere/Item Form.xls"));
    const bool templateMissing = templateKind != QLatin1String("default");
    prompts->clear();
    // Only the whole item of row 2 gets as far as the copies prompt.
    const bool asksCopies = c.print && c.spreadsheetUsable && c.row == 2;
    if (asksCopies)
        prompts->queueInput(QStringLiteral("1"));
    prompts->queueAnswer(Answer::OK);
    trigger(c.print ? "printselecteditem" : "exportform");

    ASSERT_EQ(prompts->recorded().size(), asksCopies ? 2 : 1) << prompts->texts().join(", ").toStdString();
    const testsupport::RecordedPrompt& shown = prompts->recorded().last();
    EXPECT_EQ(shown.text, QString::fromLatin1(c.message));
    EXPECT_EQ(shown.title, QString::fromLatin1(c.title));
    EXPECT_EQ(shown.style, platform::MsgStyle::Critical);
    EXPECT_EQ(program.pickedTemplates, templateMissing ? std::vector<services::FormKind>{services::FormKind::Item}
                                                       : std::vector<services::FormKind>{});
    EXPECT_TRUE(sheet->calls.isEmpty()) << calls().toStdString();
    EXPECT_TRUE(window.PleaseWait()->isHidden());
    EXPECT_EQ(window.lblChangeStatus(), QStringLiteral("0"));
}

INSTANTIATE_TEST_SUITE_P(
    Cases, ItemFormRefusals,
    ::testing::Values(
        Refusal{"PrintWithNoRowSelected", true, 0, true, "default", "Please select item with the Name", "Quorvane"},
        Refusal{"ExportWithNoRowSelected", false, 0, true, "default", "Please select item with the Name", "Quorvane"},
        Refusal{"PrintOfARowWithoutAName", true, 4, true, "default", "Please select item with the Name", "Quorvane"},
        Refusal{"PrintBelowTheLowestPrice", true, 3, true, "default",
                "Please select item with the price. Price can't be smaller then 0.1", "Quorvane"},
        Refusal{"ExportBelowTheLowestPrice", false, 3, true, "default",
                "Please select item with the price. Price can't be smaller then 0.1", "Quorvane"},
        Refusal{"SpreadsheetUnusableBeforeTheChecks", true, 0, false, "default",
                "Quorvane failed to initialize Microsoft Excel", "Velkorn      Excel Error"},
        Refusal{"PrintWithoutATemplate", true, 2, true, "", "Please select the Item Form",
                "Velkorn      Excel Form File Missing"},
        Refusal{"ExportWithoutATemplate", false, 2, true, "", "Please select the Item Form",
                "Velkorn      Excel Form File Missing"},
        Refusal{"ExportWithTheChosenFormGone", false, 2, true, "gone", "Please select the Item Form",
                "Velkorn      Excel Form File Missing"}),
    [](const auto& info) { return std::string(info.param.name); });

} // namespace
