#include "postingfiles.h"

#include "datafiles/datafoldertree.h"
#include "datafiles/hostfile.h"
#include "datafiles/linefilereader.h"
#include "datafiles/scramble.h"
#include "datafiles/settingsfile.h"
#include "datafiles/settingsstore.h"
#include "grid/documents/gridfile.h"
#include "grid/gridcore.h"
#include "platform/programfolder.h"
#include "platform/safefile.h"

#include <QDir>
#include <QDirIterator>

namespace postingtest {

Snapshot snapshot(const QStringList& folders)
{
    Snapshot files;
    for (const QString& folder : folders) {
        QDirIterator it(folder, QDir::Files | QDir::Hidden | QDir::System, QDirIterator::Subdirectories);
        while (it.hasNext()) {
            const QString path = it.next();
            files[path] = contentOf(path);
        }
    }
    return files;
}

QByteArray contentOf(const QString& path)
{
    QByteArray bytes;
    (void)platform::readWholeFile(path, bytes);
    return bytes;
}

bool writeCompanyFile(const QString& path, const std::vector<Contact>& contacts)
{
    grid::GridCore core;
    core.setColumnCaption(1, QStringLiteral("Contact Name"));
    core.AddColumn(0, 80, QStringLiteral("Balance"));
    core.AddColumn(0, 80, QStringLiteral("Address"));
    core.resetRows(int(contacts.size()));
    for (int r = 1; r <= int(contacts.size()); ++r) {
        core.setCellText(r, 1, contacts[size_t(r - 1)].first);
        core.setCellText(r, 2, contacts[size_t(r - 1)].second);
        core.setCellText(r, 3, QStringLiteral("Street %1").arg(r));
    }
    core.setCell(1, 2, grid::GridCell{contacts.front().second, true, false, false, 0xFFu});
    grid::GridFile file(core);
    return file.SaveFileAs(path, true).ok;
}

QByteArray lineItemBytes(const QString& path, int items)
{
    grid::GridCore core;
    core.setColumnCaption(1, QStringLiteral("Item"));
    for (const char* caption : {"Price", "Quantity", "Total"})
        core.AddColumn(0, 80, QString::fromLatin1(caption));
    core.resetRows(items);
    for (int r = 1; r <= items; ++r) {
        core.setCellText(r, 1, QStringLiteral("Item %1").arg(r));
        core.setCellText(r, 2, QStringLiteral("10"));
        core.setCellText(r, 3, QString::number(r));
        core.setCellText(r, 4, QString::number(10 * r));
    }
    const grid::GridFile file(core);
    return file.SaveFileBytes(path, true);
}

QStringList hostLines(const QString& path)
{
    return datafiles::LineFileReader::linesOf(datafiles::scrambled(contentOf(path)));
}

bool onShare(const QString& path)
{
    return path.contains(QLatin1String("/share/"));
}

void fillFirma(datafiles::SettingsStore& store)
{
    store.setNetworkPathTest(onShare);
    store.CompanyName = QStringLiteral("Firma");
    store.Balance = QStringLiteral("1000");
    store.InvoiceNumber = QStringLiteral("41");
    store.PaymentNumber = QStringLiteral("7");
    store.CheckReadWrite.Value = 1;
}

bool makeHost(datafiles::SettingsStore& store, const QString& share)
{
    for (const char* kind : {"Contacts", "Transactions", "Payments"})
        QDir().mkpath(share + QStringLiteral("QVNET/RAzar/") + QLatin1String(kind));
    store.OptionHost = true;
    store.MyHostName = share + QStringLiteral("Firma.QVNET");
    store.MyHostSystem = share;
    return datafiles::WriteHostFile(store);
}

bool makeUserOf(const QString& programFolder, const QString& share)
{
    const QString ownFolder = platform::programFolder();
    QDir().mkpath(programFolder);
    platform::setProgramFolder(programFolder);
    datafiles::CreateDataFolders();
    datafiles::SettingsStore user;
    user.setNetworkPathTest(onShare);
    user.CompanyName = QStringLiteral("Firma");
    user.OptionUser = true;
    user.lblConnectedtohostname = share + QStringLiteral("Firma.QVNET");
    user.lblConnectedtohostsystem = share;
    const bool saved = datafiles::SaveSettingsFile(user);
    platform::setProgramFolder(ownFolder);
    return saved;
}

} // namespace postingtest
