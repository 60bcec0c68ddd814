#pragma once
// "#ADDITM#": a row was inserted or appended; replaying it removes that row again.

#include "grid/history/historyrecord.h"

namespace grid {

class AddItemRecord final : public HistoryRecord {
public:
    explicit AddItemRecord(int row) : m_row(row) {}
    int row() const { return m_row; }
    QString tag() const override { return QStringLiteral("#ADDITM#"); }
    void undo(GridCore& grid) const override;
    void redo(GridCore& grid) const override { undo(grid); }

protected:
    QString payload() const override { return QString::number(m_row); }

private:
    int m_row;
};

} // namespace grid
