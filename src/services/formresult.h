#pragma once
// How a form command of the form service ended, and what its window does about it: show the
// message when there is one, and after a missing template bring up the settings window's
// picker for the kind (showFormResult does both, in that order).

#include "services/formtemplate.h"
#include "services/usermessage.h"

#include <optional>

namespace platform {
class Prompts;
}

namespace services {

class FormTemplatePicker;

struct FormResult {
    enum class Status {
        Printed,    // the copies went to the printer and the spreadsheet program was quit
        Shown,      // the filled form is in front of the user, who now owns it
        Cancelled,  // the copies prompt gave no print (empty, Cancel, below 1): nothing to say
        Refused,    // a check refused the command before anything was filled; see message
        NoTemplate, // no template of the kind: the message, then the kind's template picker
        Failed,     // the spreadsheet program failed; the message says what was not done
    };

    Status status = Status::Cancelled;
    FormKind kind = FormKind::Item;
    std::optional<UserMessage> message;

    bool done() const { return status == Status::Printed || status == Status::Shown; }
};

// Shows the result's message, and after NoTemplate has the picker brought up for its kind.
void showFormResult(const FormResult& result, platform::Prompts& prompts, FormTemplatePicker& picker);

} // namespace services
