#pragma once
// How the contact companies window hands a contact to the transaction as its sender (From)
// or receiver (To). The transactions window implements it; the program's window registry
// gives it to the contact companies window when it makes that window. The contact window
// decides what is handed over and places both windows; the transactions window only shows
// itself and writes the party into its header entries.

#include <QString>

namespace windows {

enum class PartySide { From, To };

// A contact as the transaction keeps a party, and as the posting finds it again: the
// contact company file, the contact's name (column 1 of its row) and that row's number.
struct ContactParty {
    QString companyFile; // full path of the file (fromcompany / tocompany)
    QString contact;     // never empty (fromcontact / tocontact)
    QString row;         // the row number as text (fromcompanyiselected / tocompanyiselected)

    friend bool operator==(const ContactParty&, const ContactParty&) = default;
};

class TransactionParties {
public:
    virtual ~TransactionParties() = default;

    // Whether the transactions window is shown (frmTransactions.Visible).
    virtual bool Visible() const = 0;

    // Shows the hidden transactions window with the line-item columns of an empty
    // transaction (napravikolone), its top-left corner at the given place in twips and its
    // size unchanged.
    virtual void showAt(int leftTwips, int topTwips) = 0;

    // Makes the contact the side's party: the company entry (fromcompany or tocompany) holds
    // companyFile and is checked, the contact entry (fromcontact or tocontact) holds contact
    // and is checked, the own company (FromMyCompany or ToMyCompany) is unchecked, and the
    // row (fromcompanyiselected or tocompanyiselected) is kept. The other side is untouched.
    virtual void takeContact(PartySide side, const ContactParty& party) = 0;
};

} // namespace windows
