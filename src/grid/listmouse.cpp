// List: the mouse over the header strip, the column area, the scroll strips and arrows, and
// the auto-repeat of a held arrow.

#include "grid/list.h"
#include "platform/keys.h"

#include "grid/arrowicons.h"
#include "grid/arrowsteps.h"
#include "grid/cmdbutton.h"
#include "grid/gridselection.h"

#include <QLabel>
#include <QMouseEvent>

namespace grid {

namespace {
constexpr int PressedImageOffset = 4;
constexpr int RepeatDelay = 500;
constexpr int DefaultPointer = 0;
constexpr int SizingPointer = 9;
} // namespace

void List::setMousePointer(int shape)
{
    if (shape == mousePointer_)
        return;
    mousePointer_ = shape;
    if (shape == SizingPointer)
        setCursor(Qt::SizeHorCursor);
    else
        unsetCursor();
}

// ---- Routing: a part that took a press keeps the moves and the release until the buttons
// are up, so a drag that leaves the part still ends where it began.

List::Region List::regionAt(QPointF p) const
{
    const GridLayout l = gridLayout();
    const QPoint at(int(std::floor(p.x())), int(std::floor(p.y())));
    if (l.PicKot.contains(at))
        return Region::Corner;
    if (l.PicScrV.contains(at))
        return Region::VerticalStrip;
    if (l.PicScrH.contains(at) && !l.shpDolLevo.contains(at))
        return Region::HorizontalStrip;
    if (l.picCnt.contains(at))
        return Region::Gutter;
    return Region::Body;
}

void List::mousePressEvent(QMouseEvent* event)
{
    if (capture_ == Region::None)
        capture_ = regionAt(event->position());
    dispatchPress(capture_, platform::buttonMask(event->button()), event->position());
}

void List::mouseMoveEvent(QMouseEvent* event)
{
    const Region region = capture_ != Region::None ? capture_ : regionAt(event->position());
    dispatchMove(region, platform::buttonMask(event->buttons()), event->position());
}

void List::mouseReleaseEvent(QMouseEvent* event)
{
    const Region region = capture_ != Region::None ? capture_ : regionAt(event->position());
    if (event->buttons() == Qt::NoButton)
        capture_ = Region::None;
    const int Button = platform::buttonMask(event->button());
    dispatchRelease(region, Button, event->position());
    // A left click on the grid's own surface (the header strip and the column area).
    if (region == Region::Body && Button == 1 && rect().contains(event->position().toPoint()))
        selection_->surfaceClicked();
    // An arrow disabled while it was held never sees its release: stop its repeat here.
    if (event->buttons() == Qt::NoButton && tmrScroll_.isActive())
        stopRepeat();
}

void List::dispatchPress(Region region, int Button, QPointF p)
{
    switch (region) {
    case Region::Body: UserControl_MouseDown(Button, p.x(), p.y()); break;
    case Region::VerticalStrip: PicScrV_MouseDown(Button, p.y() - Size::Header); break;
    case Region::HorizontalStrip: PicScrH_MouseDown(Button, p.x()); break;
    default: break;
    }
}

void List::dispatchMove(Region region, int Button, QPointF p)
{
    switch (region) {
    case Region::Body: UserControl_MouseMove(Button, p.x(), p.y()); break;
    case Region::VerticalStrip: PicScrV_MouseMove(Button, p.y() - Size::Header); break;
    case Region::HorizontalStrip: PicScrH_MouseMove(Button, p.x()); break;
    case Region::Corner: setMousePointer(DefaultPointer); break;
    default: break;
    }
}

void List::dispatchRelease(Region region, int Button, QPointF p)
{
    switch (region) {
    case Region::Body: UserControl_MouseUp(Button, p.x(), p.y()); break;
    case Region::VerticalStrip:
    case Region::HorizontalStrip: reselectRow(); break;
    default: break;
    }
}

// ---- Header strip and column area

void List::UserControl_MouseDown(int Button, double X, double Y)
{
    if (Button != 1)
        return;
    const ColumnHitTest hit = hitTest();
    if (Y > hit.rowsBottom())
        return;
    const int g = hit.borderColumn(X);
    if (g >= 1) {
        splitterColumn_ = g;
        splitterLeft_ = roundPixel(hit.right(g) - 1);
        splitterVisible_ = true;
        MouseX = roundPixel(X - splitterLeft_);
        update();
        return;
    }
    if (Y > Size::Header) {
        const int column = hit.editColumnAt(X);
        core_.setEditColumn(column);
        SelectItem(hit.rowAt(Y), Button, column);
    }
}

void List::UserControl_MouseMove(int Button, double X, double Y)
{
    if (Button == 0) {
        const bool sizing = hitTest().showsSizingPointer(X, Y, gutterWidth_, width() - Size::Strip);
        setMousePointer(sizing ? SizingPointer : DefaultPointer);
        return;
    }
    if (!splitterVisible_)
        return;
    const ColumnHitTest hit = hitTest();
    const int lo = hit.splitterMin(splitterColumn_);
    const int hi = hit.splitterMax(splitterColumn_);
    const double pos = X - MouseX;
    const int left = pos < lo ? lo : pos > hi ? hi : roundPixel(pos);
    if (left != splitterLeft_) {
        splitterLeft_ = left;
        update();
    }
}

void List::UserControl_MouseUp(int Button, double, double)
{
    if (splitterVisible_) {
        const int column = splitterColumn_;
        const int width = hitTest().widthForSplitter(column, splitterLeft_);
        core_.LetWidthColumn(column, width);
        splitterVisible_ = false;
        update();
        if (selection_->rowOpen())
            SelectItem(core_.iSelected(), 1, core_.EditColumn());
    }
    if (Button == 2)
        selection_->surfaceRightReleased();
}

// ---- Scroll strips

void List::PicScrV_MouseDown(int Button, double y)
{
    if (Button == 1 && bars_.vertical.visible)
        MouseY = grabOffset(y, bars_.vertical.pos, bars_.vertical.size);
    PicScrV_MouseMove(Button, y);
}

void List::PicScrV_MouseMove(int Button, double y)
{
    setMousePointer(DefaultPointer);
    if (Button != 1 || !bars_.vertical.visible)
        return;
    const GridMeasures m = measures();
    const float h = bars_.vertical.size;
    bars_.vertical.pos = dragThumbTo(y - MouseY, verticalThumbMin(), verticalThumbMax(m, h));
    placeChildren();
    const std::optional<double> s = scrollTopForThumb(m, bars_.vertical.pos, h);
    if (!s || *s == core_.ScrollTop())
        return;
    core_.setScrollTop(roundPixel(*s));
    RenderColumn(-1);
    moveEditors();
    update();
}

void List::PicScrH_MouseDown(int Button, double x)
{
    if (Button != 1 || !bars_.horizontal.visible)
        return;
    MouseX = grabOffset(x, bars_.horizontal.pos, bars_.horizontal.size);
    PicScrH_MouseMove(Button, x);
}

void List::PicScrH_MouseMove(int Button, double x)
{
    setMousePointer(DefaultPointer);
    if (Button != 1 || !bars_.horizontal.visible)
        return;
    const GridMeasures m = measures();
    const float w = bars_.horizontal.size;
    bars_.horizontal.pos = dragThumbTo(x - MouseX, horizontalThumbMin(m), horizontalThumbMax(m, w));
    placeChildren();
    const std::optional<double> left = areaLeftForThumb(m, bars_.horizontal.pos, w);
    if (left && *left != areaLeft_) {
        setAreaLeft(*left);
        moveEditors();
    }
    update();
}

void List::reselectRow()
{
    if (core_.iSelected() >= 1)
        SelectItem(core_.iSelected(), 1, core_.EditColumn());
}

// ---- Arrows and auto-repeat

static const QString* const arrowCodes[4] = {&Arrow::Up, &Arrow::Down, &Arrow::Left, &Arrow::Right};

void List::arrowMouseDown(int k, int Button)
{
    if (Button != 1)
        return;
    images_[k]->move(PressedImageOffset, PressedImageOffset);
    tmrScrollTag_ = *arrowCodes[k];
    tmrScroll_Timer();
    tmrScroll_.setInterval(RepeatDelay);
    tmrScroll_.start();
}

void List::arrowMouseUp()
{
    stopRepeat();
    reselectRow();
}

void List::stopRepeat()
{
    tmrScroll_.stop();
    for (QLabel* image : images_)
        image->move(RestImageOffset, RestImageOffset);
}

void List::arrowEnabledChanged(int k, bool enabled)
{
    images_[k]->setPixmap(QPixmap::fromImage(arrowIcon(enabled ? k : k + 4)));
}

void List::tmrScroll_Timer()
{
    tmrScroll_.setInterval(RepeatInterval);
    const GridMeasures m = measures();
    if (tmrScrollTag_ == Arrow::Up || tmrScrollTag_ == Arrow::Down) {
        const std::optional<int> next = tmrScrollTag_ == Arrow::Up ? stepUp(m) : stepDown(m);
        if (!next)
            return;
        core_.setScrollTop(*next);
        afterVerticalStep();
    } else if (tmrScrollTag_ == Arrow::Left || tmrScrollTag_ == Arrow::Right) {
        const std::optional<double> next = tmrScrollTag_ == Arrow::Left ? stepLeft(m) : stepRight(m);
        if (!next)
            return;
        setAreaLeft(*next);
        afterHorizontalStep();
    }
}

void List::afterVerticalStep()
{
    RenderColumn(-1);
    moveEditors();
    SetScrollers();
}

void List::afterHorizontalStep()
{
    // The header follows the column area's left edge when painted; the editors are moved.
    moveEditors();
    SetScrollers();
    update();
}

} // namespace grid
