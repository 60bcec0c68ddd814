#pragma once
// The value of a transaction as its line items give it: the sum of the line totals (column 4)
// that read as numbers. An empty total or one that is not a number (or lies beyond the range
// of the number form) adds nothing.

#include "platform/decimal.h"

#include <QString>

namespace grid {
class GridCore;
}

namespace windows {

inline constexpr int TotalColumn = 4;

// The sum, exactly; out of range when it cannot be held.
platform::Decimal lineItemsSum(const grid::GridCore& lines);

// The sum as the program writes a number ("0" for none, at most 15 significant digits); "Inf"
// when it is beyond the range of the number form, which no posting takes as a value.
QString lineItemsValue(const grid::GridCore& lines);

} // namespace windows
