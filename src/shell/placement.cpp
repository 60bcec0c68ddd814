#include "shell/placement.h"

#include "platform/twips.h"
#include "platform/vb.h"

#include <QGuiApplication>
#include <QScreen>
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

bool onSomeScreen(const Placement& p, const QList<QRect>& screens)
{
    if (p.size.width() < 1 || p.size.height() < 1)
        return false;
    const QRect rect(p.position, p.size);
    for (const QRect& screen : screens)
        if (rect.intersects(screen))
            return true;
    return false;
}

} // namespace

Placement placementToOpen(const StoredPlacement& stored, const StoredPlacement& fallback,
                          const QList<QRect>& screens)
{
    if (const std::optional<Numbers> numbers = numbersOf(stored)) {
        const Placement p = placementOf(*numbers);
        if (onSomeScreen(p, screens))
            return p;
    }
    return placementOf(numbersOf(fallback).value_or(Numbers{}));
}

QList<QRect> screenRects()
{
    QList<QRect> rects;
    for (const QScreen* screen : QGuiApplication::screens())
        rects << screen->geometry();
    return rects;
}

} // namespace shell
