#pragma once
// "#ADDMT1#": several rows were appended at once; undo takes them off the end again.

#include "grid/history/historyrecord.h"

namespace grid {

class AddRowsRecord final : public HistoryRecord {
public:
    explicit AddRowsRecord(int count) : m_count(count) {}
    QString tag() const override { return QStringLiteral("#ADDMT1#"); }
    void undo(GridCore& grid) const override;

protected:
    QString payload() const override { return QString::number(m_count); }

private:
    int m_count;
};

} // namespace grid
