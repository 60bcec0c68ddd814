#pragma once
// The texts a sheet shows, all cells at once, read from the sheet's CSV form: one call to
// the office instead of one per cell, for imports that read every cell of many rows.

#include <QByteArray>
#include <QString>
#include <QStringList>
#include <vector>

namespace platform::calc {

class SheetText {
public:
    // Reads CSV as the office writes it: comma-separated, fields with commas, quotes or
    // line breaks in double quotes, quotes doubled, UTF-8, rows ending in LF or CR LF.
    static SheetText fromCsv(const QByteArray& csv);

    // The text of a cell, 1-based; "" outside what the sheet holds.
    QString at(int row, int column) const;

    int rowCount() const { return int(rows_.size()); }

    // The columns, from firstColumn on, in which one of the rows 1 to lastRow shows a value;
    // ascending.
    std::vector<int> filledColumns(int firstColumn, int lastRow) const;

private:
    std::vector<QStringList> rows_;
};

} // namespace platform::calc
