// DocumentWindow's editing commands: columns, rows, the cell formats and colour, copying and
// pasting a cell with its format, undo and redo, and the Find frame's find and replace. Each
// is a thin layer over the grid List1: the window picks the cell, column or row, asks its
// questions and keeps the changed mark.

#include "windows/document/documentwindow.h"

#include "grid/documents/documentlist.h"
#include "platform/desktop.h"
#include "platform/prompts.h"

#include <QAbstractButton>
#include <QAction>
#include <QCheckBox>
#include <QCoreApplication>
#include <QFileInfo>
#include <QFrame>
#include <QLineEdit>

namespace windows {

using platform::Answer;

namespace {

constexpr int NewColumnWidth = 100;
constexpr int ColumnNameLength = 15;
// The text bar's limit once a column has been named.
constexpr int TextBarLimitAfterNaming = 30;

const QString ColumnNamePrompt = QStringLiteral("Enter the Column Name ( up to 15 characters) ");
const QString TooManyColumns = QStringLiteral(
    "Quorvane can't add another column: a list holds at most 32 columns. Delete a column you no longer need first.");

// The button that shows and sets a format, in the order of CellFormat.
QString formatButton(int format)
{
    static const QString names[] = {QStringLiteral("cmdBold"), QStringLiteral("cmdItalic"),
                                    QStringLiteral("cmdUnderlined")};
    return names[format];
}

} // namespace

void DocumentWindow::connectEditingCommands()
{
    onMenu(QStringLiteral("AddColumn"), [this] { AddColumn_Click(); });
    onMenu(QStringLiteral("insertcolumn"), [this] { insertcolumn_Click(); });
    onMenu(QStringLiteral("deletecolumn"), [this] { deletecolumn_Click(); });
    onMenu(QStringLiteral("AddRow"), [this] { AddRow_Click(); });
    onMenu(QStringLiteral("InserRow"), [this] { InserRow_Click(); });
    onMenu(QStringLiteral("deleterow"), [this] { deleterow_Click(); });
    onMenu(QStringLiteral("Copy"), [this] { Copy_Click(); });
    onMenu(QStringLiteral("paste"), [this] { paste_Click(); });
    onMenu(QStringLiteral("undo"), [this] { cmdUndo_Click(); });
    onMenu(QStringLiteral("redo"), [this] { cmdRedo_Click(); });
    onButton(QStringLiteral("cmdBold"), [this] { cmdBold_Click(); });
    onButton(QStringLiteral("cmdItalic"), [this] { cmdItalic_Click(); });
    onButton(QStringLiteral("cmdUnderlined"), [this] { cmdUnderlined_Click(); });
    onButton(QStringLiteral("cmdFontColor"), [this] { cmdFontColor_Click(); });
    onButton(QStringLiteral("cmdUndo"), [this] { cmdUndo_Click(); });
    onButton(QStringLiteral("cmdRedo"), [this] { cmdRedo_Click(); });
    // Ctrl+Z and Ctrl+Y are Undo and Redo in every document window, also where the Edit menu
    // has no entries for them (the Undo and Redo buttons are there).
    const auto addKey = [this](const char* name, const QKeySequence& key, void (DocumentWindow::*command)()) {
        if (menu(QString::fromLatin1(name)))
            return;
        auto* action = new QAction(this);
        action->setShortcut(key);
        addAction(action);
        connect(action, &QAction::triggered, this, [this, command] { (this->*command)(); });
    };
    addKey("undo", QKeySequence(Qt::CTRL | Qt::Key_Z), &DocumentWindow::cmdUndo_Click);
    addKey("redo", QKeySequence(Qt::CTRL | Qt::Key_Y), &DocumentWindow::cmdRedo_Click);
    onButton(QStringLiteral("FindInList"), [this] { FindInList_Click(); });
    onButton(QStringLiteral("ReplaceInList"), [this] { ReplaceInList_Click(); });

    onMenu(QStringLiteral("importfromexcel"), [this] { importfromexcel_Click(); });
    onMenu(QStringLiteral("exporttoexcel"), [this] { exporttoexcel_Click(); });
    onMenu(QStringLiteral("printentirelist"), [this] { printentirelist_Click(); });
    onButton(QStringLiteral("cmdPrintOptions"), [this] { cmdPrintOptions_Click(); });
    onButton(QStringLiteral("cmdFindFiles"), [this] { cmdFindFiles_Click(); });
    onButton(QStringLiteral("cmdList"), [this] { cmdList_Click(); });
}

// ---------------------------------------------------------------------------------------
// The active cell

int DocumentWindow::activeColumnNumber()
{
    m_list->COLUMNUMBER();
    return m_activeColumn.toInt();
}

bool DocumentWindow::isCell(int row, int column) const
{
    return row >= 1 && row <= m_list->ListCount() && column >= 1 && column <= m_list->ColumnCount();
}

// The focus passes through the Undo button on its way back to the grid, as the row commands
// have always done; a hidden tool bar leaves that step out.
void DocumentWindow::focusThroughUndo()
{
    if (QAbstractButton* undo = button(QStringLiteral("cmdUndo")); undo && undo->isVisible())
        undo->setFocus();
    m_list->setFocus();
}

// ---------------------------------------------------------------------------------------
// Columns

// A grid with its 32 columns takes no more, and nothing the user would lose (the undo history,
// a cell moved aside) is touched for a column that cannot come.
bool DocumentWindow::refuseColumnBeyondLast()
{
    if (m_list->ColumnCount() < grid::GridCore::MaxColumns)
        return false;
    prompts().MsgBox(TooManyColumns, platform::MsgStyle::Critical);
    return true;
}

std::optional<QString> DocumentWindow::askColumnName()
{
    const QString answer = prompts().InputBox(ColumnNamePrompt);
    if (answer.isEmpty())
        return std::nullopt;
    return answer.left(ColumnNameLength);
}

void DocumentWindow::AddColumn_Click()
{
    if (refuseColumnBeyondLast())
        return;
    const std::optional<QString> name = askColumnName();
    if (!name)
        return;
    m_list->AddColumn(m_list->ColumnCount() + 1, NewColumnWidth, *name);
    // A column appended takes the editing state of the one to its left; behind a new
    // transaction's item columns, which take no typing, it would take none either.
    m_list->EnableEdit(m_list->ColumnCount());
    setTextBarLimit(TextBarLimitAfterNaming);
    m_list->ClearUndoRedo();
    markChanged();
}

void DocumentWindow::insertcolumn_Click()
{
    const int k = activeColumnNumber();
    if (k <= m_kind.protectedColumns) {
        if (prompts().MsgBox(m_kind.insertColumnQuestion, platform::MsgStyle::YesNo) != Answer::No)
            AddColumn_Click();
        return;
    }
    if (k > m_list->ColumnCount() || refuseColumnBeyondLast())
        return;
    copyActiveCell(k);
    const std::optional<QString> name = askColumnName();
    if (!name)
        return;
    m_list->ClearUndoRedo();
    // The new empty column takes the active column's place; the active cell moves one place
    // right with its text and takes the colour the copy kept.
    m_list->AddColumn(k, NewColumnWidth, *name);
    setSwatch(m_copied.BackColor);
    m_list->SetColor(m_list->iSelected(), k + 1, m_swatchColor);
    setTextBarLimit(TextBarLimitAfterNaming);
    platform::clearClipboard();
    markChanged();
    m_list->ClearUndoRedo();
}

void DocumentWindow::deletecolumn_Click()
{
    const int k = activeColumnNumber();
    if (prompts().MsgBox(QStringLiteral("Permanently delete column ") + m_list->GetColumnHeader(k)
                             + QStringLiteral(" and all its contents ?"),
                         platform::MsgStyle::YesNo)
        == Answer::No)
        return;
    if (k <= m_kind.protectedColumns) {
        const QString program = QFileInfo(QCoreApplication::applicationFilePath()).completeBaseName();
        prompts().MsgBox(m_kind.deleteColumnRefusal, platform::MsgStyle::Critical,
                         program + QStringLiteral(" can't let you delete this column!"));
        return;
    }
    if (k > m_list->ColumnCount())
        return;
    m_list->SelectItem(1, 1);
    m_list->RemoveColumn(k);
    m_list->SelectItem(1, 1);
    m_list->ClearUndoRedo();
    markChanged();
}

// ---------------------------------------------------------------------------------------
// Rows

void DocumentWindow::AddRow_Click()
{
    DODARED();
    focusThroughUndo();
}

void DocumentWindow::InserRow_Click()
{
    markChanged();
    m_list->AddRow(QString(), m_list->iSelected());
    m_list->RenderColumn(1);
    focusThroughUndo();
}

// The selection ends on the row that took the removed row's place, or on the new last row.
void DocumentWindow::deleterow_Click()
{
    const int row = m_list->iSelected();
    if (row < 1 || row > m_list->ListCount())
        return;
    m_list->RemoveItem(row);
    markChanged();
    m_list->SelectItem(m_list->iSelected() + 1, 1);
    m_list->SelectItem(m_list->iSelected() - 1, 1);
}

// ---------------------------------------------------------------------------------------
// Formats and colour

bool DocumentWindow::mirror(CellFormat format) const
{
    const QAbstractButton* b = button(formatButton(int(format)));
    if (!b)
        return false;
    switch (format) {
    case CellFormat::Bold:
        return b->font().bold();
    case CellFormat::Italic:
        return b->font().italic();
    case CellFormat::Underline:
        return b->font().underline();
    }
    return false;
}

void DocumentWindow::setMirror(CellFormat format, bool on)
{
    QAbstractButton* b = button(formatButton(int(format)));
    if (!b)
        return;
    QFont font = b->font();
    switch (format) {
    case CellFormat::Bold:
        font.setBold(on);
        break;
    case CellFormat::Italic:
        font.setItalic(on);
        break;
    case CellFormat::Underline:
        font.setUnderline(on);
        break;
    }
    b->setFont(font);
}

void DocumentWindow::setFormat(CellFormat format, int row, int column, bool on)
{
    switch (format) {
    case CellFormat::Bold:
        m_list->SetBold(row, column, on);
        break;
    case CellFormat::Italic:
        m_list->SetItallic(row, column, on);
        break;
    case CellFormat::Underline:
        m_list->SetUnderlined(row, column, on);
        break;
    }
}

// The button shows the active cell's state; pressing it turns the state over.
void DocumentWindow::toggleFormat(CellFormat format)
{
    const int row = m_list->iSelected();
    const int column = m_activeColumn.toInt();
    const bool on = !mirror(format);
    setFormat(format, row, column, on);
    setMirror(format, on);
    if (isCell(row, column))
        markChanged();
}

void DocumentWindow::cmdBold_Click()
{
    toggleFormat(CellFormat::Bold);
}

void DocumentWindow::cmdItalic_Click()
{
    toggleFormat(CellFormat::Italic);
}

void DocumentWindow::cmdUnderlined_Click()
{
    toggleFormat(CellFormat::Underline);
}

// A cancelled colour dialog changes nothing.
void DocumentWindow::cmdFontColor_Click()
{
    if (!prompts().ShowColor(m_context.dialog))
        return;
    const int row = m_list->iSelected();
    const int column = m_activeColumn.toInt();
    setSwatch(m_context.dialog.Color);
    m_list->SetColor(row, column, m_swatchColor);
    if (isCell(row, column))
        markChanged();
}

void DocumentWindow::Picture1_Click()
{
    cmdFontColor_Click();
}

// ---------------------------------------------------------------------------------------
// Copy and paste with the format

void DocumentWindow::copyActiveCell(int column)
{
    const QString text = m_list->GetItem(m_list->iSelected(), column);
    if (!text.isEmpty())
        platform::setClipboardText(text);
    m_copied = {mirror(CellFormat::Bold), mirror(CellFormat::Italic), mirror(CellFormat::Underline), m_swatchColor};
}

void DocumentWindow::Copy_Click()
{
    copyActiveCell(activeColumnNumber());
}

// The copied styles are added to the cell's own; the copied colour and the clipboard's text
// replace the cell's.
void DocumentWindow::paste_Click()
{
    const int column = activeColumnNumber();
    const int row = m_list->iSelected();
    const std::pair<CellFormat, bool> styles[] = {{CellFormat::Bold, m_copied.FontBold},
                                                  {CellFormat::Italic, m_copied.FontItalic},
                                                  {CellFormat::Underline, m_copied.FontUnderline}};
    for (const auto& [format, copied] : styles)
        if (copied) {
            setFormat(format, row, column, true);
            setMirror(format, true);
        }
    setSwatch(m_copied.BackColor);
    m_list->SetColor(row, column, m_swatchColor);
    if (const QString text = platform::clipboardText(); !text.isEmpty())
        m_list->ChangeItem(row, column, text);
    if (isCell(row, column))
        markChanged();
}

// ---------------------------------------------------------------------------------------
// Undo and redo

void DocumentWindow::cmdUndo_Click()
{
    if (m_list->undo())
        markChanged();
    else
        prompts().MsgBox(QStringLiteral("Cant undo!"));
    focusThroughUndo();
}

void DocumentWindow::cmdRedo_Click()
{
    if (m_list->redo())
        markChanged();
    else
        prompts().MsgBox(QStringLiteral("Cant redo!"));
}

// ---------------------------------------------------------------------------------------
// Find and replace

QString DocumentWindow::findFieldText(const QString& name) const
{
    const auto* field = m_findFrame->findChild<QLineEdit*>(name);
    return field ? field->text() : QString();
}

bool DocumentWindow::findCheck(const QString& name) const
{
    const auto* check = qobject_cast<const QCheckBox*>(button(name));
    return check && check->isChecked();
}

void DocumentWindow::FindInList_Click()
{
    if (!m_list->FindText(findFieldText(QStringLiteral("txttoFind")), findCheck(QStringLiteral("ExactMatch"))))
        prompts().MsgBox(QStringLiteral("Not Found!"));
}

void DocumentWindow::ReplaceInList_Click()
{
    if (m_list->FindAndReplaceText(findFieldText(QStringLiteral("txttoFind")),
                                   findFieldText(QStringLiteral("txttoReplace")), findCheck(QStringLiteral("ReplaceAll")),
                                   findCheck(QStringLiteral("ExactMatch"))))
        markChanged();
    else
        prompts().MsgBox(QStringLiteral("Not Found!"));
}

} // namespace windows
