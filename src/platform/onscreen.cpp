#include "platform/onscreen.h"

#include <QGuiApplication>
#include <QPointer>
#include <QScreen>
#include <QWidget>
#include <QWindow>
#include <algorithm>

namespace platform {

namespace {

qint64 overlap(const QRect& a, const QRect& b)
{
    const QRect common = a.intersected(b);
    return common.isEmpty() ? 0 : qint64(common.width()) * common.height();
}

QRect areaShowing(const QRect& frame)
{
    QRect best;
    qint64 bestOverlap = -1;
    for (const QScreen* screen : QGuiApplication::screens()) {
        const qint64 shown = overlap(frame, screen->geometry());
        if (shown > bestOverlap) {
            bestOverlap = shown;
            best = screen->availableGeometry();
        }
    }
    if (bestOverlap <= 0)
        if (const QScreen* primary = QGuiApplication::primaryScreen())
            best = primary->availableGeometry();
    return best;
}

} // namespace

QRect fitInto(const QRect& frame, const QRect& area, Fit fit)
{
    if (area.isEmpty())
        return frame;
    QRect fitted(frame.topLeft(), QSize(std::min(frame.width(), area.width()), std::min(frame.height(), area.height())));
    if (fit == Fit::KeepPlace && area.contains(frame.topLeft())) {
        fitted.setWidth(std::min(fitted.width(), area.right() - frame.left() + 1));
        fitted.setHeight(std::min(fitted.height(), area.bottom() - frame.top() + 1));
    }
    fitted.moveLeft(std::clamp(fitted.left(), area.left(), area.right() - fitted.width() + 1));
    fitted.moveTop(std::clamp(fitted.top(), area.top(), area.bottom() - fitted.height() + 1));
    return fitted;
}

bool liesWhollyOnOne(const QRect& rect, const QList<QRect>& areas)
{
    if (rect.width() < 1 || rect.height() < 1)
        return false;
    return std::any_of(areas.begin(), areas.end(), [&rect](const QRect& area) { return area.contains(rect); });
}

QList<QRect> screenAreas()
{
    QList<QRect> areas;
    for (const QScreen* screen : QGuiApplication::screens())
        areas << screen->availableGeometry();
    return areas;
}

namespace {

bool placeable(const QWidget& window)
{
    return window.isWindow() && window.isVisible()
        && !(window.windowState() & (Qt::WindowMinimized | Qt::WindowMaximized | Qt::WindowFullScreen));
}

void fitNow(QWidget& window, Fit fit)
{
    const QRect frame = window.frameGeometry();
    const QRect fitted = fitInto(frame, areaShowing(frame), fit);
    if (fitted == frame)
        return;
    if (fitted.size() != frame.size())
        window.resize(window.width() - (frame.width() - fitted.width()),
                      window.height() - (frame.height() - fitted.height()));
    window.move(fitted.topLeft());
}

// A window manager adds its frame only once the window is on the screen, so a window placed
// before that is fitted again, once, when it is first exposed: then its frame is known.
class FitWhenExposed : public QObject {
public:
    FitWhenExposed(QWidget& window, Fit fit) : QObject(window.windowHandle()), m_window(&window), m_fit(fit)
    {
        window.windowHandle()->installEventFilter(this);
    }

protected:
    bool eventFilter(QObject* watched, QEvent* event) override
    {
        auto* handle = qobject_cast<QWindow*>(watched);
        if (event->type() == QEvent::Expose && handle && handle->isExposed()) {
            handle->removeEventFilter(this);
            deleteLater();
            if (m_window && placeable(*m_window))
                fitNow(*m_window, m_fit);
        }
        return QObject::eventFilter(watched, event);
    }

private:
    QPointer<QWidget> m_window;
    Fit m_fit;
};

} // namespace

void keepOnScreen(QWidget& window, Fit fit)
{
    if (!placeable(window))
        return;
    fitNow(window, fit);
    QWindow* handle = window.windowHandle();
    if (handle && !handle->isExposed() && !handle->findChild<FitWhenExposed*>(QString(), Qt::FindDirectChildrenOnly))
        new FitWhenExposed(window, fit);
}

} // namespace platform
