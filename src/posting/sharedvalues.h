#pragma once
// The own company's balance and the invoice and payment counters as a posting moves them:
// in the settings store, in the settings file, and in network mode in the host file, which
// is read again just before the posting so that the change is applied to the values the
// host holds now (another machine may have posted since they were fetched). A value the
// posting moves must be read and held exactly: a balance that is no amount, or a counter
// that is no whole number from 0 of at most 15 digits, refuses the posting, naming its file
// and line, rather than being counted as 0 (or on from below 0) and written over.

#include "platform/decimal.h"

#include <QByteArray>
#include <QString>
#include <QStringList>

namespace datafiles {
class SettingsStore;
}

namespace posting {

class FileChangeSet;

class SharedValues {
public:
    // What a posting adds to each value.
    struct Change {
        platform::Decimal balance;
        int invoiceNumbers = 0;
        int paymentNumbers = 0;
        bool isEmpty() const { return balance.isZero() && invoiceNumbers == 0 && paymentNumbers == 0; }
    };

    // Lines of the three values in the settings file and in the host file (1-based).
    static constexpr int SettingsKeyLine = 2;
    static constexpr int SettingsBalanceLine = 47;
    static constexpr int SettingsInvoiceNumberLine = 48;
    static constexpr int SettingsPaymentNumberLine = 61;
    static constexpr int HostBalanceLine = 2;
    static constexpr int HostInvoiceNumberLine = 3;
    static constexpr int HostPaymentNumberLine = 12;

    enum class Status {
        Ready,
        HostFileUnreadable,
        BalanceAmbiguous, // the balance stored reads as one number or another ("1,500")
        BalanceTooLarge,  // the new balance is beyond the range of the number form
        BalanceNotExact,  // the new balance needs more digits than are written
        ValueUnreadable,  // a value the posting moves cannot be read or held exactly: error()
    };

    explicit SharedValues(datafiles::SettingsStore& store) : m_store(store) {}

    // Works out the new values. In host and user mode the host file of the mode is read
    // first; a host file that cannot be read as one refuses the posting.
    [[nodiscard]] Status prepare(const Change& change);
    // The sentence for HostFileUnreadable and ValueUnreadable, naming the file.
    const QString& error() const { return m_error; }

    // The balance's text as the posting found it, and the file it is kept in (the host file in
    // network mode, else the settings file).
    const QString& storedBalance() const { return m_storedBalance; }
    QString balanceFile() const;

    // The new balance, exactly, once the change is applied.
    const platform::Decimal& newBalance() const { return m_newBalance; }

    bool changes() const { return !m_change.isEmpty(); }
    QString balance() const { return m_balance; }
    QString invoiceNumber() const { return m_invoiceNumber; }
    QString paymentNumber() const { return m_paymentNumber; }

    // The settings file, and in network mode the host file, with the new values; nothing
    // when no value changes.
    void addFiles(FileChangeSet& files) const;
    // Once the files are written: the store takes the new values.
    void applyToStore() const;

private:
    // Names a value by where it is kept: its line in the file, or the settings window where
    // it was set and not yet written.
    QString placeOf(const QString& what, int settingsLine, int hostLine, bool setHere) const;
    // The counter's text moved on by `count`; false with error() set when it is no whole
    // number from 0 of at most 15 digits, or the next one would not be.
    [[nodiscard]] bool countOn(const QString& text, int count, const QString& place, QString& counted);

    QByteArray settingsBytes() const;
    QByteArray hostBytes() const;

    datafiles::SettingsStore& m_store;
    Change m_change;
    QString m_hostFile;      // "" outside network mode
    QStringList m_hostLines; // the host file as read, in network mode
    QString m_balance, m_invoiceNumber, m_paymentNumber;
    QString m_storedBalance;
    platform::Decimal m_newBalance;
    QString m_error;
};

} // namespace posting
