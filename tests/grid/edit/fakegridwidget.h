#pragma once
// A stand-in for the grid widget: a shown top-level widget that holds the cell editors and a
// focusable scroll bar, implements the core's view and the selection's view, and records what
// the grid asked of it.

#include "grid/gridcore.h"
#include "grid/gridselection.h"
#include "grid/gridview.h"
#include "grid/selectionview.h"

#include <QPointer>
#include <QWidget>
#include <map>

class FakeGridWidget : public QWidget, public grid::GridView, public grid::SelectionView {
public:
    FakeGridWidget()
    {
        resize(400, 200);
        scrollBar = new QWidget(this);
        scrollBar->setFocusPolicy(Qt::StrongFocus);
        scrollBar->setGeometry(384, 20, 16, 164);
    }

    QWidget* scrollBar = nullptr;
    int areaLeft = 30;
    int markerTop = -1;
    int markerRow = 0;
    bool markerShown = false;
    int renders = 0;
    std::map<int, uint32_t> bodyColors;
    QPointer<grid::GridSelection> selection;

    // grid::GridView
    void renderColumn(int) override { ++renders; }
    void setScrollers() override {}
    void fitCounterColumn() override {}
    void deselectRow() override {}
    void columnsChanged(int) override {}
    // Passed on as the grid widget does, once the selection is known.
    void rowsChanged(int first) override
    {
        if (selection)
            selection->rowsChanged(first);
    }
    void changeBegins() override
    {
        if (selection)
            selection->changeBegins();
    }
    void changeEnded() override
    {
        if (selection)
            selection->changeEnded();
    }
    void columnCaptionChanged(int) override {}
    void columnEditChanged(int) override {}
    void resetHorizontalScroll() override { areaLeft = gutterWidth(); }
    int rowAreaHeight() const override { return gridHeight() - headerHeight() - hScrollHeight(); }

    // grid::SelectionView
    QWidget* editorParent() override { return this; }
    int gridWidth() const override { return width(); }
    int gridHeight() const override { return height(); }
    int headerHeight() const override { return 20; }
    int gutterWidth() const override { return 30; }
    int vScrollWidth() const override { return 16; }
    int hScrollHeight() const override { return 16; }
    int columnAreaLeft() const override { return areaLeft; }
    void setColumnAreaLeft(int left) override { areaLeft = left; }
    uint32_t columnBodyColor(int k) const override
    {
        const auto it = bodyColors.find(k);
        return it == bodyColors.end() ? grid::GridColors::BackColor : it->second;
    }
    void setColumnBodyColor(int k, uint32_t color) override { bodyColors[k] = color; }
    void showRowMarker(int top, int row) override
    {
        markerTop = top;
        markerRow = row;
        markerShown = true;
    }
    void hideRowMarker() override { markerShown = false; }
    void focusScrollBar() override { scrollBar->setFocus(Qt::OtherFocusReason); }
    void setDefaultPointer() override { unsetCursor(); }
    void repaintGrid() override {}
};
