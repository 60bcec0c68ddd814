#include "shell/launcherlabel.h"

#include "platform/colors.h"

#include <QMouseEvent>

namespace shell {

LauncherLabel::LauncherLabel(const QString& objectName, QWidget* parent) : QLabel(parent)
{
    setObjectName(objectName);
    setMouseTracking(true);
    setCursor(Qt::PointingHandCursor);
}

void LauncherLabel::setForeColor(uint32_t color)
{
    m_foreColor = color;
    QPalette p = palette();
    p.setColor(QPalette::WindowText, platform::toQColor(color));
    setPalette(p);
}

void LauncherLabel::mouseMoveEvent(QMouseEvent* event)
{
    emit pointed();
    event->accept();
}

void LauncherLabel::mousePressEvent(QMouseEvent* event)
{
    m_pressed = event->button() == Qt::LeftButton;
    event->accept();
}

void LauncherLabel::mouseReleaseEvent(QMouseEvent* event)
{
    const bool click = m_pressed && event->button() == Qt::LeftButton && rect().contains(event->position().toPoint());
    m_pressed = false;
    event->accept();
    if (click)
        emit clicked();
}

} // namespace shell
