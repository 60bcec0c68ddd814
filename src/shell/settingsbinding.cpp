#include "shell/settingsbinding.h"

#include <QAbstractButton>
#include <QCheckBox>
#include <QLabel>
#include <QLineEdit>
#include <QPointer>

namespace shell::SettingsBinding {

void bind(QLineEdit* edit, datafiles::TextField& field)
{
    edit->setText(field.value());
    QObject::connect(edit, &QLineEdit::textEdited, edit, [&field](const QString& text) { field = text; });
    field.watch([edit = QPointer<QLineEdit>(edit), &field] {
        if (edit && edit->text() != field.value())
            edit->setText(field.value());
    });
}

void show(QLabel* label, datafiles::TextField& field)
{
    label->setText(field.value());
    field.watch([label = QPointer<QLabel>(label), &field] {
        if (label)
            label->setText(field.value());
    });
}

void showAsToolTip(QAbstractButton* button, datafiles::TextField& field)
{
    button->setToolTip(field.value());
    field.watch([button = QPointer<QAbstractButton>(button), &field] {
        if (button)
            button->setToolTip(field.value());
    });
}

void bind(QAbstractButton* option, datafiles::OptionField& field, std::function<void()> clicked)
{
    // The store keeps the group to one option; the buttons only show it.
    option->setAutoExclusive(false);
    option->setCheckable(true);
    option->setChecked(field.value());
    QObject::connect(option, &QAbstractButton::clicked, option, [option, &field, clicked = std::move(clicked)] {
        field = true;
        option->setChecked(field.value());
        if (clicked)
            clicked();
    });
    field.watch([option = QPointer<QAbstractButton>(option), &field] {
        if (option)
            option->setChecked(field.value());
    });
}

void bind(QCheckBox* box, datafiles::CheckBoxField& field, std::function<void()> clicked)
{
    box->setChecked(field.Value.value() != 0);
    box->setEnabled(field.Enabled.value());
    QObject::connect(box, &QAbstractButton::clicked, box, [&field, clicked = std::move(clicked)](bool checked) {
        const int before = field.Value.value();
        field.Value = checked ? 1 : 0;
        if (field.Value.value() != before && clicked)
            clicked();
    });
    field.Value.watch([box = QPointer<QCheckBox>(box), &field] {
        if (box)
            box->setChecked(field.Value.value() != 0);
    });
    field.Enabled.watch([box = QPointer<QCheckBox>(box), &field] {
        if (box)
            box->setEnabled(field.Enabled.value());
    });
}

} // namespace shell::SettingsBinding
