// The editing commands of the document windows, run from their menus and buttons on the real
// window and grid: columns, rows, formats, colour, copy and paste, the text bar, undo and
// redo, each with what it does to the changed mark.

#include "documentfixture.h"

#include "platform/desktop.h"

#include <QApplication>
#include <QCheckBox>
#include <QKeyEvent>
#include <QTest>

namespace windowtest {
namespace {

using platform::Answer;

const QString ColumnPrompt = QStringLiteral("Enter the Column Name ( up to 15 characters) ");

class Editing : public DocumentFixture {
protected:
    void SetUp() override
    {
        openWindow();
        // Every column takes typing, as after opening a file (a new transaction locks its
        // line-item columns until then).
        for (int k = 1; k <= window->List1().ColumnCount(); ++k)
            window->List1().EnableEdit(k);
        window->activateWindow();
        ASSERT_TRUE(QTest::qWaitForWindowActive(window.get()));
        platform::clearClipboard();
    }

    grid::DocumentList& list() { return window->List1(); }

    // A document of `columns` columns after the kind's own, with its cells named by place
    // ("r2c3"), saved as it is: the changed mark reads 0 and the history is empty.
    void fill(int extraColumns)
    {
        // Added as Add Column adds them: editable, also after a kind's locked columns.
        for (int k = 0; k < extraColumns; ++k) {
            list().AddColumn(list().ColumnCount() + 1, 80, QStringLiteral("Extra %1").arg(k + 1));
            list().EnableEdit(list().ColumnCount());
        }
        for (int r = 1; r <= 4; ++r)
            for (int c = 1; c <= list().ColumnCount(); ++c)
                list().ChangeItem(r, c, QStringLiteral("r%1c%2").arg(r).arg(c));
        settle();
    }
    void settle()
    {
        list().ClearUndoRedo();
        window->setlblChangeStatus(QStringLiteral("0"));
    }
    // The user clicks the cell: its row opens and its column's editor takes the focus.
    void select(int row, int column)
    {
        list().SelectItem(row, 1, column);
        ASSERT_EQ(window->ActiveColumn(), QString::number(column));
    }
    void choose(const char* name)
    {
        QAction* entry = window->menu(QString::fromLatin1(name));
        ASSERT_NE(entry, nullptr) << name;
        entry->trigger();
    }
    void press(const char* name)
    {
        QAbstractButton* b = window->button(QString::fromLatin1(name));
        ASSERT_NE(b, nullptr) << name;
        b->click();
    }
    bool has(const char* control) const
    {
        return window->menu(QString::fromLatin1(control)) || window->button(QString::fromLatin1(control));
    }
    // Undo and Redo from the Edit menu where the kind has them there, else from the tool bar.
    bool hasUndo() const { return has("undo") || has("cmdUndo"); }
    void undoStep() { window->menu(QStringLiteral("undo")) ? choose("undo") : press("cmdUndo"); }
    void redoStep() { window->menu(QStringLiteral("redo")) ? choose("redo") : press("cmdRedo"); }
    QString mark() const { return window->lblChangeStatus(); }
    QStringList headers()
    {
        QStringList out;
        for (int k = 1; k <= list().ColumnCount(); ++k)
            out << list().GetColumnHeader(k);
        return out;
    }
    bool bold(const char* button) const { return window->button(QString::fromLatin1(button))->font().bold(); }
};

// ---- Columns

TEST_P(Editing, AddColumnAppendsANamedColumnAndMarksTheChange)
{
    fill(0);
    const int columns = list().ColumnCount();
    select(1, 1);
    list().ChangeItem(2, 1, QStringLiteral("changed"));
    prompts->queueInput(QStringLiteral("Twenty characters!!!"));
    choose("AddColumn");
    EXPECT_EQ(prompts->recorded().last().text, ColumnPrompt);
    const int last = list().ColumnCount();
    ASSERT_EQ(last, columns + 1);
    EXPECT_EQ(list().GetColumnHeader(last), QStringLiteral("Twenty characte"));
    EXPECT_EQ(list().GetWidthColumn(last), 100);
    EXPECT_EQ(list().GetItem(1, 1), QStringLiteral("r1c1"));
    // The text bar still shows the active cell, so that an edit there starts from its text.
    EXPECT_EQ(window->TextText()->text(), QStringLiteral("r1c1"));
    EXPECT_EQ(window->TextText()->maxLength(), 30);
    EXPECT_EQ(mark(), QStringLiteral("1"));

    // A column change empties the history: what came before cannot be undone.
    prompts->queueAnswer(Answer::OK);
    window->cmdUndo_Click();
    EXPECT_EQ(prompts->recorded().last().text, QStringLiteral("Cant undo!"));
    EXPECT_EQ(list().GetItem(2, 1), QStringLiteral("changed"));

    // Cancel at the name adds nothing and changes nothing.
    settle();
    prompts->queueInput(QString());
    choose("AddColumn");
    EXPECT_EQ(list().ColumnCount(), last);
    EXPECT_EQ(mark(), QStringLiteral("0"));
}

// A grid holds 32 columns. A command for a 33rd is refused before it asks for a name, and
// nothing is touched: no cell moves, the undo history stays.
TEST_P(Editing, AColumnBeyondTheLastIsRefused)
{
    fill(grid::GridCore::MaxColumns - list().ColumnCount());
    ASSERT_EQ(list().ColumnCount(), 32);
    list().ChangeItem(1, 1, QStringLiteral("undoable"));
    window->setlblChangeStatus(QStringLiteral("0"));
    const int column = row().protectedColumns + 1;
    select(2, column);
    const QString refusal =
        QStringLiteral("Quorvane can't add another column: a list holds at most 32 columns. Delete a column you no "
                       "longer need first.");

    for (const char* command : {"AddColumn", "insertcolumn"}) {
        prompts.script().clear();
        prompts->queueAnswer(Answer::OK);
        choose(command);
        EXPECT_EQ(prompts->texts(), QStringList{refusal}) << command;
        EXPECT_EQ(prompts->recorded().last().style, 16) << command;
    }
    EXPECT_EQ(list().ColumnCount(), 32);
    EXPECT_EQ(list().GetItem(2, column), QStringLiteral("r2c%1").arg(column));
    EXPECT_EQ(list().GetItem(2, column + 1), QStringLiteral("r2c%1").arg(column + 1));
    EXPECT_EQ(mark(), QStringLiteral("0"));
    ASSERT_TRUE(list().undo());
    EXPECT_EQ(list().GetItem(1, 1), QStringLiteral("r1c1"));
}

TEST_P(Editing, InsertColumnInFrontOfTheProtectedColumnsOffersToAppend)
{
    fill(1);
    const int columns = list().ColumnCount();
    select(1, row().protectedColumns);
    prompts->queueAnswer(Answer::No);
    choose("insertcolumn");
    EXPECT_EQ(prompts->texts(), QStringList{row().insertColumnQuestion});
    EXPECT_EQ(prompts->recorded().last().style, 4);
    EXPECT_EQ(list().ColumnCount(), columns);

    prompts->queueAnswer(Answer::Yes);
    prompts->queueInput(QStringLiteral("Colour"));
    choose("insertcolumn");
    EXPECT_EQ(list().ColumnCount(), columns + 1);
    EXPECT_EQ(list().GetColumnHeader(columns + 1), QStringLiteral("Colour"));
    EXPECT_EQ(list().GetItem(1, row().protectedColumns), QStringLiteral("r1c%1").arg(row().protectedColumns));
}

// The new empty column takes the active column's place; the active cell moves one place right
// with its text and colour; the clipboard ends empty and the document is changed.
TEST_P(Editing, InsertColumnMovesTheActiveCellRight)
{
    fill(2);
    const int k = row().protectedColumns + 1;
    list().SetColor(3, k, 0x0000FF);
    settle();
    platform::setClipboardText(QStringLiteral("from elsewhere"));
    select(3, k);
    prompts->queueInput(QStringLiteral("Grade"));
    choose("insertcolumn");
    EXPECT_EQ(list().GetColumnHeader(k), QStringLiteral("Grade"));
    EXPECT_EQ(list().GetItem(3, k), QString());
    EXPECT_EQ(list().GetItem(3, k + 1), QStringLiteral("r3c%1").arg(k));
    EXPECT_EQ(list().GetColor(3, k + 1), 0x0000FFu);
    EXPECT_EQ(list().GetItem(1, k + 1), QStringLiteral("r1c%1").arg(k));
    EXPECT_EQ(platform::clipboardText(), QString());
    EXPECT_EQ(window->TextText()->maxLength(), 30);
    EXPECT_EQ(mark(), QStringLiteral("1"));
    prompts->queueAnswer(Answer::OK);
    window->cmdUndo_Click();
    EXPECT_EQ(prompts->texts().last(), QStringLiteral("Cant undo!"));

    // An empty active cell stays empty, whatever the clipboard held.
    list().ChangeItem(4, k, QString());
    settle();
    platform::setClipboardText(QStringLiteral("from elsewhere"));
    select(4, k);
    prompts->queueInput(QStringLiteral("Size"));
    choose("insertcolumn");
    EXPECT_EQ(list().GetItem(4, k + 1), QString());
    EXPECT_EQ(platform::clipboardText(), QString());
}

TEST_P(Editing, DeleteColumnAsksAndKeepsTheProtectedColumns)
{
    fill(3);
    const QStringList before = headers();
    const int p = row().protectedColumns;
    select(1, p);
    prompts->queueAnswer(Answer::Yes);
    prompts->queueAnswer(Answer::OK);
    choose("deletecolumn");
    ASSERT_EQ(prompts->recorded().size(), 2);
    EXPECT_EQ(prompts->recorded()[0].text,
              QStringLiteral("Permanently delete column ") + before[p - 1] + QStringLiteral(" and all its contents ?"));
    EXPECT_EQ(prompts->recorded()[1].text, row().deleteColumnRefusal);
    EXPECT_EQ(prompts->recorded()[1].style, 16);
    EXPECT_TRUE(prompts->recorded()[1].title.endsWith(QStringLiteral(" can't let you delete this column!")));
    EXPECT_EQ(headers(), before);
    EXPECT_EQ(mark(), QStringLiteral("0"));

    select(2, p + 1);
    prompts->queueAnswer(Answer::No);
    choose("deletecolumn");
    EXPECT_EQ(headers(), before);

    select(2, p + 1);
    prompts->queueAnswer(Answer::Yes);
    choose("deletecolumn");
    QStringList after = before;
    after.removeAt(p);
    EXPECT_EQ(headers(), after);
    EXPECT_EQ(list().GetItem(2, p + 1), QStringLiteral("r2c%1").arg(p + 2));
    EXPECT_EQ(list().iSelected(), 1);
    EXPECT_EQ(mark(), QStringLiteral("1"));
}

// ---- Rows

TEST_P(Editing, InsertAndDeleteRowMarkTheChangeAndUndo)
{
    if (!has("InserRow"))
        GTEST_SKIP() << "the kind has no Insert Row";
    fill(0);
    const int rows = list().ListCount();
    select(2, 1);
    choose("InserRow");
    EXPECT_EQ(list().ListCount(), rows + 1);
    EXPECT_EQ(list().GetItem(2, 1), QString());
    EXPECT_EQ(list().GetItem(3, 1), QStringLiteral("r2c1"));
    EXPECT_EQ(mark(), QStringLiteral("1"));
    window->setlblChangeStatus(QStringLiteral("0"));
    press("cmdUndo");
    EXPECT_EQ(list().GetItem(2, 1), QStringLiteral("r2c1"));
    EXPECT_EQ(mark(), QStringLiteral("1"));
    window->setlblChangeStatus(QStringLiteral("0"));
    press("cmdRedo");
    EXPECT_EQ(list().GetItem(3, 1), QStringLiteral("r2c1"));
    EXPECT_EQ(mark(), QStringLiteral("1"));
}

TEST_P(Editing, DeleteRowSelectsTheRowThatTookItsPlace)
{
    fill(0);
    const int rows = list().ListCount();
    select(2, 1);
    choose("deleterow");
    EXPECT_EQ(list().ListCount(), rows - 1);
    EXPECT_EQ(list().GetItem(2, 1), QStringLiteral("r3c1"));
    EXPECT_EQ(list().iSelected(), 2);
    EXPECT_EQ(mark(), QStringLiteral("1"));

    select(rows - 1, 1);
    choose("deleterow");
    EXPECT_EQ(list().iSelected(), rows - 2);

    // With no row selected nothing is removed and nothing is changed.
    settle();
    list().core().setiSelected(0);
    choose("deleterow");
    EXPECT_EQ(list().ListCount(), rows - 2);
    EXPECT_EQ(mark(), QStringLiteral("0"));
}

// ---- Formats and colour

TEST_P(Editing, FormatButtonsTurnTheActiveCellsFormatOverAndBack)
{
    fill(0);
    const struct {
        const char* button;
        bool (*of)(grid::DocumentList&, int, int);
        bool (*shows)(const QFont&);
    } formats[] = {
        {"cmdBold", [](grid::DocumentList& l, int r, int c) { return l.core().cell(r, c).Bold; },
         [](const QFont& f) { return f.bold(); }},
        {"cmdItalic", [](grid::DocumentList& l, int r, int c) { return l.GetItallic(r, c); },
         [](const QFont& f) { return f.italic(); }},
        {"cmdUnderlined", [](grid::DocumentList& l, int r, int c) { return l.GetUnderlined(r, c); },
         [](const QFont& f) { return f.underline(); }},
    };
    for (const auto& f : formats) {
        SCOPED_TRACE(f.button);
        settle();
        select(2, 2);
        press(f.button);
        EXPECT_TRUE(f.of(list(), 2, 2));
        EXPECT_TRUE(f.shows(window->button(QString::fromLatin1(f.button))->font()));
        EXPECT_EQ(mark(), QStringLiteral("1"));
        press(f.button);
        EXPECT_FALSE(f.of(list(), 2, 2));
        EXPECT_FALSE(f.shows(window->button(QString::fromLatin1(f.button))->font()));
        if (!has("cmdUndo"))
            continue;
        window->setlblChangeStatus(QStringLiteral("0"));
        press("cmdUndo");
        EXPECT_TRUE(f.of(list(), 2, 2));
        EXPECT_EQ(mark(), QStringLiteral("1"));
        press("cmdUndo");
        EXPECT_FALSE(f.of(list(), 2, 2));
    }
}

TEST_P(Editing, TheFontColourComesFromTheColourDialogAndCancelChangesNothing)
{
    fill(0);
    select(2, 1);
    prompts->queueColor(0x00FF00);
    press("cmdFontColor");
    EXPECT_EQ(list().GetColor(2, 1), 0x00FF00u);
    EXPECT_EQ(window->Picture1BackColor(), 0x00FF00u);
    EXPECT_EQ(mark(), QStringLiteral("1"));

    settle();
    select(3, 1);
    const uint32_t before = list().GetColor(3, 1);
    prompts->queueColorCancel();
    press("cmdFontColor");
    EXPECT_EQ(list().GetColor(3, 1), before);
    EXPECT_EQ(window->Picture1BackColor(), before);
    EXPECT_EQ(mark(), QStringLiteral("0"));
    if (!has("cmdUndo"))
        return;
    prompts->queueAnswer(Answer::OK);
    window->cmdUndo_Click();
    EXPECT_EQ(prompts->texts().last(), QStringLiteral("Cant undo!"));
}

// ---- Copy and paste

TEST_P(Editing, PasteGivesTheCopiedTextStylesAndColour)
{
    if (!has("paste"))
        GTEST_SKIP() << "the kind has no Paste Formated Text";
    fill(0);
    // Before any copy: no style comes, and the colour is the button face's.
    platform::setClipboardText(QStringLiteral("outside"));
    select(4, 1);
    choose("paste");
    EXPECT_EQ(list().GetItem(4, 1), QStringLiteral("outside"));
    EXPECT_EQ(list().GetColor(4, 1), 0x8000000Fu);
    EXPECT_FALSE(list().core().cell(4, 1).Bold);
    EXPECT_EQ(mark(), QStringLiteral("1"));

    // A bold red cell onto a bold cell: it stays bold, turns red and takes the text.
    list().SetBold(1, 1, true);
    list().SetColor(1, 1, 0x0000FF);
    list().SetBold(2, 2, true);
    settle();
    select(1, 1);
    choose("Copy");
    EXPECT_EQ(platform::clipboardText(), QStringLiteral("r1c1"));
    EXPECT_EQ(window->copiedFormat(), (windows::DocumentWindow::CopiedFormat{true, false, false, 0x0000FF}));
    EXPECT_EQ(mark(), QStringLiteral("0"));
    select(2, 2);
    choose("paste");
    EXPECT_EQ(list().GetItem(2, 2), QStringLiteral("r1c1"));
    EXPECT_TRUE(list().core().cell(2, 2).Bold);
    EXPECT_EQ(list().GetColor(2, 2), 0x0000FFu);
    EXPECT_TRUE(bold("cmdBold"));
    EXPECT_EQ(window->TextText()->text(), QStringLiteral("r1c1"));
    EXPECT_EQ(mark(), QStringLiteral("1"));

    // Copying an empty cell keeps the clipboard's text.
    list().ChangeItem(3, 1, QString());
    select(3, 1);
    choose("Copy");
    EXPECT_EQ(platform::clipboardText(), QStringLiteral("r1c1"));
}

// ---- The text bar

TEST_P(Editing, TheTextBarEditsTheActiveCell)
{
    fill(0);
    select(2, 1);
    EXPECT_EQ(window->TextText()->text(), QStringLiteral("r2c1"));
    EXPECT_EQ(mark(), QStringLiteral("0"));

    window->TextText()->setFocus();
    EXPECT_EQ(window->TextText()->palette().color(QPalette::Base), QColor(0xD5, 0xE1, 0xF1));
    EXPECT_EQ(window->TextText()->selectedText(), QStringLiteral("r2c1"));
    // Enter empties the bar and with it the active cell.
    QTest::keyClick(window->TextText(), Qt::Key_Return);
    EXPECT_EQ(window->TextText()->text(), QString());
    EXPECT_EQ(list().GetItem(2, 1), QString());
    EXPECT_EQ(mark(), QStringLiteral("1"));
    list().setFocus();
    EXPECT_EQ(window->TextText()->palette().color(QPalette::Base), QColor(0xE0, 0xE0, 0xE0));
}

// A cell longer than the bar's limit is shown whole, so an edit in the bar keeps its end.
TEST_P(Editing, ALongCellIsNotCutByTheTextBar)
{
    if (window->TextText()->isReadOnly())
        GTEST_SKIP() << "the kind's text bar takes no typing";
    fill(0);
    const QString longText = QString(120, QLatin1Char('x')) + QStringLiteral("END");
    list().ChangeItem(2, 1, longText);
    settle();
    select(2, 1);
    EXPECT_EQ(window->TextText()->text(), longText);
    EXPECT_EQ(list().GetItem(2, 1), longText);
    window->TextText()->setFocus();
    window->TextText()->end(false);
    QTest::keyClick(window->TextText(), Qt::Key_Backspace);
    EXPECT_EQ(list().GetItem(2, 1), longText.chopped(1));
}

// ---- Undo and redo

TEST_P(Editing, UndoAndRedoMarkTheChangeAndReportAnEmptyHistory)
{
    if (!hasUndo())
        GTEST_SKIP() << "the kind has no Undo";
    fill(0);
    prompts->queueAnswer(Answer::OK);
    prompts->queueAnswer(Answer::OK);
    window->cmdUndo_Click();
    window->cmdRedo_Click();
    EXPECT_EQ(prompts->texts(), (QStringList{"Cant undo!", "Cant redo!"}));
    EXPECT_EQ(mark(), QStringLiteral("0"));

    list().ChangeItem(1, 1, QStringLiteral("new"));
    window->setlblChangeStatus(QStringLiteral("0"));
    undoStep();
    EXPECT_EQ(list().GetItem(1, 1), QStringLiteral("r1c1"));
    EXPECT_EQ(mark(), QStringLiteral("1"));
    window->setlblChangeStatus(QStringLiteral("0"));
    redoStep();
    EXPECT_EQ(list().GetItem(1, 1), QStringLiteral("new"));
    EXPECT_EQ(mark(), QStringLiteral("1"));
}

// Every edit that goes into the history comes off again with Undo and back with Redo, as many
// steps as it recorded, and each of the three marks the document changed.
TEST_P(Editing, EveryEditUndoesAndRedoesAndEachStepMarksTheChange)
{
    const struct {
        const char* what;
        const char* control;
        std::function<void()> run;
    } edits[] = {
        {"Add Row", "AddRow", [this] { choose("AddRow"); }},
        {"Insert Row", "InserRow", [this] { choose("InserRow"); }},
        {"Delete Row", "deleterow", [this] { choose("deleterow"); }},
        {"Bold", "cmdBold", [this] { press("cmdBold"); }},
        {"Italic", "cmdItalic", [this] { press("cmdItalic"); }},
        {"Underline", "cmdUnderlined", [this] { press("cmdUnderlined"); }},
        {"Font colour", "cmdFontColor",
         [this] {
             prompts->queueColor(0x3366CC);
             press("cmdFontColor");
         }},
        {"Paste", "paste",
         [this] {
             platform::setClipboardText(QStringLiteral("pasted"));
             choose("paste");
         }},
        {"Text bar", "textbar",
         [this] {
             window->TextText()->setFocus();
             window->TextText()->end(false);
             QTest::keyClicks(window->TextText(), QStringLiteral("xy"));
         }},
    };
    if (!hasUndo())
        GTEST_SKIP() << "the kind has no Undo";
    fill(1);
    const auto snapshot = [this] {
        QStringList cells;
        for (int r = 1; r <= list().ListCount(); ++r)
            for (int c = 1; c <= list().ColumnCount(); ++c) {
                const grid::GridCell cell = list().core().cell(r, c);
                cells << QStringLiteral("%1|%2%3%4|%5")
                             .arg(cell.Text)
                             .arg(cell.Bold)
                             .arg(cell.Italic)
                             .arg(cell.Underline)
                             .arg(cell.Color);
            }
        return cells;
    };
    for (const auto& e : edits) {
        SCOPED_TRACE(e.what);
        if (!has(e.control) || (QString::fromLatin1(e.control) == QLatin1String("textbar") && window->TextText()->isReadOnly()))
            continue;
        settle();
        select(2, 2);
        const QStringList before = snapshot();
        e.run();
        EXPECT_EQ(mark(), QStringLiteral("1"));
        const QStringList after = snapshot();
        EXPECT_NE(after, before);
        const int steps = list().core().UndoStack().stepCount();
        ASSERT_GT(steps, 0);
        window->setlblChangeStatus(QStringLiteral("0"));
        for (int i = 0; i < steps; ++i)
            undoStep();
        EXPECT_EQ(snapshot(), before);
        EXPECT_EQ(mark(), QStringLiteral("1"));
        window->setlblChangeStatus(QStringLiteral("0"));
        for (int i = 0; i < steps; ++i)
            redoStep();
        EXPECT_EQ(snapshot(), after);
        EXPECT_EQ(mark(), QStringLiteral("1"));
    }
}

INSTANTIATE_FOR_EVERY_KIND(Editing);

} // namespace
} // namespace windowtest
