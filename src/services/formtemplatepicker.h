#pragma once
// The settings window's form template picker, as a form command brings it up when no
// template of its kind is found. The program's window registry implements it with the
// settings window; tests use a stand-in.

#include "services/formtemplate.h"

namespace services {

class FormTemplatePicker {
public:
    virtual ~FormTemplatePicker() = default;

    // Brings the settings window up in front (hidden, then shown again), selects its Forms
    // tab (tab 3) and presses the kind's template button (Item, Contact, Transaction or
    // Payment), which runs its picker at once. A template picked there is the one the next
    // command finds; the command that asked does not go on.
    virtual void pickFormTemplate(FormKind kind) = 0;
};

} // namespace services
