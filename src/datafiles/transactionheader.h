#pragma once
// The header of one transaction (number, date, value, the two parties, amounts paid and
// owed, the parties' contact rows) as the transactions window's header menus hold it.

#include <QString>

namespace datafiles {

// One header menu: its caption holds a value, its check mark a flag.
struct HeaderMenu {
    QString Caption;
    bool Checked = false;
    bool operator==(const HeaderMenu&) const = default;
};

struct TransactionHeader {
    HeaderMenu TransactionNumber;     // line 1, the key field
    HeaderMenu DateandTime;           // line 2
    HeaderMenu Value{QStringLiteral("0"), false}; // line 3
    HeaderMenu FromMyCompany;         // lines 4 (caption) and 5 (check mark)
    HeaderMenu fromcompany;           // lines 6 and 7
    HeaderMenu fromcontact;           // lines 8 and 9
    HeaderMenu ToMyCompany;           // lines 10 and 11
    HeaderMenu tocompany;             // lines 12 and 13
    HeaderMenu tocontact;             // lines 14 and 15
    HeaderMenu AmountPaid;            // line 16
    HeaderMenu Balance;               // line 17
    HeaderMenu fromcompanyiselected;  // line 18
    HeaderMenu tocompanyiselected;    // line 19
    HeaderMenu oldvalue;              // never stored: the value already posted

    bool operator==(const TransactionHeader&) const = default;
};

} // namespace datafiles
