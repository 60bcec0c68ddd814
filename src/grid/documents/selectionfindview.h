#pragma once
// Shows a hit of FindText on the grid widget: the measures and the sideways scroll come from
// the selection's view, the row is opened through the grid's selection, and the found
// characters are highlighted in the column's cell editor.

#include "grid/documents/findview.h"

namespace grid {

class GridCore;
class GridSelection;
class SelectionView;

class SelectionFindView final : public FindView {
public:
    SelectionFindView(GridCore& core, GridSelection& selection, SelectionView& view);

    int rowAreaHeight() const override;
    int columnAreaLeft() const override;
    void setColumnAreaLeft(int left) override;
    int gutterWidth() const override;
    int columnViewRight() const override;
    void selectItem(int row, int column) override;
    void repaint() override;
    void highlight(int column, int start, int length) override;

private:
    GridCore& m_core;
    GridSelection& m_selection;
    SelectionView& m_view;
};

} // namespace grid
