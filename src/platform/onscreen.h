#pragma once
// Keeps the windows the program places on the screen: a window put somewhere by the program
// (a stored placement, docked beside another window, centred) ends with its frame wholly on
// the available area of the screen that shows it, moved in and, where it is larger than that
// area, made smaller. What the user does with a window afterwards is left alone.

#include <QList>
#include <QRect>

class QWidget;

namespace platform {

// How a window that does not fit is brought onto its screen.
enum class Fit {
    Move,      // moved in as far as needed, made smaller only where larger than the screen
    KeepPlace, // placed beside another window: its top left corner stays where it lies on the
               // screen, and it is made smaller at its right and bottom instead of moved
};

// The frame brought wholly within the area (see Fit); it keeps its place where it already
// lies within.
QRect fitInto(const QRect& frame, const QRect& area, Fit fit = Fit::Move);

// Whether the rectangle, of a positive size, lies wholly within one of the areas.
bool liesWhollyOnOne(const QRect& rect, const QList<QRect>& areas);

// The available areas of this display's screens (without panels and docks), in pixels.
QList<QRect> screenAreas();

// Puts a shown top-level window wholly on the screen that shows the most of it (the primary
// screen when none does), and once more when it is first exposed, should the window system's
// frame only then be known. A minimised, maximised or full-screen window is the window
// system's.
void keepOnScreen(QWidget& window, Fit fit = Fit::Move);

} // namespace platform
