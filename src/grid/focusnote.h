#pragma once
// The note a cell editor takes when it receives the focus: the cell it shows and the text the
// cell held then. Leaving the editor compares the cell with it to record one undo step for
// the whole visit.

#include <QString>

namespace grid {

struct FocusNote {
    int row = 0;
    int column = 0;
    QString text; // the whole text, "|" included
};

} // namespace grid
