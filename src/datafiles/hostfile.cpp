#include "datafiles/hostfile.h"

#include "datafiles/damagedfile.h"
#include "datafiles/fileprocedures.h"
#include "datafiles/linefield.h"
#include "datafiles/linefilereader.h"
#include "datafiles/postinglock.h"
#include "datafiles/scramble.h"
#include "datafiles/settingsstore.h"
#include "platform/clock.h"
#include "platform/prompts.h"
#include "platform/vb.h"

#include <QFileInfo>

namespace datafiles {

namespace {

enum HostLine {
    BalanceLine = 2,
    InvoiceNumberLine = 3,
    PasswordLine = 11,
    PaymentNumberLine = 12,
    ReadWriteLine = 14,
    UseMyPasswordLine = 15,
    UserNameLine = 16,
    ComputerNameLine = 18,
};

void critical(const QString& text)
{
    platform::prompts().MsgBox(text, platform::MsgStyle::Critical);
}

QString unreachableMessage(const QString& path, const QString& mode)
{
    return QStringLiteral("Quorvane was not able to access ") + path
        + QStringLiteral(" and switched to a single user mode. Note that you must manually switch "
                         "back to ")
        + mode + QStringLiteral(" mode once you successfully establish connection to ") + path
        + QStringLiteral(" network drive");
}

// The mode's host file and the data folder beside it must be reachable; otherwise the user
// is told and the machine works alone.
bool hostReachable(SettingsStore& store, const QString& file, const QString& folder, const QString& mode)
{
    if (file.isEmpty())
        return true;
    const bool reachable = FileExists(file)
        && (folder.isEmpty() || FolderExists(HostDataFolder(file)));
    if (!reachable) {
        critical(unreachableMessage(file, mode));
        store.shell().NemaNetwork();
    }
    return reachable;
}

bool isHostFile(const QStringList& lines)
{
    return LineFileReader::line(lines, 1) == HostMarker;
}

bool isCompleteEnoughHostFile(const QStringList& lines)
{
    return isHostFile(lines) && LineFileReader::line(lines, 2).has_value();
}

// Line 15 decides the password: 0 means none, 1 means users must log in. The login is asked
// for when the switch is found on after it was off or unread (at the network start, or when
// the host has just turned its protection on), not at every reading while it stays on: the
// settings window and the postings read the host file again and again, and a host asking each
// time would send itself back to the login whenever it opened its own settings.
void applyPasswordSwitch(SettingsStore& store, const QString& line)
{
    const auto value = parseCheck(line); // a damaged line neither clears nor asks
    if (!value)
        return;
    if (*value == 0) {
        store.CURRENTPASSWORD = QString();
        store.hostLoginAsked = false;
    } else if (*value == 1 && !store.hostLoginAsked) {
        store.hostLoginAsked = true;
        store.shell().SHOWPASSWORD();
        store.shell().hideSettingsWindow();
        store.shell().showStartupWindow();
    }
}

// A line written from one value and, when read, passed over.
LineField writtenOnly(std::function<QString()> get)
{
    return {std::move(get), [](const QString&) {}};
}

// A switch's line: "0" or "1" sets the switch; anything else leaves it as it is and marks
// the line damaged, so that writing the host file keeps the line as found.
LineField switchLine(CheckBoxField& box, bool& damaged)
{
    return {[&box] { return QString::number(box.Value.value()); },
            [&box, &damaged](const QString& line) {
                const auto value = parseCheck(line);
                if (value)
                    box.Value = *value;
                damaged = !value;
            }};
}

LineField passwordSwitchLine(SettingsStore& store)
{
    const LineField line = switchLine(store.CheckUseMyPassword, store.hostUseMyPasswordLineDamaged);
    return {line.get, [&store, set = line.set](const QString& text) {
                set(text);
                applyPasswordSwitch(store, text);
            }};
}

// The 18 lines: what a host writes from its store and what a reading takes into the store.
// Lines 16 to 18 name who wrote the file, when and where; a reader keeps them apart from its
// own names.
LineTable hostLines(SettingsStore& s)
{
    LineTable table{writtenOnly([] { return HostMarker; })};
    for (TextField* field : {&s.Balance, &s.InvoiceNumber, &s.CompanyName, &s.CompanyAddress,
                             &s.CompanyCity, &s.CompanyZip, &s.CompanyEMail, &s.CompanyFax,
                             &s.CompanyPhone, &s.CURRENTPASSWORD, &s.PaymentNumber})
        table.push_back(textLine(*field));
    table.push_back(writtenOnly([&s] { return s.Reserved.value(); }));
    table.push_back(switchLine(s.CheckReadWrite, s.hostReadWriteLineDamaged));
    table.push_back(passwordSwitchLine(s));
    table.push_back(textLine(s.lblUserName));
    table.push_back({[] { return platform::vb::GeneralDate(platform::now()); },
                     [&s](const QString& line) { s.lblServerCreationDate = line; }});
    table.push_back({[&s] { return s.lblComputerName.value(); },
                     [&s](const QString& line) { s.lblServerCreatedbyPC = line; }});
    return table;
}

// The shared balance and counters are checked before they are assigned: one that is no
// number would become "0" in the store. The switches are checked too: one that is neither 0
// nor 1 keeps the store's value, which is not what the host set.
void reportDamage(const QString& path, const LineFileReader::Reading& reading)
{
    reportDamagedLines(QStringLiteral("host file"), path, HostFileLines,
                       {{BalanceLine, QStringLiteral("Balance")},
                        {InvoiceNumberLine, QStringLiteral("InvoiceNumber")},
                        {PaymentNumberLine, QStringLiteral("PaymentNumber")},
                        {ReadWriteLine, QStringLiteral("CheckReadWrite"), true},
                        {UseMyPasswordLine, QStringLiteral("CheckUseMyPassword"), true}},
                       reading.lines, scrambled(reading.plain));
}

// A switch line the host file read did not hold (it was cut short before it) is damaged as
// one holding neither "0" nor "1": the switch keeps its value, which is not the host's.
void markMissingSwitches(SettingsStore& s, const QStringList& lines)
{
    if (lines.size() < ReadWriteLine)
        s.hostReadWriteLineDamaged = true;
    if (lines.size() < UseMyPasswordLine)
        s.hostUseMyPasswordLineDamaged = true;
}

// A switch line found damaged when the host file was read, the switch not set since, is
// written as the host file holds it now; empty where it is cut short before that line, never
// as the store's value, which would be taken for the host's ("0" clears its password).
void keepDamagedSwitches(SettingsStore& s, const QStringList& stored, LineTable& table)
{
    if (stored.isEmpty())
        return; // no host file there now: nothing of it to keep
    const std::pair<int, bool> switches[] = {{ReadWriteLine, s.hostReadWriteLineDamaged},
                                             {UseMyPasswordLine, s.hostUseMyPasswordLineDamaged}};
    for (const auto& [n, damaged] : switches)
        if (damaged)
            table[size_t(n - 1)].get = [text = LineFileReader::line(stored, n).value_or(QString())] { return text; };
}

void fallBackWithoutMessage(SettingsStore& store)
{
    store.OptionSingleMachine = true;
    store.CheckReadWrite.Enabled = false;
    store.CheckUseMyPassword.Enabled = false;
}

} // namespace

QString HostDataFolder(const QString& hostFilePath)
{
    return GetFolderOfPath(hostFilePath) + QStringLiteral("QVNET");
}

// The lines of the host file as it stands (none when it does not read as one).
QStringList storedHostLines(const QString& path)
{
    if (!FileExists(path))
        return {};
    const LineFileReader::Reading reading =
        LineFileReader::read(path, isCompleteEnoughHostFile, LineFileReader::PlainFiles::Refused);
    return reading.status == LineFileReader::Status::Accepted ? reading.lines : QStringList();
}

// The host file holds the shared balance and counters, which users' postings move: under
// the posting lock of the share, each value this machine did not change since it read them
// is taken from the file as it is now, so that writing the host's settings never puts an
// older value back.
void takeFresherMoney(SettingsStore& s, const QStringList& stored)
{
    const auto line = [&](int n) { return LineFileReader::line(stored, n); };
    const auto balance = line(BalanceLine), invoices = line(InvoiceNumberLine), payments = line(PaymentNumberLine);
    if (!balance || !invoices || !payments)
        return;
    const SettingsStore::MoneyValues onDisk{*balance, *invoices, *payments};
    s.takeMoney(s.freshestMoney(onDisk), onDisk);
}

// The posting lock taken before the host file is written, waiting for a posting as a
// posting waits for another; when it is not ours, the sentence for the user.
std::optional<QString> refusalToWrite(PostingLock& lock, const QString& path)
{
    const QString notWritten = QStringLiteral("The host file \"%1\" was not written; nothing was changed.").arg(path);
    switch (lock.acquire()) {
    case PostingLock::Status::Held:
        return std::nullopt;
    case PostingLock::Status::Busy:
        return QStringLiteral("%1 is saving a posting into \"%2\" right now. %3 Please try again in a moment.")
            .arg(lock.holder().describe(), lock.folder(), notWritten);
    case PostingLock::Status::Unfinished:
    case PostingLock::Status::Failed:
        break;
    }
    return lock.error() + QLatin1Char(' ') + notWritten;
}

// A holder stopped past its lease may have lost the lock to another computer's posting,
// whose values must not be written over.
QString lockLost(const QString& folder, const QString& path)
{
    return QStringLiteral("The posting lock of \"%1\" was taken over. The host file \"%2\" was not written; nothing "
                          "was changed. Please try again.")
        .arg(folder, path);
}

bool WriteHostFile(SettingsStore& s)
{
    const QString path = s.MyHostName.value();
    if (path.isEmpty())
        return false;
    s.shell().SaznaUserName();
    s.shell().UPISEPCNAME();
    // The postings of every computer write the shared balance and counters into this file
    // under the posting lock of the host's data folder; so is it written here, or not at all.
    // Without that folder no posting can run there, and the lock has no place to be.
    PostingLock lock(HostDataFolder(path) + QStringLiteral("/RAzar/"));
    const bool locked = QFileInfo(lock.folder()).isDir();
    if (const std::optional<QString> refusal = locked ? refusalToWrite(lock, path) : std::nullopt) {
        critical(*refusal);
        return false;
    }
    const QStringList stored = storedHostLines(path);
    takeFresherMoney(s, stored);
    LineTable table = hostLines(s);
    keepDamagedSwitches(s, stored, table);
    const LineFileWriter writer = writerFor(table, LastLineEnd::Written);
    bool lost = false;
    const DataFileWrite result = !locked ? writer.writeTo(path)
                                         : writeDataFileFenced(path, writer.scrambledBytes(), [&lock] {
                                               if (!lock.stillHeld())
                                                   return false;
                                               PostingLock::reachStep(PostingLock::BreakStep::HostFileChecked);
                                               return true;
                                           }, lost);
    if (lost) {
        critical(lockLost(lock.folder(), path));
        return false;
    }
    if (result) {
        if (s.modeHostFile() == path)
            s.markMoneySynced(); // the shared values this machine works with are on disk now
        return true;
    }
    if (result.permissionDenied) {
        critical(QStringLiteral(
            "In order to host multi-user service in one network directory, Quorvane must be able "
            "to write to this directory.  You currently don't have permission to write to "
            "selected network directory. "));
        s.shell().NemaNetwork();
    } else {
        critical(result.error);
    }
    return false;
}

bool ReadHostFile(SettingsStore& s)
{
    if (s.OptionHost.value()
        && !hostReachable(s, s.MyHostName.value(), s.MyHostSystem.value(), QStringLiteral("host")))
        return false;
    if (s.OptionUser.value()
        && !hostReachable(s, s.lblConnectedtohostname.value(), s.lblConnectedtohostsystem.value(),
                          QStringLiteral("user")))
        return false;
    const QString file = s.modeHostFile();
    const LineFileReader::Reading reading = file.isEmpty()
        ? LineFileReader::Reading{}
        : LineFileReader::read(file, isCompleteEnoughHostFile, LineFileReader::PlainFiles::Refused);
    if (reading.status != LineFileReader::Status::Accepted) {
        fallBackWithoutMessage(s);
        return false;
    }
    reportDamage(file, reading);
    assignLines(hostLines(s), reading.lines);
    markMissingSwitches(s, reading.lines);
    s.markMoneySynced();
    return true;
}

bool ReadHostSwitches(SettingsStore& s)
{
    const QString path = s.MyHostName.value();
    if (path.isEmpty() || !FileExists(path))
        return false;
    const LineFileReader::Reading reading =
        LineFileReader::read(path, isHostFile, LineFileReader::PlainFiles::Refused);
    if (reading.status != LineFileReader::Status::Accepted)
        return false;
    const std::pair<int, LineField> switches[] = {
        {ReadWriteLine, switchLine(s.CheckReadWrite, s.hostReadWriteLineDamaged)},
        {UseMyPasswordLine, switchLine(s.CheckUseMyPassword, s.hostUseMyPasswordLineDamaged)}};
    for (const auto& [n, field] : switches)
        if (const auto line = LineFileReader::line(reading.lines, n))
            field.set(*line);
    markMissingSwitches(s, reading.lines);
    return true;
}

void CheckSameHost(SettingsStore& s)
{
    const QString path = s.MyHostName.value();
    if (!FileExists(path))
        return;
    const LineFileReader::Reading reading =
        LineFileReader::read(path, isHostFile, LineFileReader::PlainFiles::Refused);
    if (reading.status != LineFileReader::Status::Accepted)
        return;
    const auto lineText = [&](int n) { return LineFileReader::line(reading.lines, n).value_or(QString()); };

    s.shell().SaznaUserName();
    if (s.lblUserName.value() != lineText(UserNameLine)) {
        critical(QStringLiteral(" Your (user) name is not matching this host name"));
        return;
    }
    s.shell().UPISEPCNAME();
    if (s.lblComputerName.value() != lineText(ComputerNameLine)) {
        critical(QStringLiteral(" Computer name is not matching this hosts computer name"));
        return;
    }
    // Our own host file: its password and switches are ours to take back.
    const LineTable table = hostLines(s);
    for (const int n : {PasswordLine, ReadWriteLine, UseMyPasswordLine})
        if (const auto line = LineFileReader::line(reading.lines, n))
            table[size_t(n - 1)].set(*line);
    s.lblisthissamehost = QStringLiteral("YES");
}

} // namespace datafiles
