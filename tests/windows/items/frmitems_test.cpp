// What is the item groups window's own: its controls, menus and texts, its help topic and its
// row limit. The behaviour it shares with the other document windows is tested over the kinds
// in tests/windows/document.

#include "windows/items/frmitems.h"

#include "grid/documents/documentlist.h"
#include "platform/desktop.h"
#include "support/qtprinters.h"
#include "support/scopedprompts.h"
#include "support/tempprogramfolder.h"
#include "windows/document/testprogram.h"
#include "windows/document/windowprobes.h"

#include <QAbstractButton>
#include <QAction>
#include <QFrame>
#include <QLineEdit>
#include <QMenu>
#include <QMenuBar>
#include <gtest/gtest.h>

namespace {

using windowtest::menuText;
using windowtest::RecordingViewer;
using platform::Answer;

class ItemsWindow : public ::testing::Test {
protected:
    ItemsWindow()
    {
        program.documentWindow = &window;
        window.showFromLauncher();
    }

    testsupport::TempProgramFolder folder;
    testsupport::ScopedPrompts prompts;
    windowtest::TestProgram program;
    windows::frmItems window{program.context(program.CommonDialog1, prompts.script())};
};

TEST_F(ItemsWindow, MenusAreThoseOfAnItemGroup)
{
    const QMenuBar* bar = window.findChild<QMenuBar*>();
    ASSERT_NE(bar, nullptr);
    EXPECT_EQ(menuText(bar->actions()),
              (QStringList{
                  "  File [New, Open, Close, -, Save, Save As, -, Print [Selected Item , Entire List], -, , , ]",
                  "Edit [Undo Ctrl+Z, Redo Ctrl+Y, Copy Formated Text Ctrl+C, Paste Formated Text Ctrl+V, "
                  "Add [Add Row, Add Column], Delete [Delete Row, Delete Column], Insert [Row, Column]]",
                  "View [Tool Bar, Text Bar]",
                  "Data [Import External Data [From File], Export Data [Group into Excel Spreadsheet, Selected Item "
                  "into Excel Form]]",
                  "Transfer Item",
                  "Help",
              }));
    EXPECT_TRUE(window.menu(QStringLiteral("toolbar"))->isChecked());
    EXPECT_TRUE(window.menu(QStringLiteral("textbar"))->isChecked());
    for (const char* name : {"file1", "file2", "file3"})
        EXPECT_FALSE(window.menu(QString::fromLatin1(name))->isVisible()) << name;
}

TEST_F(ItemsWindow, ControlsCarryTheirTipsAndCaptions)
{
    const QList<std::pair<const char*, const char*>> tips = {
        {"btnBack", "Back"},           {"cmdNew", "New"},
        {"cmdOpen", "Open"},           {"cmdSave", "Save"},
        {"cmdPrintOptions", "Print"},  {"cmdList", "List Item Groups"},
        {"cmdFindFiles", "Search Computer for Item Group Files"},
        {"cmdUndo", "Undo"},           {"cmdRedo", "Redo"},
        {"cmdFind", "Find"},           {"cmdBold", "Bold"},
        {"cmdItalic", "Italic"},       {"cmdUnderlined", "Underline"},
        {"cmdFontColor", "Font Color"}, {"ExactMatch", "Exact Match"},
        {"FindInList", "Find the text"}, {"ReplaceAll", "Replace all"},
        {"ReplaceInList", "Find and Replace "}, {"Label1", "Close Find Menu"},
    };
    for (const auto& [name, tip] : tips) {
        const QAbstractButton* b = window.button(QString::fromLatin1(name));
        ASSERT_NE(b, nullptr) << name;
        // Check boxes show their caption; the others their tooltip.
        EXPECT_EQ(b->toolTip().isEmpty() ? b->text() : b->toolTip(), QString::fromLatin1(tip)) << name;
    }
    EXPECT_EQ(window.button(QStringLiteral("cmdBold"))->text(), QStringLiteral("B"));
    EXPECT_EQ(window.button(QStringLiteral("cmdItalic"))->text(), QStringLiteral("I"));
    EXPECT_EQ(window.button(QStringLiteral("cmdUnderlined"))->text(), QStringLiteral("U"));
    EXPECT_EQ(window.button(QStringLiteral("cmdFontColor"))->text(), QStringLiteral("A C"));
    EXPECT_EQ(window.button(QStringLiteral("FindInList"))->text(), QStringLiteral("Find"));
    EXPECT_EQ(window.button(QStringLiteral("ReplaceInList"))->text(), QStringLiteral("Replace"));
    EXPECT_EQ(window.button(QStringLiteral("Label1"))->text(), QStringLiteral("X"));
    EXPECT_EQ(window.TextText()->toolTip(), QStringLiteral("Edit"));
    EXPECT_EQ(window.TextText()->maxLength(), 80);
    EXPECT_EQ(window.Find()->findChild<QLineEdit*>(QStringLiteral("txttoFind"))->toolTip(), QStringLiteral("text to Find"));
    EXPECT_EQ(window.Find()->findChild<QLineEdit*>(QStringLiteral("txttoReplace"))->toolTip(),
              QStringLiteral("Text to Replace"));
    EXPECT_TRUE(window.Find()->isHidden());
    EXPECT_TRUE(window.PleaseWait()->isHidden());
    EXPECT_EQ(window.PleaseWaitCaption(), QStringLiteral("Quorvane is exporting data into Microsoft Excel file:"));
    const windows::ControlPlace find = window.place(QStringLiteral("Find"));
    EXPECT_EQ(find.Left, 120);
    EXPECT_EQ(find.Top, 360);
    EXPECT_EQ(find.Height, 615);
    EXPECT_GE(find.Width, 3300); // widened where its captions need it
}

TEST_F(ItemsWindow, HelpShowsTheItemsTopic)
{
    RecordingViewer viewer;
    platform::setHelpViewer(&viewer);
    window.menu(QStringLiteral("Help"))->trigger();
    platform::setHelpViewer(nullptr);
    EXPECT_EQ(viewer.shown, (QStringList{folder.filePath(QStringLiteral("VURira.chm")), "Main", "Items.htm"}));
}

TEST_F(ItemsWindow, AnItemGroupStopsAt65001Rows)
{
    grid::DocumentList& list = window.List1();
    list.AddMoreThanOneRow(65000 - list.ListCount());
    window.DODARED();
    ASSERT_EQ(list.ListCount(), 65001);
    prompts->queueAnswer(Answer::OK);
    window.setlblChangeStatus(QStringLiteral("0"));
    window.DODARED();
    EXPECT_EQ(list.ListCount(), 65001);
    EXPECT_EQ(window.lblChangeStatus(), QStringLiteral("0"));
    EXPECT_EQ(prompts->recorded().last().text,
              QStringLiteral("Velkorn's Quorvane for Microsoft Excel integrate file size into .xls (MS Excel) format. "
                             "Maximum records per one Item Group is therefore limited to 65 001 record (slightly "
                             "smaller then current Excel spreadsheet limitation at 65,536, respectfully).")
                  + QString(12, QLatin1Char(' '))
                  + QStringLiteral("If you wish to add more Items into your Quorvane, create new item group file. "));
    EXPECT_EQ(prompts->recorded().last().style, 16);
}

// The row that was last moves down under the new empty row.
TEST_F(ItemsWindow, AddedRowsGoAboveTheLastRow)
{
    grid::DocumentList& list = window.List1();
    const int rows = list.ListCount();
    list.ChangeItem(rows, 1, QStringLiteral("last"));
    window.DODARED();
    EXPECT_EQ(list.GetItem(rows, 1), QString());
    EXPECT_EQ(list.GetItem(rows + 1, 1), QStringLiteral("last"));
}

TEST_F(ItemsWindow, TheActiveColumnIsAlwaysANumberOfAtLeastOne)
{
    const struct {
        QString caption, kept;
        bool message;
    } cases[] = {
        {QStringLiteral("3"), QStringLiteral("3"), false},
        {QStringLiteral("0"), QStringLiteral("1"), false},
        {QStringLiteral("-2"), QStringLiteral("1"), false},
        {QStringLiteral("x"), QStringLiteral("1"), true},
    };
    for (const auto& c : cases) {
        prompts.script().clear();
        if (c.message)
            prompts->queueAnswer(Answer::OK);
        window.setActiveColumn(c.caption);
        EXPECT_EQ(window.ActiveColumn(), c.kept) << c.caption.toStdString();
        EXPECT_EQ(prompts->texts(), c.message ? QStringList{"YOU CAN ENTER ONLY NUMBERS!"} : QStringList());
    }
}

// A fresh grid's default columns come with an empty clipboard.
TEST_F(ItemsWindow, TheDefaultColumnsEmptyTheClipboard)
{
    platform::setClipboardText(QStringLiteral("left over"));
    window.NEWLIST();
    EXPECT_EQ(platform::clipboardText(), QString());
    EXPECT_EQ(window.List1().GetColumnHeader(1), QStringLiteral("Item Name"));
}

} // namespace
