#pragma once
// The steps of the four scroll arrows: one row up or down, 15 pixels left or right, a
// shorter last step at either end, and no step once the end is reached.

#include "grid/gridmeasures.h"

#include <QString>
#include <optional>

namespace grid {

// The direction codes the auto-repeat timer carries.
namespace Arrow {
inline const QString Up = QStringLiteral("G");
inline const QString Down = QStringLiteral("D");
inline const QString Left = QStringLiteral("L");
inline const QString Right = QStringLiteral("DE");
} // namespace Arrow

// The new ScrollTop after one step up or down; nullopt when the step is refused.
std::optional<int> stepUp(const GridMeasures& m);
std::optional<int> stepDown(const GridMeasures& m);
// The new left edge of the column area after one step left or right; nullopt when refused.
std::optional<double> stepLeft(const GridMeasures& m);
std::optional<double> stepRight(const GridMeasures& m);

} // namespace grid
