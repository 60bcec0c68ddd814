#pragma once
// The contact parties of one posting and the change of each one's balance: each party's
// company file is read once (both parties may be in the same file, even on the same row),
// each contact's row is checked against its name, each balance read as a number and moved
// by exactly the party's change, written back as the general number text. Nothing is
// rounded: a balance that cannot be written exactly, or whose text means one number to one
// reader and another to the next ("1,500"), is refused. Nothing reaches the disk here; the
// files' new bytes go to the change set.

#include "platform/decimal.h"
#include "posting/companyfile.h"

#include <QString>
#include <QStringList>
#include <map>
#include <vector>

namespace posting {

class FileChangeSet;

class ContactBalances {
public:
    enum class Side { From, To };

    struct Party {
        Side side = Side::From;
        QString companyFile; // the company file's full path
        QString rowText;     // the contact's row as the header keeps it
        QString contact;     // the contact's name, as in column 1 of that row
        platform::Decimal change; // what the posting adds to the contact's balance
    };

    enum class Status {
        Ready,
        FileUnreadable,   // error() names the file
        ContactNotFound,  // the row does not hold the contact
        NoBalanceColumn,  // the file has a single column: it keeps no balances
        BalanceNotNumber, // balanceText() is the cell's text
        BalanceAmbiguous, // balanceText() reads as one number or another ("1,500")
        BalanceTooLarge,  // the new balance would be beyond the range of the number form
        BalanceNotExact,  // the new balance (newBalance()) needs more digits than are written
    };

    // The parties' company files, in their order.
    static QStringList companyFiles(const std::vector<Party>& parties);

    // Reads the parties' files and moves their balances, in order; stops at the first party
    // that cannot be posted (problemParty() tells which).
    [[nodiscard]] Status apply(const std::vector<Party>& parties);
    const Party& problemParty() const { return m_problemParty; }
    const QString& error() const { return m_error; }
    const QString& balanceText() const { return m_balanceText; }
    const platform::Decimal& newBalance() const { return m_newBalance; }

    // The files whose balances changed, in the order the parties came. Their bytes are
    // taken: the files opened are spent afterwards.
    void addFiles(FileChangeSet& files);

private:
    CompanyFile* fileOf(const QString& path);
    Status move(const Party& party);

    std::map<QString, CompanyFile> m_files; // by the file's canonical path
    std::vector<QString> m_order;           // the keys, first use first
    Party m_problemParty;
    QString m_error;
    QString m_balanceText;
    platform::Decimal m_newBalance;
};

} // namespace posting
