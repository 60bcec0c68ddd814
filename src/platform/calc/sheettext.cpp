// Parses the office's CSV form of a sheet.

#include "platform/calc/sheettext.h"

#include <algorithm>
#include <set>

namespace platform::calc {

SheetText SheetText::fromCsv(const QByteArray& csv)
{
    SheetText sheet;
    const QString text = QString::fromUtf8(csv);
    QStringList row;
    QString field;
    bool quoted = false;
    bool rowStarted = false;
    const qsizetype n = text.size();
    for (qsizetype i = 0; i < n; ++i) {
        const QChar c = text[i];
        if (quoted) {
            if (c == QLatin1Char('"')) {
                if (i + 1 < n && text[i + 1] == QLatin1Char('"')) {
                    field += QLatin1Char('"');
                    ++i;
                } else {
                    quoted = false;
                }
            } else {
                field += c;
            }
            continue;
        }
        if (c == QLatin1Char('"')) {
            quoted = true;
            rowStarted = true;
        } else if (c == QLatin1Char(',')) {
            row << field;
            field.clear();
            rowStarted = true;
        } else if (c == QLatin1Char('\n') || c == QLatin1Char('\r')) {
            if (c == QLatin1Char('\r') && i + 1 < n && text[i + 1] == QLatin1Char('\n'))
                ++i;
            row << field;
            field.clear();
            sheet.rows_.push_back(row);
            row.clear();
            rowStarted = false;
        } else {
            field += c;
            rowStarted = true;
        }
    }
    if (rowStarted || !field.isEmpty()) {
        row << field;
        sheet.rows_.push_back(row);
    }
    return sheet;
}

QString SheetText::at(int row, int column) const
{
    if (row < 1 || row > int(rows_.size()))
        return QString();
    const QStringList& cells = rows_[std::size_t(row - 1)];
    return column >= 1 && column <= cells.size() ? cells[column - 1] : QString();
}

std::vector<int> SheetText::filledColumns(int firstColumn, int lastRow) const
{
    std::set<int> filled;
    const int rows = std::min(lastRow, rowCount());
    for (int r = 0; r < rows; ++r) {
        const QStringList& cells = rows_[std::size_t(r)];
        for (qsizetype c = std::max(firstColumn, 1) - 1; c < cells.size(); ++c)
            if (!cells[c].isEmpty())
                filled.insert(int(c) + 1);
    }
    return {filled.begin(), filled.end()};
}

} // namespace platform::calc
