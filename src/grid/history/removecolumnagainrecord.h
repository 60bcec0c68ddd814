#pragma once
// "#REMCLM#": left on the redo stack by the undo of a column removal; redo removes the column
// again.

#include "grid/history/historyrecord.h"

namespace grid {

class RemoveColumnAgainRecord final : public HistoryRecord {
public:
    explicit RemoveColumnAgainRecord(int column) : m_column(column) {}
    QString tag() const override { return QStringLiteral("#REMCLM#"); }
    void redo(GridCore& grid) const override;

protected:
    QString payload() const override { return QString::number(m_column); }

private:
    int m_column;
};

} // namespace grid
