#pragma once
// The font of the grid's cells, shared by the grid's drawing and its cell editors so that a
// cell's text does not move when an editor covers it.

#include <QFont>

namespace grid {

// 9.75 pt on a 96 dpi screen is 13 pixels, one line of which fills a row; normal weight,
// no style (the cells' own flags are set on top of it).
inline QFont cellTextFont()
{
    QFont font(QStringLiteral("Liberation Sans"));
    font.setPixelSize(13);
    font.setWeight(QFont::Normal);
    return font;
}

} // namespace grid
