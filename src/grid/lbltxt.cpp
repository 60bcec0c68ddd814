#include "grid/lbltxt.h"

#include "grid/celltextbox.h"
#include "grid/celltextfont.h"
#include "platform/colors.h"
#include "platform/keys.h"

#include <QFocusEvent>
#include <QKeyEvent>
#include <QMouseEvent>
#include <QPalette>
#include <limits>

namespace grid {

namespace {

// Focus changes that only follow the active window (a dialog opening or closing, a switch to
// another program) rather than a move of the focus inside the window.
bool isWindowSwitch(Qt::FocusReason reason)
{
    return reason == Qt::ActiveWindowFocusReason || reason == Qt::PopupFocusReason;
}

// The keys of the editor's own undo and redo, which are also those of the window's Undo and
// Redo.
bool isUndoKey(const QKeyEvent* key)
{
    return key->matches(QKeySequence::Undo)
        || (key->key() == Qt::Key_Z && key->modifiers() == Qt::ControlModifier);
}

bool isRedoKey(const QKeyEvent* key)
{
    return key->matches(QKeySequence::Redo)
        || (key->key() == Qt::Key_Y && key->modifiers() == Qt::ControlModifier);
}

} // namespace

lblTxt::lblTxt(QWidget* parent) : QWidget(parent), m_box(new CellTextBox(this))
{
    m_box->setFont(cellTextFont());
    m_box->setFrame(false);
    // The line edit keeps its text 2 pixels in from its sides and 1 pixel below its top;
    // the grid draws a cell's text from the cell's very corner. Taken back, the text does not
    // move when the editors are laid over a row.
    m_box->setAlignment(Qt::AlignLeft | Qt::AlignTop);
    m_box->setTextMargins(-2, -1, -2, 0);
    // A cell's text has no length limit, and loading it into the editor must not cut it.
    m_box->setMaxLength(std::numeric_limits<int>::max());
    m_box->setMouseTracking(true);
    m_box->installEventFilter(this);
    m_box->onFocusIn = [this](QFocusEvent* e) { focusIn(e); };
    m_box->onFocusOut = [this](QFocusEvent* e) { focusOut(e); };
    setFocusProxy(m_box);
    connect(m_box, &QLineEdit::textChanged, this, &lblTxt::textChanged);
    applyColors();
    m_box->setGeometry(0, -1, width(), height() + 1);
}

void lblTxt::resizeEvent(QResizeEvent* event)
{
    QWidget::resizeEvent(event);
    // One pixel above the control's top edge, so the text sits where the cell draws it.
    m_box->setGeometry(0, -1, width(), height() + 1);
}

void lblTxt::setForeColor(uint32_t color)
{
    m_foreColor = color;
    applyColors();
}

void lblTxt::setBackColor(uint32_t color)
{
    m_backColor = color;
    applyColors();
}

void lblTxt::applyColors()
{
    QPalette palette = m_box->palette();
    palette.setColor(QPalette::Text, platform::toQColor(m_foreColor));
    palette.setColor(QPalette::Base, platform::toQColor(m_backColor));
    m_box->setPalette(palette);
}

void lblTxt::setFontFlag(void (QFont::*setter)(bool), bool on)
{
    QFont font = m_box->font();
    (font.*setter)(on);
    m_box->setFont(font);
}

void lblTxt::setBold(bool on)
{
    setFontFlag(&QFont::setBold, on);
}

void lblTxt::setItallic(bool on)
{
    setFontFlag(&QFont::setItalic, on);
}

void lblTxt::setUnderlined(bool on)
{
    setFontFlag(&QFont::setUnderline, on);
}

bool lblTxt::Bold() const
{
    return m_box->font().bold();
}

bool lblTxt::Itallic() const
{
    return m_box->font().italic();
}

bool lblTxt::Underlined() const
{
    return m_box->font().underline();
}

void lblTxt::setText(const QString& text)
{
    m_box->setText(text);
}

QString lblTxt::Text() const
{
    return m_box->text();
}

void lblTxt::Selected()
{
    m_box->setSelection(0, int(m_box->text().size()));
}

void lblTxt::SelectText(int Start, int Lenght)
{
    m_box->setSelection(Start, Lenght);
}

// A cell holds one line: each CR LF pair is taken out, leftmost first, and only the final
// text is reported. Lone CR or LF characters stay.
void lblTxt::textChanged(const QString& text)
{
    const qsizetype at = text.indexOf(QStringLiteral("\r\n"));
    if (at >= 0) {
        m_box->setText(text.left(at) + text.mid(at + 2)); // comes back here with the rest
        return;
    }
    emit Change();
}

bool lblTxt::claims(QKeyEvent* event) const
{
    return m_claimed && m_claimed(platform::keyCode(event->key()), platform::shiftMask(event->modifiers()));
}

bool lblTxt::eventFilter(QObject* watched, QEvent* event)
{
    if (watched != m_box)
        return QWidget::eventFilter(watched, event);
    if (!isEnabled()) // a disabled editor takes no input at all
        return false;
    switch (event->type()) {
    case QEvent::ShortcutOverride: {
        auto* key = static_cast<QKeyEvent*>(event);
        // A claimed key must reach KeyDown as a key press, not run a shortcut.
        if (claims(key)) {
            event->accept();
            return false;
        }
        // The editor undoes and redoes its own typing; with no step of its own to take, the
        // key goes on to the window's Undo or Redo, which take back the document's last change.
        const bool undoKey = isUndoKey(key);
        const bool redoKey = !undoKey && isRedoKey(key);
        if ((undoKey && !m_box->isUndoAvailable()) || (redoKey && !m_box->isRedoAvailable())) {
            event->ignore();
            return true;
        }
        if (redoKey)
            event->accept();
        return false;
    }
    case QEvent::KeyPress:
        return keyPressed(static_cast<QKeyEvent*>(event));
    case QEvent::MouseMove: {
        const auto* mouse = static_cast<QMouseEvent*>(event);
        const QPointF at = mouse->position();
        emit MouseMove(platform::buttonMask(mouse->buttons()), platform::shiftMask(mouse->modifiers()), at.x(), at.y());
        return false;
    }
    default:
        return false;
    }
}

// KeyDown first; then the edge tests with the key code the handler left. A handler that
// cleared the key code has consumed the key.
bool lblTxt::keyPressed(QKeyEvent* event)
{
    const int pressed = platform::keyCode(event->key());
    int keyCode = pressed;
    int shift = platform::shiftMask(event->modifiers());
    m_keyConsumed = false;
    emit KeyDown(keyCode, shift);
    // A key without a classic code (punctuation, accented letters) comes as 0 and is typed.
    if (m_keyConsumed || (pressed != 0 && keyCode == 0)) {
        event->accept();
        return true;
    }
    // Ctrl+Y redoes the editor's own typing also where the platform's redo key is another.
    if (isRedoKey(event) && !event->matches(QKeySequence::Redo) && m_box->isRedoAvailable()) {
        m_box->redo();
        event->accept();
        return true;
    }
    const bool nothingSelected = !m_box->hasSelectedText();
    if (keyCode == platform::Key::Right && nothingSelected && m_box->cursorPosition() == m_box->text().size())
        emit Right();
    else if (keyCode == platform::Key::Left && nothingSelected && m_box->cursorPosition() == 0)
        emit Left();
    return false;
}

void lblTxt::focusIn(QFocusEvent* event)
{
    if (isWindowSwitch(event->reason())) {
        // The focus given while the window was inactive arrives now: the selection stands
        // as it was made, and the flag that was to keep it is spent.
        DisableSelectAll = false;
        emit FocusReturned();
        return;
    }
    emit GotFocus();
    if (DisableSelectAll)
        DisableSelectAll = false;
    else
        Selected();
}

void lblTxt::focusOut(QFocusEvent* event)
{
    if (isWindowSwitch(event->reason()))
        return;
    emit LostFocus();
    emit ExitFocus();
}

} // namespace grid
