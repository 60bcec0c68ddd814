#pragma once
// "#REMMT1#": left on the redo stack by the undo of "#ADDMT1#"; redo appends the rows again.

#include "grid/history/historyrecord.h"

namespace grid {

class RemoveRowsRecord final : public HistoryRecord {
public:
    explicit RemoveRowsRecord(int count) : m_count(count) {}
    QString tag() const override { return QStringLiteral("#REMMT1#"); }
    void redo(GridCore& grid) const override;

protected:
    QString payload() const override { return QString::number(m_count); }

private:
    int m_count;
};

} // namespace grid
