#include "grid/gridselection.h"

#include "grid/gridcore.h"
#include "grid/celltextbox.h"
#include "grid/gridhost.h"
#include "grid/gridwindow.h"
#include "grid/lbltxt.h"
#include "grid/scrollmath.h"
#include "grid/selectionview.h"
#include "platform/keys.h"
#include "platform/prompts.h"

#include <QApplication>
#include <QRect>
#include <QRegion>
#include <QWidget>

namespace grid {

namespace Key = platform::Key;

const QString GridSelection::TransactionColumnsMessage = QStringLiteral(
    "To Enter Item into Transaction, Open Item Group, Select the Item and then click on 'Transfer Item' or Enter button. ");

namespace {

// Tab and Shift+Tab move between the cells, as in every spreadsheet, instead of taking the
// keyboard out of the grid.
bool isTabKey(int keyCode, int shift)
{
    return keyCode == Key::Tab && (shift == 0 || shift == platform::Mask::Shift);
}

// The keys whose table row does something of its own; the text box never sees them.
bool isGridKey(int keyCode, int shift)
{
    return keyCode == Key::Up || keyCode == Key::Down || keyCode == Key::Insert || keyCode == Key::Enter
        || (keyCode == Key::Delete && shift == platform::Mask::Ctrl) || isTabKey(keyCode, shift);
}

} // namespace

GridSelection::GridSelection(GridCore& core, SelectionView& view, QObject* parent)
    : QObject(parent), m_core(core), m_view(view), m_grid(view.editorParent()), m_editors(1, nullptr)
{
    connect(qApp, &QApplication::focusChanged, this, &GridSelection::focusChanged);
}

// The editors go without telling the selection: a focused editor's focus loss must not
// reach a core that may be on its way out.
GridSelection::~GridSelection()
{
    disconnect(qApp, nullptr, this, nullptr);
    for (const QPointer<lblTxt>& e : m_editors) {
        if (e) {
            disconnect(e, nullptr, this, nullptr);
            delete e.data();
        }
    }
}

// ---------------------------------------------------------------- editors

lblTxt* GridSelection::editor(int k) const
{
    return k >= 1 && k < int(m_editors.size()) ? m_editors[k] : nullptr;
}

int GridSelection::lastColumn() const
{
    return int(m_editors.size()) - 1;
}

void GridSelection::syncEditors()
{
    const int count = m_core.ColumnCount();
    while (lastColumn() > count) {
        QPointer<lblTxt> gone = m_editors.back();
        m_editors.pop_back();
        if (gone) {
            gone->hide(); // a focused editor hands its visit in while the core is whole
            delete gone.data();
        }
    }
    while (lastColumn() < count) {
        const int k = lastColumn() + 1;
        auto* e = new lblTxt(m_view.editorParent());
        e->hide();
        e->setClaimedKeys(&isGridKey);
        connect(e, &lblTxt::GotFocus, this, [this, k] { editorGotFocus(k); });
        connect(e, &lblTxt::LostFocus, this, [this, k] { editorLostFocus(k); });
        connect(e, &lblTxt::FocusReturned, this, [this, k] { editorFocusReturned(k); });
        connect(e, &lblTxt::Change, this, [this, k] { editorChanged(k); });
        connect(e, &lblTxt::KeyDown, this, [this, k](int& code, int& shift) { editorKeyDown(k, code, shift); });
        connect(e, &lblTxt::Right, this, [this, k] { editorRight(k); });
        connect(e, &lblTxt::Left, this, [this, k] { editorLeft(k); });
        connect(e, &lblTxt::MouseMove, this, [this] { m_view.setDefaultPointer(); });
        m_editors.push_back(e);
    }
    for (int k = 1; k <= count; ++k)
        m_editors[k]->setEnabled(m_core.isEditEnabled(k));
}

int GridSelection::editorTop(int row) const
{
    return m_view.headerHeight() + GridCore::RowHeight * (row - 1) + m_core.ScrollTop() + 1;
}

void GridSelection::columnsChanged(int first)
{
    const bool cellsMoved = lastColumn() != m_core.ColumnCount() && first <= lastColumn();
    if (rowOpen() && cellsMoved) {
        if (m_visit && m_visit->column >= first)
            m_visit.reset();
        DeselectRow();
    }
    syncEditors();
}

void GridSelection::rowsChanged(int first)
{
    if (m_visit && m_visit->row >= first)
        m_visit.reset();
    if (rowOpen() && m_openRow >= first)
        DeselectRow();
}

void GridSelection::moveEditors()
{
    if (!rowOpen())
        return;
    const int top = editorTop(m_core.iSelected());
    for (int k = 1; k <= lastColumn(); ++k)
        placeEditor(k, top);
    m_view.showRowMarker(top - m_view.headerHeight() - 1, m_core.iSelected());
}

void GridSelection::changeBegins()
{
    closeVisit();
}

void GridSelection::changeEnded()
{
    if (m_reloading || !rowOpen() || m_openRow != m_core.iSelected())
        return;
    m_reloading = true;
    moveEditors();
    for (int k = 1; k <= lastColumn(); ++k) {
        lblTxt* e = m_editors[k];
        if (e->isHidden()) {
            highlightColumn(k, false);
            e->show();
            e->raise();
        }
        loadEditor(k);
    }
    for (int k = 1; k <= lastColumn(); ++k) {
        if (holdsFocus(k)) {
            m_visit = FocusNote{m_openRow, k, m_core.GetItem(m_openRow, k)};
            publishCell(k);
            break;
        }
    }
    m_reloading = false;
}

bool GridSelection::canTakeFocus(int k) const
{
    const lblTxt* e = editor(k);
    return e && e->isEnabled() && m_core.isEditEnabled(k);
}

// The transactions window's item columns are filled by the item transfer: every key there
// only brings up the hint that says so.
bool GridSelection::showsTransferHint(int k) const
{
    return activeList() == GridHost::Transactions && k < FirstTypedTransactionColumn;
}

bool GridSelection::takesTyping(int k) const
{
    return canTakeFocus(k) && !showsTransferHint(k);
}

// Editors are placed in grid coordinates and clipped to the row area, so that an editor of
// a row or column partly scrolled out of view never covers the header, the gutter or the
// scroll strips.
void GridSelection::placeEditor(int k, int top)
{
    const QRect onGrid(m_view.columnAreaLeft() + m_core.columnLeft(k), top, m_core.GetWidthColumn(k),
                       GridCore::RowHeight - 1);
    lblTxt* e = m_editors[k];
    e->setGeometry(onGrid);
    const QRect shown = onGrid & m_view.rowArea();
    if (shown == onGrid)
        e->clearMask();
    else if (shown.isEmpty())
        e->setMask(QRegion(-1, -1, 1, 1)); // wholly outside: nothing of it shows
    else
        e->setMask(QRegion(shown.translated(-onGrid.topLeft())));
}

void GridSelection::loadEditor(int k)
{
    const GridCell cell = m_core.cell(m_core.iSelected(), k);
    lblTxt* e = m_editors[k];
    e->setForeColor(cell.Color);
    e->setBold(cell.Bold);
    e->setItallic(cell.Italic);
    e->setUnderlined(cell.Underline);
    // An editor already showing the text keeps its caret and selection.
    if (e->Text() != cell.Text)
        e->setText(cell.Text);
}

// In an inactive window the editor that will have the focus on activation counts as
// holding it, as in focusEditor.
bool GridSelection::holdsFocus(int k) const
{
    const lblTxt* e = editor(k);
    if (!e || !e->isVisible())
        return false;
    const QWidget* box = e->textBox();
    return box->hasFocus() || e->window()->focusWidget() == box;
}

void GridSelection::setBodyColor(int k, uint32_t color)
{
    if (m_view.columnBodyColor(k) == color)
        return;
    m_view.setColumnBodyColor(k, color);
    m_core.RenderColumn(k);
}

// The selected row and the active column form a cross; the active cell is the lightest.
void GridSelection::highlightColumn(int k, bool active)
{
    const GridColors& colors = m_core.colors();
    m_editors[k]->setBackColor(active ? colors.SelectedColor : colors.SelectedRowColor);
    setBodyColor(k, active ? colors.SelectedRowColor : GridColors::BackColor);
}

// ---------------------------------------------------------------- selecting

void GridSelection::SelectItem(int Index, int Button, int iX)
{
    syncEditors();
    // The focus leaves the editors first, so a visit in progress is recorded before the row
    // changes (also when the window is inactive and no focus event comes).
    m_view.focusScrollBar();
    closeVisit();
    if (Button != 1)
        return;
    if (Index > m_core.ListCount() || Index < 1) {
        DeselectRow();
        return;
    }
    if (Index != m_core.iSelected())
        DeselectRow();
    m_core.setiSelected(Index);
    m_openRow = Index;
    const int top = editorTop(Index);
    for (int k = 1; k <= lastColumn(); ++k) {
        placeEditor(k, top);
        loadEditor(k);
        highlightColumn(k, k == iX);
        m_editors[k]->show();
    }
    for (int k = 1; k <= lastColumn(); ++k)
        m_editors[k]->raise();
    m_view.showRowMarker(top - m_view.headerHeight() - 1, Index);
    if (lblTxt* e = editor(iX)) {
        e->Selected();
        focusEditor(iX);
    }
}

// In an inactive window Qt only notes the focus for later and sends no focus events; the
// editor then counts as focused at once, as it will be when the window is activated.
void GridSelection::focusEditor(int k)
{
    lblTxt* e = m_editors[k];
    e->setFocus(Qt::OtherFocusReason);
    QWidget* box = e->textBox();
    if (!box->hasFocus() && e->window()->focusWidget() == box && !(m_visit && m_visit->column == k)) {
        closeVisit();
        editorGotFocus(k);
    }
}

void GridSelection::DeselectRow()
{
    // Keep the focus in the grid rather than letting a hidden editor pass it elsewhere.
    for (int k = 1; k <= lastColumn(); ++k) {
        if (m_editors[k]->hasFocus()) {
            m_view.focusScrollBar();
            break;
        }
    }
    closeVisit();
    m_openRow = 0;
    for (int k = 1; k <= lastColumn(); ++k) {
        m_editors[k]->hide();
        setBodyColor(k, GridColors::BackColor);
    }
    m_view.hideRowMarker();
}

// ---------------------------------------------------------------- the window

QString GridSelection::activeList() const
{
    return m_host ? m_host->ActiveList() : QString();
}

// The document window that holds this grid. Several windows may be shown at once, and
// ActiveList can still name another one while this grid's cell takes the focus (a window
// shown again lays out its grid before it is activated), so the grid's own active column and
// cell go to its own window only.
GridWindow* GridSelection::ownWindow() const
{
    if (!m_host)
        return nullptr;
    for (const QString& name : {GridHost::Items, GridHost::Contacts, GridHost::Transactions})
        if (GridWindow* w = m_host->window(name); w && w->gridSelection() == this)
            return w;
    return nullptr;
}

bool GridSelection::isTransactionsGrid() const
{
    GridWindow* w = m_host ? m_host->window(GridHost::Transactions) : nullptr;
    return w && w->gridSelection() == this;
}

void GridSelection::COLUMNUMBER()
{
    if (GridWindow* w = ownWindow())
        w->setActiveColumn(QString::number(m_core.EditColumn()));
}

// The cell taking the focus goes to the window's bars only after EditColumn names it, and
// only for display: entering a cell changes no cell and no history.
void GridSelection::publishCell(int k)
{
    GridWindow* w = ownWindow();
    if (!w)
        return;
    COLUMNUMBER();
    const GridCell cell = m_core.cell(m_core.iSelected(), k);
    w->showCell(cell.Text, cell.Bold, cell.Italic, cell.Underline, cell.Color);
}

// ---------------------------------------------------------------- the edit cycle

void GridSelection::editorGotFocus(int k)
{
    const int row = m_core.iSelected();
    m_visit = FocusNote{row, k, m_core.GetItem(row, k)};
    m_core.setEditColumn(k);
    for (int j = 1; j <= lastColumn(); ++j)
        highlightColumn(j, j == k);
    publishCell(k);
}

// Back from another window: the visit goes on, or begins if the focus came while the window
// was inactive and no visit was opened for it.
void GridSelection::editorFocusReturned(int k)
{
    if (m_visit && m_visit->column == k && m_visit->row == m_core.iSelected())
        return;
    closeVisit();
    editorGotFocus(k);
}

void GridSelection::editorChanged(int k)
{
    // Only the editors of the open row write, and only into the row they were loaded for.
    const int row = m_core.iSelected();
    if (m_reloading || m_openRow == 0 || m_openRow != row || (m_visit && m_visit->row != row))
        return;
    m_core.setCellText(row, k, m_editors[k]->Text());
    m_core.RenderColumn(k);
}

void GridSelection::editorLostFocus(int)
{
    closeVisit();
}

// One undo step per visit that changed the cell, holding the text from before the visit.
void GridSelection::closeVisit()
{
    if (!m_visit)
        return;
    const FocusNote note = *m_visit;
    m_visit.reset();
    if (note.text == m_core.GetItem(note.row, note.column))
        return;
    m_core.recordTextEdit(note.row, note.column, note.text);
}

// ---------------------------------------------------------------- keys

void GridSelection::editorKeyDown(int k, int& KeyCode, int& Shift)
{
    if (KeyCode == Key::Down && m_core.iSelected() == m_core.ListCount()) {
        if (GridWindow* w = ownWindow())
            w->DODARED();
    }
    if (showsTransferHint(m_core.EditColumn())) {
        platform::prompts().MsgBox(TransactionColumnsMessage, platform::MsgStyle::Information);
        m_editors[k]->consumeKey(); // guidance only: the key does nothing else
        KeyCode = 0;
        return;
    }
    const int code = KeyCode;
    const bool consumed = runKeyTable(k, code, Shift);
    // Tab has moved the keyboard to another column; the row is brought into view with it.
    bringRowIntoView(isTabKey(code, Shift) ? m_core.EditColumn() : k);
    if (code == Key::Enter)
        accessKeyPressed();
    if (consumed)
        KeyCode = 0;
}

// The first matching row of the key table; true for the keys the text box must not see.
bool GridSelection::runKeyTable(int k, int KeyCode, int Shift)
{
    const int row = m_core.iSelected();
    const bool ctrl = Shift == platform::Mask::Ctrl;
    if (KeyCode == Key::Up && row > 1) {
        SelectItem(row - 1, 1, k);
    } else if (KeyCode == Key::Down && row > 0 && row < m_core.ListCount()) {
        SelectItem(row + 1, 1, k);
    } else if (KeyCode == Key::Insert) {
        // The visit ends before the rows move, so its record names the row it was made in.
        closeVisit();
        const int at = ctrl ? row : row + 1;
        m_core.AddRow(QString(), at);
        SelectItem(at, 1, k);
        m_core.RenderColumn(-1);
        m_view.repaintGrid();
    } else if (isTabKey(KeyCode, Shift)) {
        tabMove(k, Shift == 0);
    } else if (KeyCode == Key::Delete && ctrl) {
        DeselectRow();
        m_core.RemoveItem(m_core.iSelected(), false);
        m_core.RenderColumn(-1);
        m_view.repaintGrid();
    } else {
        emit GridKeyDown(KeyCode, Shift, row, k);
    }
    return isGridKey(KeyCode, Shift);
}

void GridSelection::bringRowIntoView(int k)
{
    const int row = m_core.iSelected();
    if (row < 1)
        return;
    const auto scrollTop = scrollTopShowingRow(row, m_core.ScrollTop(), m_view.rowArea().height());
    if (!scrollTop)
        return;
    m_core.setScrollTop(*scrollTop);
    m_core.RenderAllColumns();
    SelectItem(row, 1, k);
    m_core.SetScrollers();
    m_view.repaintGrid();
}

void GridSelection::gridKeyPressed(int KeyCode, int Shift)
{
    if (KeyCode != Key::Enter)
        return;
    if (m_core.iSelected() != 0)
        emit GridKeyDown(KeyCode, Shift, m_core.iSelected(), m_core.EditColumn());
    accessKeyPressed();
}

// ---------------------------------------------------------------- edge moves

// A move goes only where the editor can take the focus; otherwise nothing changes.
void GridSelection::editorRight(int k)
{
    const int row = m_core.iSelected();
    if (k == lastColumn()) {
        if (row >= m_core.ListCount() || !canTakeFocus(1))
            return;
        SelectItem(row + 1, 1, 1);
        m_core.setEditColumn(1);
    } else {
        if (!canTakeFocus(k + 1))
            return;
        focusEditor(k + 1);
        m_core.setEditColumn(k + 1);
    }
    edgeMoved();
}

void GridSelection::editorLeft(int k)
{
    const int row = m_core.iSelected();
    if (k > 1) {
        if (!canTakeFocus(k - 1))
            return;
        focusEditor(k - 1);
        m_core.setEditColumn(k - 1);
    } else {
        const int last = lastColumn();
        if (row <= 1 || !canTakeFocus(last))
            return;
        SelectItem(row - 1, 1, last);
        m_core.setEditColumn(last);
    }
    edgeMoved();
}

// Tab ends the cell's visit and moves to the next cell to the right that takes typing, from
// the last column to the first of the next row (Shift+Tab the other way), so that what is
// typed next lands in a cell. From the last such cell of the grid (the first, for Shift+Tab)
// nothing moves: the keyboard stays in the cell.
void GridSelection::tabMove(int k, bool forward)
{
    const int row = m_core.iSelected();
    const int last = lastColumn();
    const int step = forward ? 1 : -1;
    for (int j = k + step; j >= 1 && j <= last; j += step) {
        if (takesTyping(j)) {
            focusEditor(j);
            m_core.setEditColumn(j);
            edgeMoved();
            return;
        }
    }
    const int nextRow = row + step;
    if (nextRow < 1 || nextRow > m_core.ListCount())
        return;
    for (int j = forward ? 1 : last; j >= 1 && j <= last; j += step) {
        if (takesTyping(j)) {
            SelectItem(nextRow, 1, j);
            m_core.setEditColumn(j);
            edgeMoved();
            return;
        }
    }
}

void GridSelection::edgeMoved()
{
    const GridColors& colors = m_core.colors();
    for (int j = 1; j <= lastColumn(); ++j)
        m_editors[j]->setBackColor(j == m_core.EditColumn() ? colors.SelectedColor : colors.SelectedRowColor);
    bringColumnIntoView();
}

void GridSelection::bringColumnIntoView()
{
    const int column = m_core.EditColumn();
    const int left = m_core.columnLeft(column);
    const int width = m_core.GetWidthColumn(column);
    const QRect rows = m_view.rowArea();
    const auto areaLeft =
        areaLeftShowingColumn(left, width, m_view.columnAreaLeft(), rows.x(), rows.x() + rows.width());
    if (!areaLeft)
        return;
    m_view.setColumnAreaLeft(*areaLeft);
    SelectItem(m_core.iSelected(), 1, column);
    m_core.SetScrollers();
}

// ---------------------------------------------------------------- hand-offs

// Enter passes the selected item, or the selected contact, to the open transaction.
void GridSelection::accessKeyPressed()
{
    if (!m_host)
        return;
    if (activeList() == GridHost::Items && m_host->isVisible(GridHost::Transactions)
        && m_host->isVisible(GridHost::Items))
        m_host->window(GridHost::Items)->TransfersItem();
    if (activeList() == GridHost::Contacts && m_host->isVisible(GridHost::Transactions)
        && m_host->isVisible(GridHost::Contacts)) {
        GridWindow* contacts = m_host->window(GridHost::Contacts);
        const GridSelection* grid = contacts->gridSelection();
        contacts->setSelectedContacts(grid ? grid->core().GetItem(grid->core().iSelected(), 1) : QString());
        if (!contacts->SelectedContactFrom().isEmpty())
            contacts->showTransferItems();
    }
}

void GridSelection::surfaceClicked()
{
    if (!m_host || !isTransactionsGrid())
        return;
    if (m_host->isVisible(GridHost::Items) || !m_host->isVisible(GridHost::Transactions)
        || m_core.EditColumn() >= FirstTypedTransactionColumn)
        return;
    GridWindow* transactions = m_host->window(GridHost::Transactions);
    SelectItem(1, 1);
    transactions->OPENITEMS();
}

void GridSelection::surfaceRightReleased()
{
    if (activeList() != GridHost::Transactions)
        return;
    if (GridWindow* transactions = m_host->window(GridHost::Transactions))
        transactions->OPENITEMS();
}

// ---------------------------------------------------------------- focus leaving the grid

void GridSelection::focusChanged(QWidget* old, QWidget* now)
{
    if (!m_grid)
        return;
    const auto inGrid = [this](QWidget* w) { return w && (w == m_grid || m_grid->isAncestorOf(w)); };
    if (!inGrid(old) || inGrid(now))
        return;
    // The window losing activation, a message box or a popup taking the keyboard: the
    // grid keeps its row, as it would on a platform where these take no focus from it.
    if (!now || QApplication::activeModalWidget() || QApplication::activePopupWidget())
        return;
    if (now->window() != m_grid->window() && (now->window()->isModal() || now->window()->windowType() == Qt::Popup))
        return;
    DeselectRow();
}

} // namespace grid
