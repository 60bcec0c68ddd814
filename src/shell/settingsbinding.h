#pragma once
// Binds the settings window's controls to the fields of the settings store, both ways: what
// the user types or clicks is set into the field (which runs the field's rule), and every
// change of the field, from whatever side, is shown in the control. A control that has gone
// is no longer told.

#include "datafiles/storefield.h"

#include <functional>

class QAbstractButton;
class QCheckBox;
class QLabel;
class QLineEdit;

namespace shell::SettingsBinding {

// The text box shows the field; each edit of the user's is set into it at once.
void bind(QLineEdit* edit, datafiles::TextField& field);
// The label shows the field (the store alone changes it).
void show(QLabel* label, datafiles::TextField& field);
// The button's tooltip shows the field.
void showAsToolTip(QAbstractButton* button, datafiles::TextField& field);
// The option button shows the field; the user's click selects it (the store clears the other
// options of the group). The click handler runs after the store has been set.
void bind(QAbstractButton* option, datafiles::OptionField& field, std::function<void()> clicked);
// The check box shows the value (0 or 1) and whether it is enabled; the user's click sets
// the value, then runs the click handler. A value set by code (a host file read, the settings
// load, the fall-back to single-machine mode) runs no handler: the switches' handlers write
// the host file at MyHostName, which on a machine now using another host is its own former
// host file, and a reading would overwrite that host's balance and counters with another's.
void bind(QCheckBox* box, datafiles::CheckBoxField& field, std::function<void()> clicked);

} // namespace shell::SettingsBinding
