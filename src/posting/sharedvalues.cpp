#include "posting/sharedvalues.h"

#include "datafiles/datafoldertree.h"
#include "datafiles/hostfile.h"
#include "datafiles/linefield.h"
#include "datafiles/linefilereader.h"
#include "datafiles/settingsfile.h"
#include "datafiles/settingsstore.h"
#include "platform/vb.h"
#include "posting/filechangeset.h"
#include "posting/postingchecks.h"
#include "posting/storedlines.h"


namespace posting {

namespace {

using datafiles::LineFileReader;

using platform::Decimal;

// The sentence for a value that does not read as an amount.
QString unreadable(const QString& place, const QString& text)
{
    if (text.isEmpty())
        return QStringLiteral("%1 is empty.").arg(place);
    if (platform::vb::IsNumeric(text))
        return QStringLiteral("%1 is \"%2\", which has more digits than Quorvane can hold exactly.").arg(place, text);
    return QStringLiteral("%1 is not a number (\"%2\").").arg(place, text);
}

bool isHostFile(const QStringList& lines)
{
    return LineFileReader::line(lines, 1) == datafiles::HostMarker
        && LineFileReader::line(lines, 2).has_value();
}

QByteArray scrambledLines(const QStringList& lines)
{
    datafiles::LineFileWriter writer(datafiles::LastLineEnd::Written);
    for (const QString& line : lines)
        writer.add(line);
    return writer.scrambledBytes();
}

} // namespace

SharedValues::Status SharedValues::prepare(const Change& change)
{
    m_change = change;
    m_hostFile = m_store.networkMode() == datafiles::NetworkMode::SingleMachine
        ? QString()
        : m_store.modeHostFile();
    // What the files hold now, under the posting lock: another copy of the program or
    // another computer may have posted since this store read them.
    datafiles::SettingsStore::MoneyValues onDisk = m_store.money();
    if (!m_hostFile.isEmpty() && changes()) {
        const LineFileReader::Reading reading =
            LineFileReader::read(m_hostFile, isHostFile, LineFileReader::PlainFiles::Refused);
        if (reading.status != LineFileReader::Status::Accepted) {
            m_error = reading.error.isEmpty()
                ? QStringLiteral("The host file \"%1\" could not be read as a host file.").arg(m_hostFile)
                : reading.error;
            return Status::HostFileUnreadable;
        }
        m_hostLines = reading.lines;
        while (m_hostLines.size() < datafiles::HostFileLines)
            m_hostLines.append(QString());
        onDisk = {m_hostLines.at(HostBalanceLine - 1), m_hostLines.at(HostInvoiceNumberLine - 1),
                  m_hostLines.at(HostPaymentNumberLine - 1)};
    } else if (m_hostFile.isEmpty() && changes()) {
        const StoredLines settings = StoredLines::read(datafiles::settingsFilePath(), SettingsKeyLine);
        if (settings.status == StoredLines::Status::Read)
            onDisk = {settings.line(SettingsBalanceLine), settings.line(SettingsInvoiceNumberLine),
                      settings.line(SettingsPaymentNumberLine)};
    }
    using Values = datafiles::SettingsStore::MoneyValues;
    const Values base = m_store.freshestMoney(onDisk);
    // A value that differs from the one last read or written was set in the settings window.
    const Values mine = m_store.money();
    const Values& synced = m_store.syncedMoney();
    m_storedBalance = base.Balance;
    m_balance = base.Balance;
    m_invoiceNumber = base.InvoiceNumber;
    m_paymentNumber = base.PaymentNumber;
    // Only the values the posting moves are read; the others are written back as they are.
    if (!change.balance.isZero()) {
        if (platform::vb::IsAmbiguousNumber(base.Balance))
            return Status::BalanceAmbiguous;
        const auto balance = Decimal::fromText(base.Balance);
        if (!balance) {
            m_error = unreadable(placeOf(QStringLiteral("The balance of your company"), SettingsBalanceLine,
                                         HostBalanceLine, mine.Balance != synced.Balance),
                                 base.Balance);
            return Status::ValueUnreadable;
        }
        m_newBalance = *balance + change.balance;
        if (m_newBalance.range() == Decimal::Range::TooLarge)
            return Status::BalanceTooLarge;
        if (!m_newBalance.writtenExactly())
            return Status::BalanceNotExact;
        m_balance = m_newBalance.text();
    }
    const struct {
        int count;
        const char* what;
        int settingsLine, hostLine;
        QString Values::*value;
        QString& counted;
    } counters[] = {
        {change.invoiceNumbers, "The invoice number", SettingsInvoiceNumberLine, HostInvoiceNumberLine,
         &Values::InvoiceNumber, m_invoiceNumber},
        {change.paymentNumbers, "The payment number", SettingsPaymentNumberLine, HostPaymentNumberLine,
         &Values::PaymentNumber, m_paymentNumber},
    };
    for (const auto& c : counters)
        if (c.count != 0
            && !countOn(base.*c.value, c.count,
                        placeOf(QString::fromLatin1(c.what), c.settingsLine, c.hostLine, mine.*c.value != synced.*c.value),
                        c.counted))
            return Status::ValueUnreadable;
    return Status::Ready;
}

QString SharedValues::placeOf(const QString& what, int settingsLine, int hostLine, bool setHere) const
{
    if (setHere)
        return QStringLiteral("%1 set in the settings window").arg(what);
    if (m_hostFile.isEmpty())
        return QStringLiteral("%1 on line %2 of the settings file \"%3\"")
            .arg(what)
            .arg(settingsLine)
            .arg(datafiles::settingsFilePath());
    return QStringLiteral("%1 on line %2 of the host file \"%3\"").arg(what).arg(hostLine).arg(m_hostFile);
}

bool SharedValues::countOn(const QString& text, int count, const QString& place, QString& counted)
{
    if (platform::vb::IsAmbiguousNumber(text)) {
        m_error = ambiguousBalance(place, text);
        return false;
    }
    if (!Decimal::fromText(text)) {
        m_error = unreadable(place, text);
        return false;
    }
    const QString digits = QString::number(Decimal::WrittenDigits);
    // A counter below 0 was never written by a posting: it is damaged, as one with a fraction is.
    const auto number = datafiles::parseCount(text);
    if (!number) {
        m_error = QStringLiteral("%1 is \"%2\", which is not a whole number from 0 of at most %3 digits.")
                      .arg(place, text, digits);
        return false;
    }
    const Decimal next = *number + Decimal(count);
    if (!datafiles::isCount(next)) {
        m_error = QStringLiteral("%1 is \"%2\", and the next number would have more than %3 digits.").arg(place, text, digits);
        return false;
    }
    counted = next.text();
    return true;
}

QString SharedValues::balanceFile() const
{
    return m_hostFile.isEmpty() ? datafiles::settingsFilePath() : m_hostFile;
}

void SharedValues::addFiles(FileChangeSet& files) const
{
    if (!changes())
        return;
    files.add(datafiles::settingsFilePath(), settingsBytes());
    if (!m_hostFile.isEmpty())
        files.add(m_hostFile, hostBytes());
}

void SharedValues::applyToStore() const
{
    if (!changes())
        return;
    m_store.takeMoney({m_balance, m_invoiceNumber, m_paymentNumber}, {m_balance, m_invoiceNumber, m_paymentNumber});
}

QByteArray SharedValues::settingsBytes() const
{
    const auto table = datafiles::settingsLines(m_store);
    QStringList lines = datafiles::writerFor(table, datafiles::LastLineEnd::Written).values();
    lines[SettingsBalanceLine - 1] = m_balance;
    lines[SettingsInvoiceNumberLine - 1] = m_invoiceNumber;
    lines[SettingsPaymentNumberLine - 1] = m_paymentNumber;
    return scrambledLines(lines);
}

// Only the three values change; every other line stays as the host holds it, so that the
// host's company details, password, switches and the names of who made it are kept.
QByteArray SharedValues::hostBytes() const
{
    QStringList lines = m_hostLines;
    lines[HostBalanceLine - 1] = m_balance;
    lines[HostInvoiceNumberLine - 1] = m_invoiceNumber;
    lines[HostPaymentNumberLine - 1] = m_paymentNumber;
    return scrambledLines(lines);
}

} // namespace posting
