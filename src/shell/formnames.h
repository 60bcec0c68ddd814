#pragma once
// The form names of the program's windows, as the settings store's ActiveList and the window
// registry name them.

#include "grid/gridhost.h"

#include <QString>

namespace shell::FormName {

inline const QString Items = grid::GridHost::Items;
inline const QString Contacts = grid::GridHost::Contacts;
inline const QString Transactions = grid::GridHost::Transactions;
inline const QString Payments = QStringLiteral("frmPayments");
inline const QString FileSearch = QStringLiteral("frmFileSearch");

} // namespace shell::FormName
