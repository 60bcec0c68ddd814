#pragma once
// Where a window opens from its stored placement: the settings store keeps the window's
// state, left edge, top edge, height and width as texts in twips; a damaged value or a
// placement that does not lie wholly on one screen (by its position or by its size) falls
// back to the window's initial placement, so the window always opens where the user can see
// all of it.

#include <QList>
#include <QPoint>
#include <QRect>
#include <QSize>
#include <QString>

namespace shell {

// A placement as the settings store holds it.
struct StoredPlacement {
    QString windowState; // 0 normal, 1 minimised, 2 maximised
    QString left;
    QString top;
    QString height;
    QString width;
};

// A placement in pixels: the position of the window's frame and the size of its client area.
struct Placement {
    Qt::WindowState state = Qt::WindowNoState;
    QPoint position;
    QSize size;
    bool operator==(const Placement&) const = default;
};

// The stored placement when every value reads as a number and its rectangle lies wholly on
// one of the screens (in pixels); otherwise the fallback. A state other than 1 or 2 opens
// normal.
Placement placementToOpen(const StoredPlacement& stored, const StoredPlacement& fallback,
                          const QList<QRect>& screens);

// The screens of this display, in pixels, without their panels and docks.
QList<QRect> screenRects();

} // namespace shell
