#pragma once
// The own company and the payment that the form tests fill their forms with, and the cells
// the payment form receives from them, in the order they are written.

#include "datafiles/settingsstore.h"
#include "services/formvalues.h"

#include <QString>
#include <utility>
#include <vector>

namespace formsamples {

inline void fillCompany(datafiles::SettingsStore& store)
{
    store.CompanyName = QStringLiteral("Own Co");
    store.CompanyAddress = QStringLiteral("1 Main St");
    store.CompanyCity = QStringLiteral("Springfield");
    store.CompanyZip = QStringLiteral("01234");
    store.CompanyEMail = QStringLiteral("own@example.com");
    store.CompanyFax = QStringLiteral("555-0101");
    store.CompanyPhone = QStringLiteral("555-0100");
}

// A part payment of transaction 17 from a contact to the own company; the note begins with
// "=" and carries letters beyond ASCII, and both stay text.
inline services::PaymentFormValues payment()
{
    services::PaymentFormValues p;
    p.TransactionNumber = QStringLiteral("17");
    p.DateandTime = QStringLiteral("10.03.2026 14:00:00");
    p.TransactionValue = QStringLiteral("1000");
    p.fromcompany = QStringLiteral("Acme Ltd.QVC");
    p.fromcontact = QStringLiteral("Jane Roe");
    p.tocompany = QStringLiteral("Own Co");
    p.PaymentValue = QStringLiteral("250.5");
    p.AmountPaid = QStringLiteral("100");
    p.PaymentDate = QStringLiteral("14.03.2026 09:30:00");
    p.Balance = QStringLiteral("649.5");
    p.Note = QStringLiteral("=second instalment, šest dni");
    return p;
}

inline std::vector<std::pair<QString, QString>> paymentCells()
{
    return {{"A2", "Own Co"},        {"A3", "1 Main St"},
            {"A4", "Springfield"},   {"A5", "01234"},
            {"A6", "own@example.com"}, {"A7", "555-0101"},
            {"A8", "555-0100"},      {"K13", "17"},
            {"K14", "10.03.2026 14:00:00"}, {"K15", "1000"},
            {"K16", "Acme Ltd.QVC"}, {"K17", "Jane Roe"},
            {"K18", "Own Co"},       {"K19", ""},
            {"D13", "250.5"},        {"D15", "100"},
            {"D17", "14.03.2026 09:30:00"}, {"D19", "649.5"},
            {"A22", QStringLiteral("=second instalment, šest dni")}};
}

} // namespace formsamples
