#pragma once
// The grid's in-place cell editor: a text box that shows one cell's text, colour and font
// flags and reports text changes (with line breaks taken out), keys, the caret running into
// either end of the text, mouse moves and focus changes to the grid that lays it over a row.

#include <QWidget>
#include <cstdint>
#include <functional>

namespace grid {

class CellTextBox;

class lblTxt : public QWidget {
    Q_OBJECT
public:
    explicit lblTxt(QWidget* parent = nullptr);

    void setForeColor(uint32_t color);
    void setBackColor(uint32_t color);
    uint32_t BackColor() const { return m_backColor; }
    void setBold(bool on);
    void setItallic(bool on);
    void setUnderlined(bool on);
    bool Bold() const;
    bool Itallic() const;
    bool Underlined() const;
    uint32_t ForeColor() const { return m_foreColor; }

    // Replaces the text; a real change is handled as typing is (line breaks out, then Change).
    void setText(const QString& text);
    QString Text() const;

    // Selects the whole text.
    void Selected();
    // Selects Lenght characters from Start (0-based).
    void SelectText(int Start, int Lenght);

    // Enabled: whether the editor may take the focus and input (QWidget's enabled state).
    bool Enabled() const { return isEnabled(); }

    // When set, the next focus keeps the current selection instead of selecting all; the
    // flag clears itself at that focus.
    bool DisableSelectAll = false;

    // Keys that the owner acts on itself: they are claimed before any shortcut and before the
    // text box's own editing keys, and they reach KeyDown first.
    void setClaimedKeys(std::function<bool(int keyCode, int shift)> claimed) { m_claimed = std::move(claimed); }

    CellTextBox* textBox() const { return m_box; }

    // Called from a KeyDown handler: the text box does not see the key.
    void consumeKey() { m_keyConsumed = true; }

signals:
    // The text changed and holds no CR LF pair.
    void Change();
    // A key went down, before anything else is done with it; KeyCode is 0 for a key without
    // a classic code. A handler that sets a key's code to 0, or calls consumeKey(), consumes
    // the key: the text box does not see it.
    void KeyDown(int& KeyCode, int& Shift);
    // Right at the end of the text, Left at its start, nothing selected.
    void Right();
    void Left();
    void MouseMove(int Button, int Shift, double X, double Y);
    // The text box took the focus (before the selection is made) or lost it. A change of the
    // active window (a message box opening or closing, another program) is not a focus move:
    // the text box keeps its place as the focus of its window and none of these is raised.
    void GotFocus();
    void LostFocus();
    void ExitFocus();
    // The window became active again with the focus in this text box (after a message box,
    // or when the focus was given while the window was inactive).
    void FocusReturned();

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;

private:
    void textChanged(const QString& text);
    bool keyPressed(class QKeyEvent* event);
    bool claims(class QKeyEvent* event) const;
    void focusIn(class QFocusEvent* event);
    void focusOut(class QFocusEvent* event);
    void applyColors();
    void setFontFlag(void (QFont::*setter)(bool), bool on);

    CellTextBox* m_box = nullptr;
    uint32_t m_foreColor = 0;
    uint32_t m_backColor = 0xFFFFFF;
    std::function<bool(int, int)> m_claimed;
    bool m_keyConsumed = false;
};

} // namespace grid
