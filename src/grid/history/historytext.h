#pragma once
// The text layout of history records: separators and the forms of flags, colours and cells.

#include "grid/gridcell.h"

#include <QString>

namespace grid::historytext {

inline const QString FieldSeparator = QStringLiteral("|");
inline const QString CellSeparator = QStringLiteral("|#|");
inline const QString RowSeparator = QStringLiteral("||#|");

// A colour as its signed 32-bit decimal text.
QString colorText(uint32_t color);
// The three flags in the order bold, underline, italic, "1" for set and "0" for clear.
QString flagsText(const GridCell& cell);
// A flag in complement form: "0" when it was set, "-1" when it was clear.
QString complementText(bool flag);
// A cell of a row record: column, text, flags, colour.
QString cellText(int column, const GridCell& cell);
// A cell of a column record: text, flags, colour; "" for a cell without text.
QString columnCellText(const GridCell& cell);

} // namespace grid::historytext
