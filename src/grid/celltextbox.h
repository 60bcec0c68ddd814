#pragma once
// The text box inside a cell editor: a line edit that hands its focus changes to its owner
// after Qt's own handling, so the owner decides the selection last.

#include <QLineEdit>
#include <functional>

namespace grid {

class CellTextBox final : public QLineEdit {
public:
    explicit CellTextBox(QWidget* parent = nullptr) : QLineEdit(parent) {}

    std::function<void(QFocusEvent*)> onFocusIn;
    std::function<void(QFocusEvent*)> onFocusOut;

protected:
    void focusInEvent(QFocusEvent* event) override
    {
        QLineEdit::focusInEvent(event);
        if (onFocusIn)
            onFocusIn(event);
    }
    void focusOutEvent(QFocusEvent* event) override
    {
        QLineEdit::focusOutEvent(event);
        if (onFocusOut)
            onFocusOut(event);
    }
};

} // namespace grid
