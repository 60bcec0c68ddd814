#pragma once
// "#CLEAR_#": left on the redo stack by the undo of a clear; redo clears the grid again.

#include "grid/history/historyrecord.h"

namespace grid {

class ClearAgainRecord final : public HistoryRecord {
public:
    QString tag() const override { return QStringLiteral("#CLEAR_#"); }
    void redo(GridCore& grid) const override;
};

} // namespace grid
