#include "grid/list.h"

#include "grid/arrowicons.h"
#include "grid/celltextfont.h"
#include "grid/cmdbutton.h"
#include "grid/gridpainter.h"
#include "grid/gridselection.h"
#include "platform/keys.h"
#include "platform/vb.h"

#include <QFontMetrics>
#include <QKeyEvent>
#include <QLabel>
#include <QPainter>
#include <QPaintEvent>
#include <cmath>

namespace grid {

List::List(QWidget* parent) : QWidget(parent)
{
    for (int k = 0; k < 8; ++k) {
        fonts_[k] = cellTextFont();
        fonts_[k].setBold(k & 1);
        fonts_[k].setItalic(k & 2);
        fonts_[k].setUnderline(k & 4);
        ascents_[k] = QFontMetrics(fonts_[k]).ascent();
    }
    setAttribute(Qt::WA_OpaquePaintEvent);
    setMouseTracking(true);
    setFocusPolicy(Qt::StrongFocus);
    columnBack_.fill(GridColors::BackColor);
    tmrScroll_.setInterval(RepeatInterval);
    connect(&tmrScroll_, &QTimer::timeout, this, &List::tmrScroll_Timer);
    buildButtons();
    scrollBarFocus_ = new QWidget(this);
    scrollBarFocus_->setFocusPolicy(Qt::StrongFocus);
    scrollBarFocus_->setAttribute(Qt::WA_TransparentForMouseEvents);
    core_.setView(this);
    selection_ = std::make_unique<GridSelection>(core_, *this);
    connect(selection_.get(), &GridSelection::GridKeyDown, this, &List::GridKeyDown);
    selection_->syncEditors();
    // The core built its first column and row before it had a view: lay them out now.
    FitCounterColumn();
    areaLeft_ = gutterWidth_;
    lastAreaWidth_ = areaWidth();
    resize(200, 150);
}

List::~List()
{
    // The editors go with the selection, before the core stops being shown.
    selection_.reset();
    core_.setView(nullptr);
}

void List::setHost(GridHost* host)
{
    selection_->setHost(host);
}

void List::buildButtons()
{
    for (int k = 0; k < 4; ++k) {
        auto* arrow = new cmdButton(this);
        arrow->SetCaption(QString());
        arrow->resize(Size::Arrow, Size::Arrow);
        arrow->setMouseTracking(true);
        arrow->setFocusPolicy(Qt::NoFocus);
        auto* image = new QLabel(arrow);
        image->setAttribute(Qt::WA_TransparentForMouseEvents);
        image->setPixmap(QPixmap::fromImage(arrowIcon(k + 4)));
        image->setGeometry(RestImageOffset, RestImageOffset, 9, 9);
        arrows_[k] = arrow;
        images_[k] = image;
        arrow->QWidget::setEnabled(false);
        connect(arrow, &cmdButton::MouseDown, this, [this, k](int b, int, double, double) { arrowMouseDown(k, b); });
        connect(arrow, &cmdButton::MouseUp, this, [this](int, int, double, double) { arrowMouseUp(); });
        connect(arrow, &cmdButton::MouseMove, this, [this](int, int, double, double) { setMousePointer(0); });
        connect(arrow, &cmdButton::EnabledIsChanged, this, [this, k](bool on) { arrowEnabledChanged(k, on); });
    }
    thumbV_ = new cmdButton(this);
    thumbH_ = new cmdButton(this);
    for (cmdButton* thumb : {thumbV_, thumbH_}) {
        thumb->SetCaption(QString());
        thumb->QWidget::setEnabled(false); // presses over a thumb reach the strip beneath it
        thumb->hide();
    }
    // The horizontal thumb carries a fixed caption of its own, cut off by the thumb's edges.
    auto* caption = new QLabel(QStringLiteral("Velkorn Quorvane for Excel"), thumbH_);
    QFont captionFont(QStringLiteral("Liberation Sans"));
    captionFont.setPixelSize(12);
    caption->setFont(captionFont);
    caption->setToolTip(QStringLiteral("Velkorn"));
    caption->setAttribute(Qt::WA_TransparentForMouseEvents);
    QPalette palette = caption->palette();
    palette.setColor(QPalette::Disabled, QPalette::WindowText, Qt::black);
    caption->setPalette(palette);
    caption->move(2, 1);
    caption->adjustSize();
}

GridMeasures List::measures() const
{
    GridMeasures m;
    m.width = width();
    m.height = height();
    m.gutterWidth = gutterWidth_;
    m.areaLeft = areaLeft_;
    m.areaWidth = areaWidth();
    m.scrollTop = core_.ScrollTop();
    m.listCount = core_.ListCount();
    return m;
}

ColumnHitTest List::hitTest() const
{
    ColumnHitTest hit;
    hit.areaLeft = areaLeft_;
    for (int k = 1; k <= core_.ColumnCount(); ++k) {
        hit.lefts.push_back(core_.columnLeft(k));
        hit.widths.push_back(core_.GetWidthColumn(k));
    }
    hit.listCount = core_.ListCount();
    hit.scrollTop = core_.ScrollTop();
    return hit;
}

uint32_t List::columnBackColor(int k) const
{
    return k >= 0 && k <= GridCore::MaxColumns ? columnBack_[k] : GridColors::BackColor;
}

const QFont& List::cellFont(bool bold, bool italic, bool underline) const
{
    return fonts_[int(bold) + 2 * int(italic) + 4 * int(underline)];
}

int List::cellAscent(bool bold, bool italic, bool underline) const
{
    return ascents_[int(bold) + 2 * int(italic) + 4 * int(underline)];
}

// ---- The parts' places

void List::placeChildren()
{
    const GridLayout l = gridLayout();
    arrows_[0]->move(l.btnGor.topLeft());
    arrows_[1]->move(l.btnDol.topLeft());
    arrows_[2]->move(l.btnLevo.topLeft());
    arrows_[3]->move(l.btnDesno.topLeft());
    scrollBarFocus_->setGeometry(l.PicScrV);
    scrollBarFocus_->lower();
    showThumb(thumbV_, bars_.vertical, true);
    showThumb(thumbH_, bars_.horizontal, false);
}

void List::showThumb(cmdButton* thumb, const Thumb& state, bool vertical)
{
    if (!state.visible) {
        thumb->hide();
        return;
    }
    const int pos = int(std::lround(state.pos));
    const int size = std::max(1, int(std::lround(state.size)));
    if (vertical)
        thumb->setGeometry(width() - Size::Strip, Size::Header + pos, Size::Strip, size);
    else
        thumb->setGeometry(pos, height() - Size::Strip, size, Size::Strip);
    thumb->show();
}

void List::setArrowEnabled(cmdButton* arrow, bool enabled)
{
    if (arrow->Enabled() != enabled)
        arrow->SetEnabled(enabled);
}

void List::SetScrollers()
{
    fitScrollBars(measures(), bars_);
    setArrowEnabled(btnGor(), bars_.upEnabled);
    setArrowEnabled(btnDol(), bars_.downEnabled);
    setArrowEnabled(btnLevo(), bars_.leftEnabled);
    setArrowEnabled(btnDesno(), bars_.rightEnabled);
    placeChildren();
    update();
}

void List::FitCounterColumn()
{
    const double offset = platform::vb::RoundHalfEven(areaLeft_ - gutterWidth_);
    const int w = gutterWidthFor(core_.ListCount(), QFontMetrics(cellFont()).horizontalAdvance(QLatin1Char('_')));
    if (w == gutterWidth_)
        return;
    gutterWidth_ = w;
    areaLeft_ = w + offset;
    const int room = width() - Size::Strip - gutterWidth_;
    const int A = areaWidth();
    if (room >= A) {
        if (areaLeft_ < gutterWidth_)
            areaLeft_ = gutterWidth_;
    } else {
        const double m = width() - Size::Strip - A;
        if (m > areaLeft_)
            areaLeft_ = m;
    }
    SetScrollers();
}

void List::setAreaLeft(double left)
{
    if (left == areaLeft_)
        return;
    areaLeft_ = left;
    update();
}

void List::anchorColumnArea()
{
    const double G = gutterWidth_;
    const double V = width() - Size::Strip;
    const double A = areaWidth();
    if (V - G >= A) {
        if (areaLeft_ != G) {
            setAreaLeft(G);
            SetScrollers();
        }
    } else if (areaLeft_ + A < V) {
        setAreaLeft(V - A);
        SetScrollers();
    }
}

void List::resizeEvent(QResizeEvent*)
{
    UserControl_Resize();
}

void List::UserControl_Resize()
{
    placeChildren();
    const int viewHeight = rowAreaHeight();
    if (viewHeight != lastViewHeight_) {
        lastViewHeight_ = viewHeight;
        anchorColumnArea();
    }
    GridMeasures m = measures();
    core_.setScrollTop(clampScrollTop(m));
    setAreaLeft(clampAreaLeft(m));
    RenderColumn(-1);
    if (core_.iSelected() > 0)
        SelectItem(core_.iSelected(), 1, core_.EditColumn());
    SetScrollers();
}

void List::paintEvent(QPaintEvent* event)
{
    QPainter painter(this);
    GridPainter(*this, painter).paint(event->rect());
}

// ---- What the core asks of the view

// A column redraws its own body only; the gutter mode redraws the gutter and the area below
// the rows; -1 redraws everything.
void List::renderColumn(int Stol)
{
    const GridLayout l = gridLayout();
    if (Stol >= 1 && Stol <= core_.ColumnCount()) {
        const int left = l.areaLeft + core_.columnLeft(Stol);
        update(QRect(left, l.view.top(), core_.GetWidthColumn(Stol), l.view.height()).intersected(l.view));
    } else if (Stol == -2 || Stol == -3) {
        update(l.picCnt);
        update(l.view);
    } else {
        update();
    }
}

void List::columnsChanged(int first)
{
    selection_->columnsChanged(first);
    const int A = areaWidth();
    if (A != lastAreaWidth_) {
        lastAreaWidth_ = A;
        anchorColumnArea();
    }
    update();
}

void List::rowsChanged(int first)
{
    if (selection_)
        selection_->rowsChanged(first);
}

void List::changeBegins()
{
    if (selection_)
        selection_->changeBegins();
}

void List::changeEnded()
{
    if (selection_)
        selection_->changeEnded();
}

void List::columnCaptionChanged(int)
{
    update(0, 0, width(), Size::Header);
}

void List::columnEditChanged(int)
{
    selection_->syncEditors();
}

void List::resetHorizontalScroll()
{
    setAreaLeft(gutterWidth_);
}

// ---- Selection

void List::SelectItem(int Index, int Button, int iX)
{
    selection_->SelectItem(Index, Button, iX);
}

void List::DeselectRow()
{
    selection_->DeselectRow();
}

void List::COLUMNUMBER()
{
    selection_->COLUMNUMBER();
}

int List::columnAreaLeft() const
{
    return int(std::floor(areaLeft_));
}

void List::setColumnBodyColor(int k, uint32_t color)
{
    if (k >= 0 && k <= GridCore::MaxColumns)
        columnBack_[k] = color;
}

void List::showRowMarker(int top, int row)
{
    rowMarkerVisible_ = true;
    rowMarkerTop_ = top;
    rowMarkerRow_ = row;
    update();
}

void List::hideRowMarker()
{
    rowMarkerVisible_ = false;
    update();
}

void List::focusScrollBar()
{
    scrollBarFocus_->setFocus(Qt::OtherFocusReason);
}

void List::moveEditors()
{
    selection_->moveEditors();
}

// A key reaching the grid itself, not one of its editors.
void List::keyPressEvent(QKeyEvent* event)
{
    selection_->gridKeyPressed(platform::keyCode(event->key()), platform::shiftMask(event->modifiers()));
}

} // namespace grid
