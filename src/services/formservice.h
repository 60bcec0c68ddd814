#pragma once
// The form commands of the item groups, contact companies and payments windows, without
// their windows: print the item or contact of the selected row, or the payment shown, through
// the kind's form template, or leave the filled form open in front of the user. Each command
// plays the spreadsheet sound, makes the checks of its kind, asks for the copies when it
// prints, finds the template, opens it read-only in a new hidden spreadsheet instance, fills
// the kind's cell map (formcells.h) and prints and quits, or shows. The template file itself
// is never written.
//
// A window gathers its values (SelectedRow::fromGrid, or its payment texts), calls the
// command and passes the result to showFormResult with its prompts and the settings
// window's template picker. The copies prompt is the only thing a command asks itself.
// The transaction form is the grid's own (grid::TransactionForm); its window uses the
// opening steps (spreadsheetcommand.h) and the copies prompt (printcopies.h) from here.

#include "services/formcells.h"
#include "services/formresult.h"
#include "services/formvalues.h"
#include "services/spreadsheetcommand.h"
#include "platform/sound.h"
#include "platform/spreadsheet.h"

#include <functional>
#include <optional>

namespace datafiles {
class SettingsStore;
}
namespace platform {
class Prompts;
}

namespace services {

// What a window gives the service; the references must outlive it.
struct FormServiceInputs {
    // The settings store: the company, the network mode and host folders, the chosen
    // templates and the start-up probe's lblEXCELSTATUS.
    const datafiles::SettingsStore& store;
    // The window's prompts, for the copies prompt.
    platform::Prompts& prompts;
    // Makes each command's spreadsheet instance.
    platform::SpreadsheetFactory spreadsheets = platform::newSpreadsheet;
    SoundPlayer playSound = platform::playSound;
    // Shows (true) and hides (false) the window's progress frame PleaseWait around the
    // filling and printing; empty for a window without one (the payments window).
    std::function<void(bool visible)> pleaseWait = {};
};

class FormService {
public:
    // The lowest price of an item, and the lowest balance of a contact, that their form
    // prints accept: 0.1 passes, 0.09 is refused with a message naming 0.1.
    static constexpr double LowestPrice = 0.1;

    explicit FormService(FormServiceInputs inputs);

    // The item groups window's "Selected Item " (print) and "Selected Item into Excel Form"
    // (show): the sound and the spreadsheet check, the selected row's name and price (a
    // number of at least LowestPrice), for the print the copies, then the item form.
    [[nodiscard]] FormResult printItem(const SelectedRow& row);
    [[nodiscard]] FormResult exportItem(const SelectedRow& row);

    // The contact companies window's "Selected Contact" (print) and "Selected Contact into
    // Excel Form" (show): the sound and the spreadsheet check, the contact's name; the print
    // also wants a balance that is a number of at least LowestPrice, then the copies; then
    // the contact form.
    [[nodiscard]] FormResult printContact(const SelectedRow& row);
    [[nodiscard]] FormResult exportContact(const SelectedRow& row);

    // The payments window's Print and "Export to Excel Form": the print asks for the copies
    // first of all; then the sound and the spreadsheet check, a transaction chosen (its
    // number not empty), then the payment form. Nothing else of the payment is checked.
    [[nodiscard]] FormResult printPayment(const PaymentFormValues& payment);
    [[nodiscard]] FormResult exportPayment(const PaymentFormValues& payment);

private:
    enum class Ending { Show, Print };

    FormResult itemCommand(const SelectedRow& row, Ending ending);
    FormResult contactCommand(const SelectedRow& row, Ending ending);
    FormResult paymentCommand(const PaymentFormValues& payment, Ending ending);
    FormResult fill(FormKind kind, const QString& missingMessage, const FormCells& cells,
                    std::optional<int> copies);
    FormResult fillTemplate(FormKind kind, const QString& path, const FormCells& cells,
                            std::optional<int> copies);

    FormServiceInputs m_in;
};

} // namespace services
