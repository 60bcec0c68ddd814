#include "support/controlfit.h"

#include <QAbstractButton>
#include <QCheckBox>
#include <QLabel>
#include <QPushButton>
#include <QRadioButton>
#include <QStyle>
#include <QStyleOptionButton>
#include <QToolButton>
#include <QWidget>

namespace testsupport {

namespace {

QString nameOf(const QWidget* w)
{
    return w->objectName().isEmpty() ? QString::fromLatin1(w->metaObject()->className()) : w->objectName();
}

QString rectText(const QRect& r)
{
    return QStringLiteral("%1,%2 %3x%4").arg(r.x()).arg(r.y()).arg(r.width()).arg(r.height());
}

// The width a button has for its caption: the style's label area of a check box, radio button
// or push button; a tool button's face within its frame.
int captionRoom(const QAbstractButton* button)
{
    QStyleOptionButton option;
    option.initFrom(button);
    option.text = button->text();
    option.icon = button->icon();
    option.iconSize = button->iconSize();
    const QStyle* style = button->style();
    if (qobject_cast<const QCheckBox*>(button))
        return style->subElementRect(QStyle::SE_CheckBoxContents, &option, button).width();
    if (qobject_cast<const QRadioButton*>(button))
        return style->subElementRect(QStyle::SE_RadioButtonContents, &option, button).width();
    if (qobject_cast<const QPushButton*>(button))
        return style->subElementRect(QStyle::SE_PushButtonContents, &option, button).width();
    return button->width() - 2 * style->pixelMetric(QStyle::PM_DefaultFrameWidth, nullptr, button);
}

} // namespace

QStringList cutCaptions(const QList<QWidget*>& controls)
{
    QStringList cut;
    for (const QWidget* control : controls) {
        if (const auto* button = qobject_cast<const QAbstractButton*>(control)) {
            if (button->text().isEmpty())
                continue;
            const int needed = button->fontMetrics().horizontalAdvance(button->text());
            const int room = captionRoom(button);
            if (needed > room || button->fontMetrics().height() > button->height())
                cut << QStringLiteral("%1 \"%2\" needs %3x%4, has %5x%6")
                           .arg(nameOf(button), button->text())
                           .arg(needed)
                           .arg(button->fontMetrics().height())
                           .arg(room)
                           .arg(button->height());
        } else if (const auto* label = qobject_cast<const QLabel*>(control)) {
            if (label->text().isEmpty())
                continue;
            const bool fits = label->wordWrap()
                ? label->heightForWidth(label->width()) <= label->height()
                : label->fontMetrics().horizontalAdvance(label->text()) <= label->width()
                    && label->fontMetrics().height() <= label->height();
            if (!fits)
                cut << QStringLiteral("%1 \"%2\" does not fit %3").arg(nameOf(label), label->text(), rectText(label->geometry()));
        }
    }
    return cut;
}

QStringList overlappingControls(const QList<QWidget*>& controls)
{
    QStringList overlaps;
    for (int i = 0; i < controls.size(); ++i)
        for (int j = i + 1; j < controls.size(); ++j)
            if (controls[i]->geometry().intersects(controls[j]->geometry()))
                overlaps << QStringLiteral("%1 %2 covers %3 %4")
                                .arg(nameOf(controls[i]), rectText(controls[i]->geometry()), nameOf(controls[j]),
                                     rectText(controls[j]->geometry()));
    return overlaps;
}

QStringList controlsOutside(const QList<QWidget*>& controls, const QRect& area)
{
    QStringList outside;
    for (const QWidget* control : controls)
        if (!area.contains(control->geometry()))
            outside << QStringLiteral("%1 %2 reaches outside %3").arg(nameOf(control), rectText(control->geometry()), rectText(area));
    return outside;
}

QStringList controlsInside(const QList<QWidget*>& controls, const QRect& area)
{
    QStringList inside;
    for (const QWidget* control : controls)
        if (control->geometry().intersects(area))
            inside << QStringLiteral("%1 %2 reaches into %3").arg(nameOf(control), rectText(control->geometry()), rectText(area));
    return inside;
}

} // namespace testsupport
