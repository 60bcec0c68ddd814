#include "grid/columnhittest.h"

#include "grid/gridmeasures.h"
#include "platform/vb.h"

namespace grid {

double ColumnHitTest::right(int column) const
{
    return areaLeft + lefts[column - 1] + widths[column - 1];
}

int ColumnHitTest::borderColumn(double X) const
{
    int found = 0;
    for (int j = 1; j <= int(widths.size()); ++j) {
        const double r = right(j);
        if (r - 1 <= X && X <= r + 1)
            found = j;
    }
    return found;
}

int ColumnHitTest::rowsBottom() const
{
    return Size::Header + Size::RowHeight * listCount;
}

int ColumnHitTest::editColumnAt(double X) const
{
    int column = 1;
    for (int j = 1; j <= int(widths.size()) - 1; ++j) {
        if (right(j) < X)
            column = j + 1;
    }
    return column;
}

int ColumnHitTest::rowAt(double Y) const
{
    return int(platform::vb::Int((Y - Size::Header - scrollTop) / Size::RowHeight)) + 1;
}

bool ColumnHitTest::showsSizingPointer(double X, double Y, int gutterWidth, int stripLeft) const
{
    if (X <= gutterWidth || Y > rowsBottom())
        return false;
    if (X > stripLeft)
        return false;
    return borderColumn(X) > 0;
}

int ColumnHitTest::splitterMin(int column) const
{
    return roundPixel(areaLeft + lefts[column - 1] + 5);
}

int ColumnHitTest::splitterMax(int column) const
{
    return roundPixel(areaLeft + lefts[column - 1] + 510);
}

int ColumnHitTest::widthForSplitter(int column, double splitterLeft) const
{
    return roundPixel(splitterLeft - areaLeft + 1 - lefts[column - 1]);
}

} // namespace grid
