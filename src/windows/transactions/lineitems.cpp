#include "windows/transactions/lineitems.h"

#include "grid/gridcore.h"
#include "platform/vb.h"

#include <cmath>

namespace windows {

QString lineItemsValue(const grid::GridCore& lines)
{
    // Compensated (Neumaier) summation: the error of each addition is carried along, so a
    // thousand lines of 0.1 add up to 100 and not to 99.9999999999986.
    double sum = 0;
    double carried = 0;
    for (int row = 1; row <= lines.ListCount(); ++row) {
        const QString total = lines.GetItem(row, TotalColumn);
        if (total.isEmpty())
            continue;
        const auto value = platform::vb::CDbl(total);
        if (!value || !std::isfinite(*value))
            continue;
        const double next = sum + *value;
        carried += std::abs(sum) >= std::abs(*value) ? (sum - next) + *value : (*value - next) + sum;
        sum = next;
    }
    const double value = sum + carried;
    return platform::vb::CStr(value == 0 ? 0.0 : value);
}

} // namespace windows
