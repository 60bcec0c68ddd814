#pragma once
// "#ADDCLM#": a column was added. On the undo stack it holds the column's number; the undo
// removes the column and leaves on the redo stack the same tag with the column's caption and
// width, from which redo adds it again.

#include "grid/history/historyrecord.h"

#include <optional>

namespace grid {

class AddColumnRecord final : public HistoryRecord {
public:
    explicit AddColumnRecord(int column) : m_column(column) {}
    AddColumnRecord(int column, QString caption, int width)
        : m_column(column), m_details(Details{std::move(caption), width}) {}
    int column() const { return m_column; }
    QString tag() const override { return QStringLiteral("#ADDCLM#"); }
    void undo(GridCore& grid) const override;
    void redo(GridCore& grid) const override;

protected:
    QString payload() const override;

private:
    struct Details {
        QString caption;
        int width = 0;
    };
    int m_column;
    std::optional<Details> m_details;
};

} // namespace grid
