#pragma once
// The nine-by-nine arrow pictures of the scroll arrows: up, down, left and right, black
// for an enabled arrow and grey for a disabled one, on a transparent background.

#include <QImage>

namespace grid {

// Picture k of the set: 0..3 up, down, left, right enabled; 4..7 the same disabled.
QImage arrowIcon(int k);

} // namespace grid
