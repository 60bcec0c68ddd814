#include "grid/documents/gridfinder.h"

#include "grid/documents/casefolding.h"
#include "grid/documents/findview.h"
#include "grid/gridcore.h"
#include "grid/scrollmath.h"

#include <limits>

namespace grid {

GridFinder::GridFinder(GridCore& core, FindView* view) : m_core(core), m_view(view) {}

GridFinder::Hit GridFinder::findFrom(int firstRow, int lastRow, const QString& needle, bool exact) const
{
    const int columns = m_core.ColumnCount();
    for (int r = firstRow; r <= lastRow; ++r) {
        const GridRow& cells = m_core.row(r);
        for (int c = 1; c <= columns; ++c) {
            const QString text = cells.text(c);
            const qsizetype p = CaseFolding::find(text, needle, 0, exact);
            if (p >= 0)
                return {r, c, p};
        }
    }
    return {};
}

bool GridFinder::FindText(const QString& Text, bool ExactMatch)
{
    const int count = m_core.ListCount();
    const int selected = m_core.iSelected();
    const int start = (selected < count && selected >= 0) ? selected + 1 : 1;
    const QString needle = CaseFolding::UpperCaseText(Text, ExactMatch);

    Hit hit = findFrom(start, count, needle, ExactMatch);
    if (hit.row == 0 && start > 1)
        hit = findFrom(1, start - 1, needle, ExactMatch);
    if (hit.row == 0)
        return false;
    showHit(hit, Text.size());
    return true;
}

void GridFinder::showHit(const Hit& hit, qsizetype length)
{
    bringRowIntoView(hit.row);
    if (!m_view) {
        m_core.setiSelected(hit.row);
        m_core.setEditColumn(hit.column);
        return;
    }
    bringColumnIntoView(hit.column);
    m_view->selectItem(hit.row, hit.column);
    m_view->repaint();
    m_view->highlight(hit.column, int(hit.position), int(length));
}

void GridFinder::bringRowIntoView(int row)
{
    // Without a view there is no row area to scroll down into; a row above the top still
    // comes back into view.
    const int visible = m_view ? m_view->rowAreaHeight() : std::numeric_limits<int>::max();
    const auto scrollTop = scrollTopShowingRow(row, m_core.ScrollTop(), visible);
    if (!scrollTop)
        return;
    m_core.setScrollTop(*scrollTop);
    m_core.RenderAllColumns();
    m_core.SetScrollers();
}

void GridFinder::bringColumnIntoView(int column)
{
    const auto areaLeft =
        areaLeftShowingColumn(m_core.columnLeft(column), m_core.GetWidthColumn(column),
                              m_view->columnAreaLeft(), m_view->gutterWidth(), m_view->columnViewRight());
    if (areaLeft)
        m_view->setColumnAreaLeft(*areaLeft);
}

bool GridFinder::FindAndReplaceText(const QString& SrcText, const QString& NewText, bool All,
                                    bool ExactMatch)
{
    // An empty text would match everywhere, between every two characters.
    if (SrcText.isEmpty())
        return false;
    // A cell edit in progress is recorded before the replacements, and the editors show
    // their replaced texts afterwards.
    GridCore::ChangeScope change(m_core);
    const int count = m_core.ListCount();
    const int selected = m_core.iSelected();
    const int start = (selected >= 1 && selected < count) ? selected : 1;
    const QString needle = CaseFolding::UpperCaseText(SrcText, ExactMatch);

    int replaced = replaceInRows(start, count, needle, NewText, All, ExactMatch);
    if (start > 1 && (All || replaced == 0))
        replaced += replaceInRows(1, start - 1, needle, NewText, All, ExactMatch);
    m_core.RenderAllColumns();
    return replaced > 0;
}

int GridFinder::replaceInRows(int firstRow, int lastRow, const QString& needle,
                              const QString& NewText, bool All, bool exact)
{
    const int columns = m_core.ColumnCount();
    int replaced = 0;
    for (int r = firstRow; r <= lastRow; ++r) {
        for (int c = 1; c <= columns; ++c) {
            replaced += replaceInCell(r, c, needle, NewText, All, exact);
            if (replaced > 0 && !All)
                return replaced;
        }
    }
    return replaced;
}

int GridFinder::replaceInCell(int row, int column, const QString& needle, const QString& NewText,
                              bool All, bool exact)
{
    QString text = m_core.row(row).text(column);
    qsizetype from = 0;
    int replaced = 0;
    // The scan runs to the cell's current end, so a longer replacement leaves no match behind.
    for (;;) {
        const qsizetype p = CaseFolding::find(text, needle, from, exact);
        if (p < 0)
            break;
        m_core.recordTextEdit(row, column, text);
        text.replace(p, needle.size(), NewText);
        m_core.setCellText(row, column, text);
        ++replaced;
        if (!All)
            break;
        from = p + NewText.size();
    }
    return replaced;
}

} // namespace grid
