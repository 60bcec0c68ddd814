#pragma once
// "#SETTXT#": a cell's text was changed; the record keeps the text from before, whatever
// characters it holds, and its replay swaps it with the cell's current text.

#include "grid/history/historyrecord.h"

#include <utility>

namespace grid {

class CellTextRecord final : public HistoryRecord {
public:
    CellTextRecord(int row, int column, QString previous)
        : m_row(row), m_column(column), m_previous(std::move(previous)) {}
    int row() const { return m_row; }
    int column() const { return m_column; }
    const QString& previous() const { return m_previous; }
    QString tag() const override { return QStringLiteral("#SETTXT#"); }
    void undo(GridCore& grid) const override { swap(grid); }
    void redo(GridCore& grid) const override { swap(grid); }

protected:
    QString payload() const override;

private:
    void swap(GridCore& grid) const;

    int m_row;
    int m_column;
    QString m_previous;
};

} // namespace grid
