#include "grid/cmdbutton.h"

#include "grid/blendcolor.h"
#include "grid/gridmeasures.h"

#include "platform/colors.h"
#include "platform/keys.h"

#include <QFocusEvent>
#include <QFontMetrics>
#include <QKeyEvent>
#include <QMouseEvent>
#include <QPainter>

namespace grid {

namespace {
// The caption font: 8.25 pt on a 96 dpi screen is 11 pixels.
constexpr int CaptionPixelSize = 11;
constexpr int EdgeAlpha = 60;
} // namespace

cmdButton::cmdButton(QWidget* parent) : QWidget(parent)
{
    setFocusPolicy(Qt::StrongFocus);
    setAttribute(Qt::WA_OpaquePaintEvent);
}

uint32_t cmdButton::pvAlphaBlend(uint32_t clrFirst, uint32_t clrSecond, int lAlpha)
{
    return BlendColor(clrFirst, clrSecond, lAlpha);
}

void cmdButton::SetBackColor(uint32_t color)
{
    backColor_ = color;
    update();
}

uint32_t cmdButton::lightColor() const
{
    return pvAlphaBlend(0xFFFFFF, backColor_, EdgeAlpha);
}

uint32_t cmdButton::darkColor() const
{
    return pvAlphaBlend(0x000000, backColor_, EdgeAlpha);
}

uint32_t cmdButton::edgeColor(int edge) const
{
    // Raised: light top and left, dark bottom and right; pressed swaps them.
    const bool lightEdge = (edge < 2) != pressedLook_;
    return lightEdge ? lightColor() : darkColor();
}

void cmdButton::SetCaption(const QString& Besedilo)
{
    caption_ = Besedilo;
    recentre();
    update();
}

void cmdButton::SetEnabled(bool NewEnabled)
{
    QWidget::setEnabled(NewEnabled);
    update();
    emit EnabledIsChanged(NewEnabled);
}

bool cmdButton::isOver(double X, double Y) const
{
    return X >= 0 && Y >= 0 && X < width() && Y < height();
}

QFont cmdButton::captionFont() const
{
    QFont font(QStringLiteral("Liberation Sans"));
    font.setPixelSize(CaptionPixelSize);
    font.setBold(bold_);
    return font;
}

QSize cmdButton::captionSize() const
{
    const QFontMetrics metrics(captionFont());
    return QSize(metrics.horizontalAdvance(caption_), metrics.height());
}

void cmdButton::recentre()
{
    const QSize size = captionSize();
    captionTop_ = roundPixel((height() - size.height()) / 2.0);
    captionLeft_ = roundPixel((width() - size.width()) / 2.0);
    // A pointer move re-centres too: repaint only when the caption really moves.
    const QPoint centre(captionLeft_, captionTop_);
    if (centre == captionPos_)
        return;
    captionPos_ = centre;
    update();
}

void cmdButton::placeCaptionPressed()
{
    recentre();
    captionPos_ = QPoint(captionLeft_ + 1, captionTop_ + 1);
    update();
}

void cmdButton::showLook(bool pressed)
{
    pressedLook_ = pressed;
    update();
}

void cmdButton::resizeEvent(QResizeEvent*)
{
    showLook(false);
    recentre();
}

void cmdButton::mousePressEvent(QMouseEvent* event)
{
    const int Button = platform::buttonMask(event->button());
    if (Button != 1)
        return;
    showLook(true);
    pressed_ = true;
    placeCaptionPressed();
    const QPointF p = event->position();
    emit MouseDown(Button, platform::shiftMask(event->modifiers()), p.x(), p.y());
}

void cmdButton::mouseMoveEvent(QMouseEvent* event)
{
    const int Button = platform::buttonMask(event->buttons());
    const QPointF p = event->position();
    if (Button == 1) {
        const bool over = isOver(p.x(), p.y());
        if (over && !pressed_) {
            showLook(true);
            pressed_ = true;
            leftWhileHeld_ = false;
            placeCaptionPressed();
        } else if (!over && !leftWhileHeld_) {
            showLook(false);
            recentre();
            leftWhileHeld_ = true;
            pressed_ = false;
        }
    } else {
        recentre();
    }
    emit MouseMove(Button, platform::shiftMask(event->modifiers()), p.x(), p.y());
}

void cmdButton::mouseReleaseEvent(QMouseEvent* event)
{
    const int Button = platform::buttonMask(event->button());
    const QPointF p = event->position();
    const int Shift = platform::shiftMask(event->modifiers());
    if (Button == 1 && isOver(p.x(), p.y()))
        emit Click();
    showLook(false);
    pressed_ = false;
    leftWhileHeld_ = false;
    recentre();
    emit MouseUp(Button, Shift, p.x(), p.y());
}

void cmdButton::keyPressEvent(QKeyEvent* event)
{
    const int KeyCode = platform::keyCode(event->key());
    if (KeyCode == platform::Key::Enter)
        emit Click();
    emit KeyDown(KeyCode, platform::shiftMask(event->modifiers()));
}

void cmdButton::focusInEvent(QFocusEvent*)
{
    bold_ = true;
    recentre();
    update();
}

void cmdButton::focusOutEvent(QFocusEvent*)
{
    bold_ = false;
    recentre();
    update();
}

void cmdButton::paintEvent(QPaintEvent*)
{
    QPainter painter(this);
    const int W = width();
    const int H = height();
    painter.fillRect(rect(), platform::toQColor(backColor_));
    // Lines end on their last pixel inclusive, so each edge covers the button's full side.
    painter.setPen(platform::toQColor(edgeColor(0)));
    painter.drawLine(0, 0, W - 1, 0);
    painter.setPen(platform::toQColor(edgeColor(1)));
    painter.drawLine(0, 0, 0, H - 1);
    painter.setPen(platform::toQColor(edgeColor(2)));
    painter.drawLine(0, H - 1, W, H - 1);
    painter.setPen(platform::toQColor(edgeColor(3)));
    painter.drawLine(W - 1, 0, W - 1, H - 1);
    if (caption_.isEmpty())
        return;
    painter.setFont(captionFont());
    painter.setPen(isEnabled() ? QColor(Qt::black) : platform::toQColor(0x808080));
    const QFontMetrics metrics(painter.font());
    painter.drawText(captionPos_.x(), captionPos_.y() + metrics.ascent(), caption_);
}

} // namespace grid
