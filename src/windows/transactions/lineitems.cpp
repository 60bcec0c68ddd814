#include "windows/transactions/lineitems.h"

#include "grid/gridcore.h"

namespace windows {

platform::Decimal lineItemsSum(const grid::GridCore& lines)
{
    // Exact decimal sums: a thousand lines of 0.1 add up to 100.
    platform::Decimal sum;
    for (int row = 1; row <= lines.ListCount(); ++row) {
        const QString total = lines.GetItem(row, TotalColumn);
        if (total.isEmpty())
            continue;
        if (const auto value = platform::Decimal::fromText(total))
            sum += *value;
    }
    return sum;
}

QString lineItemsValue(const grid::GridCore& lines)
{
    return lineItemsSum(lines).text();
}

} // namespace windows
