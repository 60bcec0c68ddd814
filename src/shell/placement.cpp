#include "shell/placement.h"

#include "platform/onscreen.h"
#include "platform/twips.h"
#include "platform/vb.h"

#include <optional>

namespace shell {

namespace {

struct Numbers {
    int state = 0;
    int left = 0;
    int top = 0;
    int height = 0;
    int width = 0;
};

// A stored twips value in pixels, or nothing when it is not a number in range.
std::optional<int> pixels(const QString& twips, int twipsPerPixel)
{
    const std::optional<double> value = platform::vb::CDbl(twips);
    if (!value)
        return std::nullopt;
    const std::optional<int32_t> whole = platform::vb::CLng(*value / twipsPerPixel);
    if (!whole)
        return std::nullopt;
    return int(*whole);
}

std::optional<Numbers> numbersOf(const StoredPlacement& stored)
{
    const std::optional<int16_t> state = platform::vb::CInt(stored.windowState);
    const auto left = pixels(stored.left, platform::TwipsPerPixelX);
    const auto top = pixels(stored.top, platform::TwipsPerPixelY);
    const auto height = pixels(stored.height, platform::TwipsPerPixelY);
    const auto width = pixels(stored.width, platform::TwipsPerPixelX);
    if (!state || !left || !top || !height || !width)
        return std::nullopt;
    return Numbers{*state, *left, *top, *height, *width};
}

Placement placementOf(const Numbers& n)
{
    Placement p;
    p.state = n.state == 1 ? Qt::WindowMinimized : n.state == 2 ? Qt::WindowMaximized : Qt::WindowNoState;
    p.position = QPoint(n.left, n.top);
    p.size = QSize(n.width, n.height);
    return p;
}

// The window as a whole, its size as much as its position: a size larger than every screen
// would make a window nobody can see the edges of (and a huge one eats memory as it is drawn).
bool whollyOnAScreen(const Placement& p, const QList<QRect>& screens)
{
    return platform::liesWhollyOnOne(QRect(p.position, p.size), screens);
}

} // namespace

Placement placementToOpen(const StoredPlacement& stored, const StoredPlacement& fallback,
                          const QList<QRect>& screens)
{
    if (const std::optional<Numbers> numbers = numbersOf(stored)) {
        const Placement p = placementOf(*numbers);
        if (whollyOnAScreen(p, screens))
            return p;
    }
    return placementOf(numbersOf(fallback).value_or(Numbers{}));
}

QList<QRect> screenRects()
{
    return platform::screenAreas();
}

} // namespace shell
