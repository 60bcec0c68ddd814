#include "grid/arrowicons.h"

#include "platform/colors.h"

namespace grid {

namespace {

constexpr int IconSize = 9;
constexpr uint32_t Enabled = 0x000000;
constexpr uint32_t Disabled = 0xA4A0A0;

// Runs of 1, 3, 5, 7 pixels centred on line 4, on the lines from `first` on (or 7, 5, 3, 1
// when the triangle points the other way), drawn across rows or down columns.
void drawTriangle(QImage& image, int first, bool widening, bool acrossRows, QRgb color)
{
    for (int i = 0; i < 4; ++i) {
        const int half = widening ? i : 3 - i;
        for (int offset = -half; offset <= half; ++offset) {
            const int along = first + i;
            const int across = 4 + offset;
            if (acrossRows)
                image.setPixel(across, along, color);
            else
                image.setPixel(along, across, color);
        }
    }
}

} // namespace

QImage arrowIcon(int k)
{
    QImage image(IconSize, IconSize, QImage::Format_ARGB32);
    image.fill(Qt::transparent);
    const QRgb color = platform::toQColor(k < 4 ? Enabled : Disabled).rgba();
    switch (k % 4) {
    case 0: drawTriangle(image, 2, true, true, color); break;   // up: rows 2..5
    case 1: drawTriangle(image, 3, false, true, color); break;  // down: rows 3..6
    case 2: drawTriangle(image, 2, true, false, color); break;  // left: columns 2..5
    default: drawTriangle(image, 3, false, false, color); break; // right: columns 3..6
    }
    return image;
}

} // namespace grid
