#pragma once
// Where the form template of each kind is found: the workbook chosen in the settings window
// (the tooltip of the kind's button on its Forms tab) while one is chosen, otherwise the
// kind's default file below the data root of the current network mode, such as
// "Template/Item/Item Form.xls".

#include <QString>
#include <optional>

namespace datafiles {
class SettingsStore;
}

namespace services {

enum class FormKind { Item, Contact, Transaction, Payment };

// The default template of the kind below a data root ("Template/Contacts/Contact Form.xls").
QString formBelowDataRoot(FormKind kind);

// The path chosen in the settings window for the kind; "" while none is chosen.
QString chosenFormTemplate(const datafiles::SettingsStore& store, FormKind kind);

// The template to fill. A chosen workbook decides alone: while it exists it is the template,
// and once it has gone there is none, even where the default exists, so that the user is
// asked to choose again rather than given another form unasked. While none is chosen, the
// default below the mode's data root when it is a file. Nothing when neither applies; in
// host and user mode also while the host folder is not known, rather than a path relative
// to wherever the program was started.
[[nodiscard]] std::optional<QString> FindFormTemplate(const datafiles::SettingsStore& store, FormKind kind);

} // namespace services
