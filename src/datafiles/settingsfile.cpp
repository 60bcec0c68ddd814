#include "datafiles/settingsfile.h"

#include "datafiles/damagedfile.h"
#include "datafiles/datafoldertree.h"
#include "datafiles/hostfile.h"
#include "datafiles/postinglock.h"
#include "datafiles/settingsstore.h"
#include "datafiles/scramble.h"
#include "platform/prompts.h"
#include "platform/safefile.h"

#include <memory>

namespace datafiles {

namespace {

constexpr int KeyLine = 2; // frmItemsHeight
constexpr int BalanceLine = 47;
constexpr int InvoiceNumberLine = 48;
constexpr int PaymentNumberLine = 61;

void addPlacement(LineTable& table, TextField& state, TextField& height, TextField& width,
                  TextField& left, TextField& top, TextField& toolbar, TextField& textbar)
{
    for (TextField* field : {&state, &height, &width, &left, &top, &toolbar, &textbar})
        table.push_back(textLine(*field));
}

void addRecentFiles(LineTable& table, RecentFileSlot& one, RecentFileSlot& two, RecentFileSlot& three)
{
    for (RecentFileSlot* slot : {&one, &two, &three}) {
        table.push_back(textLine(slot->Caption));
        table.push_back(textLine(slot->ToolTipText));
    }
}

// A host file's path and its folder. When the path's own rule refuses it (not on the
// network), the folder line that follows is refused with it: a folder without its host file
// means nothing.
void addHostPath(LineTable& table, TextField& name, TextField& folder)
{
    auto refused = std::make_shared<bool>(false);
    table.push_back({[&name] { return name.value(); },
                     [&name, refused](const QString& line) {
                         name = line;
                         *refused = !line.isEmpty() && name.value().isEmpty();
                     }});
    table.push_back({[&folder] { return folder.value(); },
                     [&folder, refused](const QString& line) {
                         if (!*refused)
                             folder = line;
                     }});
}

void welcomeFirstRun(SettingsStore& store)
{
    store.shell().showWelcome();
    platform::prompts().MsgBox(
        QStringLiteral(" Welcome to Quorvane! Please take a moment and enter your Company Name, "
                       "Address and other Information before beginning. "),
        platform::MsgStyle::Information);
}

// A file that reads in neither scramble state would be lost at the next save, which writes
// the initial settings over it: it is kept beside itself first.
void reportUnreadable(const QString& path, LineFileReader::Status status)
{
    QString text = QStringLiteral("The settings file \"%1\" could not be read. Quorvane starts "
                                  "with its initial settings.").arg(path);
    QByteArray found;
    if (status == LineFileReader::Status::Rejected && platform::readWholeFile(path, found)) {
        QString error;
        const QString copy = keepDamagedCopy(path, found, error);
        text += QLatin1Char(' ') + damagedCopySentence(copy, error);
    }
    platform::prompts().MsgBox(text, platform::MsgStyle::Critical);
}

// The lines read are checked before they are assigned: a missing line, or a balance or
// counter that is no number, would be replaced by the store's own value and saved over the
// file's for good.
void reportDamage(const QString& path, const LineFileReader::Reading& reading)
{
    reportDamagedLines(QStringLiteral("settings file"), path, SettingsFileLines,
                       {{BalanceLine, QStringLiteral("Balance")},
                        {InvoiceNumberLine, QStringLiteral("InvoiceNumber")},
                        {PaymentNumberLine, QStringLiteral("PaymentNumber")}},
                       reading.lines, reading.foundPlain ? reading.plain : scrambled(reading.plain));
}

} // namespace

LineTable settingsLines(SettingsStore& s)
{
    LineTable table;
    table.reserve(SettingsFileLines);
    addPlacement(table, s.frmItemsWindowState, s.frmItemsHeight, s.frmItemsWidth, s.frmItemsLeft,
                 s.frmItemsTop, s.frmItemstoolbarchecked, s.frmItemstextbarchecked);
    addRecentFiles(table, s.frmItemsfile1, s.frmItemsfile2, s.frmItemsfile3);
    addPlacement(table, s.frmContactsWindowState, s.frmContactsHeight, s.frmContactsWidth,
                 s.frmContactsLeft, s.frmContactsTop, s.frmContactstoolbarchecked,
                 s.frmContactstextbarchecked);
    addRecentFiles(table, s.frmContactsfile1, s.frmContactsfile2, s.frmContactsfile3);
    addPlacement(table, s.frmTransactionsWindowState, s.frmTransactionsHeight,
                 s.frmTransactionsWidth, s.frmTransactionsLeft, s.frmTransactionsTop,
                 s.frmTransactionstoolbarchecked, s.frmTransactionstextbarchecked);
    addRecentFiles(table, s.frmTransactionsfile1, s.frmTransactionsfile2, s.frmTransactionsfile3);
    addPlacement(table, s.frmFileSearchWindowState, s.frmFileSearchHeight, s.frmFileSearchWidth,
                 s.frmFileSearchLeft, s.frmFileSearchTop, s.frmFileSearchtoolbarchecked,
                 s.frmFileSearchtextbarchecked);
    for (TextField* field : {&s.Balance, &s.InvoiceNumber, &s.CompanyName, &s.CompanyAddress,
                             &s.CompanyCity, &s.CompanyZip, &s.CompanyEMail, &s.CompanyFax,
                             &s.CompanyPhone, &s.CURRENTPASSWORD, &s.Item.ToolTipText,
                             &s.Contact.ToolTipText, &s.Transaction.ToolTipText,
                             &s.Payment.ToolTipText, &s.PaymentNumber, &s.Reserved})
        table.push_back(textLine(*field));
    table.push_back(optionLine(s.OptionSingleMachine));
    table.push_back(optionLine(s.OptionHost));
    table.push_back(optionLine(s.OptionUser));
    table.push_back(checkLine(s.CheckReadWrite.Value));
    table.push_back(checkLine(s.CheckUseMyPassword.Value));
    addHostPath(table, s.MyHostName, s.MyHostSystem);
    addHostPath(table, s.lblConnectedtohostname, s.lblConnectedtohostsystem);
    return table;
}

// On a single machine the settings file holds the own balance and counters, and another
// copy of the program may have posted to them since this one read them: under the posting
// lock, each value not changed here since is taken from the file, so a save never puts an
// older value back. (In network mode the host file holds them; WriteHostFile does the same.)
void takeFresherMoney(SettingsStore& store)
{
    const LineFileReader::Reading reading =
        LineFileReader::read(settingsFilePath(), LineFileReader::numberOnLine(KeyLine));
    if (reading.status != LineFileReader::Status::Accepted)
        return;
    const auto line = [&](int n) { return LineFileReader::line(reading.lines, n).value_or(QString()); };
    const SettingsStore::MoneyValues onDisk{line(BalanceLine), line(InvoiceNumberLine), line(PaymentNumberLine)};
    if (onDisk.Balance.isEmpty() || onDisk.InvoiceNumber.isEmpty() || onDisk.PaymentNumber.isEmpty())
        return; // a damaged file gives nothing to keep
    store.takeMoney(store.freshestMoney(onDisk), onDisk);
}

void RefreshMoneyFromSettingsFile(SettingsStore& store)
{
    takeFresherMoney(store);
}

bool SaveSettingsFile(SettingsStore& store)
{
    if (store.networkMode() != NetworkMode::SingleMachine)
        return saveLines(settingsLines(store), LastLineEnd::Written, settingsFilePath());
    PostingLock lock(PostingLock::folderFor(store));
    // Without the lock (another posting keeps it too long) the values are still taken as
    // they are on disk now, which is the best that can be done.
    (void)lock.acquire();
    takeFresherMoney(store);
    if (!saveLines(settingsLines(store), LastLineEnd::Written, settingsFilePath()))
        return false;
    store.markMoneySynced();
    return true;
}

LineFileReader::Status LoadSettingsFile(SettingsStore& store)
{
    const QString path = settingsFilePath();
    const LineFileReader::Reading reading = readLines(path, KeyLine);
    switch (reading.status) {
    case LineFileReader::Status::Missing:
        welcomeFirstRun(store);
        break;
    case LineFileReader::Status::Accepted:
        reportDamage(path, reading);
        assignLines(settingsLines(store), reading.lines);
        store.markMoneySynced();
        break;
    case LineFileReader::Status::Unreadable:
    case LineFileReader::Status::Rejected:
        reportUnreadable(path, reading.status);
        break;
    }
    if (!store.OptionSingleMachine.value())
        ReadHostFile(store);
    return reading.status;
}

} // namespace datafiles
