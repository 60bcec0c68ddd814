#pragma once
// What the payments window is given when it is made: the settings store; the start-up
// window's file dialog CommonDialog4, with which it chooses the transaction to pay; the
// prompts it asks through; the contact companies window, which shows a company file whose
// balance a payment has changed (nullptr: nothing is shown); and the settings window's form
// template picker, which the payment form's print and export bring up when they find no
// template (nullptr: only the message is shown). None is owned; all must outlive the window.

namespace datafiles {
class SettingsStore;
}
namespace services {
class FormTemplatePicker;
}
namespace platform {
struct CommonDialog;
class Prompts;
}

namespace windows {

class PostedCompanyFileView;

struct PaymentsContext {
    datafiles::SettingsStore& store;
    platform::CommonDialog& CommonDialog4;
    platform::Prompts& prompts;
    PostedCompanyFileView* contacts = nullptr;
    services::FormTemplatePicker* formTemplatePicker = nullptr;
};

} // namespace windows
