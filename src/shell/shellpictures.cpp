#include "shell/shellpictures.h"

#include <QFont>
#include <QTransform>
#include <QLinearGradient>
#include <QPainter>
#include <QPainterPath>

namespace shell::ShellPictures {

namespace {

const QColor Ink(40, 52, 70);
const QColor Paper(250, 248, 240);

QPixmap canvas(int size)
{
    QPixmap pixmap(size, size);
    pixmap.fill(Qt::transparent);
    return pixmap;
}

void disc(QPainter& p, int size, const QColor& fill)
{
    p.setRenderHint(QPainter::Antialiasing);
    p.setPen(QPen(Ink, 2));
    p.setBrush(fill);
    p.drawEllipse(QRectF(1.5, 1.5, size - 3, size - 3));
}

constexpr int TitleBandHeight = 72;
constexpr int ShadowOffset = 5;

QRect invoiceSheet(const QRect& rect)
{
    return QRect(rect.right() - 230, rect.top() + TitleBandHeight - 1 + 36, 150, 200);
}

QTransform leaning(const QRect& sheet)
{
    QTransform t;
    t.translate(sheet.center().x(), sheet.center().y());
    t.rotate(-6);
    t.translate(-sheet.center().x(), -sheet.center().y());
    return t;
}

// A sheet of an invoice, leaning a little, beside the launcher.
void paintInvoice(QPainter& p, const QRect& sheet)
{
    p.save();
    p.setRenderHint(QPainter::Antialiasing);
    p.setTransform(leaning(sheet), true);
    p.setPen(Qt::NoPen);
    p.setBrush(QColor(0, 0, 0, 50));
    p.drawRect(sheet.translated(ShadowOffset, ShadowOffset));
    p.setBrush(Paper);
    p.setPen(QPen(Ink, 1));
    p.drawRect(sheet);
    p.setPen(Qt::NoPen);
    p.setBrush(QColor(52, 72, 104));
    p.drawRect(QRect(sheet.left() + 14, sheet.top() + 16, 60, 10));
    p.setBrush(QColor(190, 196, 206));
    for (int row = 0; row < 6; ++row) {
        const int y = sheet.top() + 50 + row * 18;
        p.drawRect(QRect(sheet.left() + 14, y, 80, 6));
        p.drawRect(QRect(sheet.right() - 44, y, 30, 6));
    }
    p.setBrush(QColor(111, 55, 0));
    p.drawRect(QRect(sheet.right() - 64, sheet.bottom() - 30, 50, 10));
    p.restore();
}

} // namespace

QPixmap help(int size)
{
    QPixmap pixmap = canvas(size);
    QPainter p(&pixmap);
    disc(p, size, Paper);
    QFont font = p.font();
    font.setBold(true);
    font.setPixelSize(size * 5 / 8);
    p.setFont(font);
    p.setPen(Ink);
    p.drawText(QRect(0, 0, size, size), Qt::AlignCenter, QStringLiteral("?"));
    return pixmap;
}

QPixmap ok(int size)
{
    QPixmap pixmap = canvas(size);
    QPainter p(&pixmap);
    disc(p, size, QColor(120, 190, 120));
    QPainterPath tick;
    tick.moveTo(size * 0.27, size * 0.52);
    tick.lineTo(size * 0.44, size * 0.70);
    tick.lineTo(size * 0.74, size * 0.32);
    p.setBrush(Qt::NoBrush);
    p.setPen(QPen(Paper, size / 9.0, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
    p.drawPath(tick);
    return pixmap;
}

QPixmap cancel(int size)
{
    QPixmap pixmap = canvas(size);
    QPainter p(&pixmap);
    disc(p, size, QColor(205, 110, 100));
    p.setPen(QPen(Paper, size / 9.0, Qt::SolidLine, Qt::RoundCap));
    p.drawLine(QPointF(size * 0.33, size * 0.33), QPointF(size * 0.67, size * 0.67));
    p.drawLine(QPointF(size * 0.67, size * 0.33), QPointF(size * 0.33, size * 0.67));
    return pixmap;
}

QPixmap key(int size)
{
    QPixmap pixmap = canvas(size);
    QPainter p(&pixmap);
    p.setRenderHint(QPainter::Antialiasing);
    p.setPen(QPen(Ink, 2));
    p.setBrush(QColor(225, 190, 90));
    p.drawEllipse(QRectF(size * 0.08, size * 0.30, size * 0.40, size * 0.40));
    p.drawRect(QRectF(size * 0.46, size * 0.45, size * 0.46, size * 0.10));
    p.drawRect(QRectF(size * 0.74, size * 0.55, size * 0.08, size * 0.14));
    p.drawRect(QRectF(size * 0.84, size * 0.55, size * 0.08, size * 0.10));
    p.setBrush(Paper);
    p.drawEllipse(QRectF(size * 0.19, size * 0.41, size * 0.12, size * 0.18));
    return pixmap;
}

void paintBackground(QPainter& p, const QRect& rect)
{
    QLinearGradient field(rect.topLeft(), rect.bottomLeft());
    field.setColorAt(0, QColor(150, 160, 175));
    field.setColorAt(1, QColor(120, 130, 146));
    p.fillRect(rect, field);
    const QRect band(rect.left(), rect.top(), rect.width(), TitleBandHeight);
    QLinearGradient title(band.topLeft(), band.bottomLeft());
    title.setColorAt(0, QColor(34, 48, 72));
    title.setColorAt(1, QColor(52, 72, 104));
    p.fillRect(band, title);
    p.setPen(Paper);
    QFont font = p.font();
    font.setBold(true);
    font.setPointSize(24);
    p.setFont(font);
    p.drawText(band.adjusted(24, 0, -24, -18), Qt::AlignLeft | Qt::AlignBottom, QStringLiteral("Quorvane"));
    font.setBold(false);
    font.setPointSize(10);
    p.setFont(font);
    p.drawText(band.adjusted(24, 0, -24, -6), Qt::AlignLeft | Qt::AlignBottom,
               QStringLiteral("Invoices, items, contacts and payments for a small business"));
    paintInvoice(p, invoiceSheet(rect));
}

QRect backgroundPictureArea(const QRect& rect)
{
    const QRect sheet = invoiceSheet(rect);
    // One pixel more on every side for the antialiased edges.
    return leaning(sheet).mapRect(sheet.adjusted(0, 0, ShadowOffset, ShadowOffset)).adjusted(-1, -1, 1, 1);
}

} // namespace shell::ShellPictures
