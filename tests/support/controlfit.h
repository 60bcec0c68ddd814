#pragma once
// Geometry checks of a window's controls at the font they are drawn with: a caption that is
// wider (or, wrapped, higher) than its control is cut on the screen, and two controls that
// intersect cover one another. Each check returns what it found wrong, one line per fault, so
// that a test names every cut caption and every overlap at once.

#include <QList>
#include <QRect>
#include <QStringList>

class QWidget;

namespace testsupport {

// The controls given whose caption does not fit: a check box or radio button with its
// indicator, a push or tool button with its margins, a label by its width or, wrapped, by
// the height its lines need.
QStringList cutCaptions(const QList<QWidget*>& controls);

// Every pair of the controls given (in their parent's coordinates) that intersect.
QStringList overlappingControls(const QList<QWidget*>& controls);

// The controls given that reach outside the area (in their parent's coordinates).
QStringList controlsOutside(const QList<QWidget*>& controls, const QRect& area);

// The controls given that reach into the area (in their parent's coordinates).
QStringList controlsInside(const QList<QWidget*>& controls, const QRect& area);

} // namespace testsupport
