#pragma once
// The pictures of the start-up window, drawn by the program itself: the help sign, the OK,
// cancel and key pictures of the login prompt, and the window's background.

#include <QPixmap>

class QPainter;
class QRect;

namespace shell::ShellPictures {

QPixmap help(int size);
QPixmap ok(int size);
QPixmap cancel(int size);
QPixmap key(int size);

// The start-up window's background: a title band over a calm field, with a sheet of an
// invoice beside the launcher.
void paintBackground(QPainter& painter, const QRect& rect);
// Where the background's invoice sheet (its shadow included) is drawn; controls keep clear.
QRect backgroundPictureArea(const QRect& rect);

} // namespace shell::ShellPictures
