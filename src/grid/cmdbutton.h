#pragma once
// cmdButton: the grid's flat push button (scroll arrows and thumbs), drawn with four
// one-pixel edges and a centred caption, reporting clicks, keys and pointer activity.

#include <QColor>
#include <QFont>
#include <QWidget>
#include <cstdint>

namespace grid {

class cmdButton : public QWidget {
    Q_OBJECT
public:
    explicit cmdButton(QWidget* parent = nullptr);

    QString Caption() const { return caption_; }
    void SetCaption(const QString& Besedilo);

    bool Enabled() const { return isEnabled(); }
    // Sets the enabled state and raises EnabledIsChanged on every write, also an unchanged one.
    void SetEnabled(bool NewEnabled);

    static uint32_t pvAlphaBlend(uint32_t clrFirst, uint32_t clrSecond, int lAlpha);

    uint32_t BackColor() const { return backColor_; }
    void SetBackColor(uint32_t color);

    // The look, for drawing and for tests.
    bool Pressed() const { return pressed_; }
    bool LeftWhileHeld() const { return leftWhileHeld_; }
    bool showsPressedLook() const { return pressedLook_; }
    int CaptionTop() const { return captionTop_; }
    int CaptionLeft() const { return captionLeft_; }
    // Where the caption is drawn now (its centred place, or one pixel down and right).
    QPoint captionPos() const { return captionPos_; }
    uint32_t lightColor() const;
    uint32_t darkColor() const;
    // Edge colours in the order top, left, bottom, right.
    uint32_t edgeColor(int edge) const;
    QSize captionSize() const;

    // True when a point in the button's pixels lies on the button.
    bool isOver(double X, double Y) const;

signals:
    void Click();
    void KeyDown(int KeyCode, int Shift);
    void EnabledIsChanged(bool NewEnabled);
    void MouseDown(int Button, int Shift, double X, double Y);
    void MouseUp(int Button, int Shift, double X, double Y);
    void MouseMove(int Button, int Shift, double X, double Y);

protected:
    void paintEvent(QPaintEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;
    void focusInEvent(QFocusEvent* event) override;
    void focusOutEvent(QFocusEvent* event) override;

private:
    void showLook(bool pressed);
    void recentre();
    void placeCaptionPressed();
    QFont captionFont() const;

    QString caption_;
    uint32_t backColor_ = 0xD4D4D4;
    bool pressed_ = false;
    bool leftWhileHeld_ = false;
    bool pressedLook_ = false;
    bool bold_ = false;
    int captionTop_ = 0;
    int captionLeft_ = 0;
    QPoint captionPos_;
};

} // namespace grid
