#include "grid/documents/selectionfindview.h"

#include "grid/celltextbox.h"
#include "grid/gridcore.h"
#include "grid/gridselection.h"
#include "grid/lbltxt.h"
#include "grid/selectionview.h"

namespace grid {

SelectionFindView::SelectionFindView(GridCore& core, GridSelection& selection, SelectionView& view)
    : m_core(core), m_selection(selection), m_view(view)
{
}

int SelectionFindView::rowAreaHeight() const
{
    return m_view.rowArea().height();
}

int SelectionFindView::columnAreaLeft() const
{
    return m_view.columnAreaLeft();
}

void SelectionFindView::setColumnAreaLeft(int left)
{
    m_view.setColumnAreaLeft(left); // the caption strip moves along
    m_core.SetScrollers();
}

int SelectionFindView::gutterWidth() const
{
    return m_view.gutterWidth();
}

int SelectionFindView::columnViewRight() const
{
    const QRect rows = m_view.rowArea();
    return rows.x() + rows.width();
}

void SelectionFindView::selectItem(int row, int column)
{
    m_selection.SelectItem(row, 1, column);
}

void SelectionFindView::repaint()
{
    m_view.repaintGrid();
}

void SelectionFindView::highlight(int column, int start, int length)
{
    if (lblTxt* editor = m_selection.editor(column)) {
        // The flag keeps the highlight through a focus still to come; an editor that has
        // already taken the focus keeps it anyway, and a flag left set would keep the user's
        // next entry into the cell from selecting the whole text.
        editor->DisableSelectAll = !editor->textBox()->hasFocus();
        editor->SelectText(start, length);
    }
}

} // namespace grid
