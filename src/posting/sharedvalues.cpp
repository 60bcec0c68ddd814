#include "posting/sharedvalues.h"

#include "datafiles/datafoldertree.h"
#include "datafiles/hostfile.h"
#include "datafiles/linefield.h"
#include "datafiles/linefilereader.h"
#include "datafiles/settingsfile.h"
#include "datafiles/settingsstore.h"
#include "platform/vb.h"
#include "posting/filechangeset.h"
#include "posting/storedlines.h"


namespace posting {

namespace {

using datafiles::LineFileReader;

// The value a text holds once moved by `change`, exactly; unchanged text stays as it is. A
// text that is no number counts as 0, as the store's number fields make it.
platform::Decimal moved(const QString& text, const platform::Decimal& change)
{
    return platform::Decimal::fromText(text).value_or(platform::Decimal()) + change;
}

QString movedText(const QString& text, const platform::Decimal& change)
{
    return change.isZero() ? text : moved(text, change).text();
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
    const datafiles::SettingsStore::MoneyValues base = m_store.freshestMoney(onDisk);
    m_storedBalance = base.Balance;
    m_balance = movedText(base.Balance, change.balance);
    m_invoiceNumber = movedText(base.InvoiceNumber, platform::Decimal(change.invoiceNumbers));
    m_paymentNumber = movedText(base.PaymentNumber, platform::Decimal(change.paymentNumbers));
    if (change.balance.isZero())
        return Status::Ready;
    if (platform::vb::IsAmbiguousNumber(base.Balance))
        return Status::BalanceAmbiguous;
    const platform::Decimal newBalance = moved(base.Balance, change.balance);
    if (!newBalance.inRange())
        return Status::BalanceTooLarge;
    if (!newBalance.writtenExactly())
        return Status::BalanceNotExact;
    return Status::Ready;
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
