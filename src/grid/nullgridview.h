#pragma once
// A grid view that shows nothing: the core's default, for readers and writers without a widget.

#include "grid/gridview.h"

namespace grid {

class NullGridView final : public GridView {
public:
    void renderColumn(int) override {}
    void setScrollers() override {}
    void fitCounterColumn() override {}
    void deselectRow() override {}
    void columnsChanged(int) override {}
    void rowsChanged(int) override {}
    void changeBegins() override {}
    void changeEnded() override {}
    void columnCaptionChanged(int) override {}
    void columnEditChanged(int) override {}
    void resetHorizontalScroll() override {}
    int rowAreaHeight() const override { return 0; }
};

} // namespace grid
