#include "grid/gridlayout.h"

#include <QString>
#include <cmath>

namespace grid {

GridLayout GridLayout::of(const GridMeasures& m)
{
    const int W = m.width;
    const int H = m.height;
    const int G = m.gutterWidth;
    const int V = m.viewHeight();
    GridLayout l;
    l.picTop = QRect(0, 0, W, Size::Header);
    l.picTopL = QRect(0, 0, G, Size::Header);
    l.PicTopD = QRect(W - Size::Strip - 1, 0, Size::Strip + 1, Size::Header);
    l.picCnt = QRect(0, Size::Header, G, V);
    l.PicScrV = QRect(W - Size::Strip, Size::Header, Size::Strip, V);
    l.btnGor = QRect(W - Size::Strip, Size::Header, Size::Arrow, Size::Arrow);
    l.btnDol = QRect(W - Size::Strip, Size::Header + V - Size::Arrow, Size::Arrow, Size::Arrow);
    l.PicScrH = QRect(0, H - Size::Strip, W, Size::Strip);
    l.shpDolLevo = QRect(0, H - Size::Strip, G, Size::Strip);
    l.btnLevo = QRect(G, H - Size::Strip, Size::Arrow, Size::Arrow);
    l.btnDesno = QRect(W - Size::Strip - Size::Arrow, H - Size::Strip, Size::Arrow, Size::Arrow);
    l.PicKot = QRect(W - Size::Strip, H - Size::Strip, Size::Strip, Size::Strip);
    l.view = QRect(G, Size::Header, W - Size::Strip - G, V);
    l.areaLeft = int(std::floor(m.areaLeft));
    return l;
}

int clampScrollTop(const GridMeasures& m)
{
    const int V = m.viewHeight();
    const int C = m.contentHeight();
    if (V >= C)
        return 0;
    if (V > m.scrollTop + C)
        return V - C;
    return m.scrollTop;
}

double clampAreaLeft(const GridMeasures& m)
{
    const double room = m.width - Size::Strip;
    const double A = m.areaWidth;
    const double G = m.gutterWidth;
    if (room - G >= A)
        return m.areaLeft < G ? G : m.areaLeft;
    if (room - A > m.areaLeft)
        return room - A;
    return m.areaLeft;
}

int gutterWidthFor(int listCount, int underscoreWidth)
{
    const int digits = int(QString::number(listCount).size());
    return (underscoreWidth + 1) * digits + 2;
}

} // namespace grid
