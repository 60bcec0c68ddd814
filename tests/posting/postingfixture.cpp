#include "postingfixture.h"

#include "datafiles/datafoldertree.h"
#include "datafiles/settingsfile.h"
#include "grid/documents/gridfile.h"
#include "grid/documents/listdocument.h"
#include "grid/documents/listfilereader.h"
#include "grid/gridcore.h"
#include "platform/safefile.h"
#include "posting/storedlines.h"

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
    platform::readWholeFile(path, bytes);
    return bytes;
}

void writeCompanyFile(const QString& path, const std::vector<Contact>& contacts)
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
    EXPECT_TRUE(file.SaveFileAs(path, true).ok) << path.toStdString();
}

QString cellOf(const QString& path, int row, int column)
{
    grid::ListDocument document;
    EXPECT_TRUE(grid::ListFileReader::read(contentOf(path), document, path).ok);
    return document.at(row, column).text;
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

QStringList storedLines(const QString& path)
{
    return posting::StoredLines::read(path, 1).lines;
}

PostingTest::PostingTest()
{
    datafiles::CreateDataFolders();
    store.CompanyName = QStringLiteral("Firma");
    store.Balance = QStringLiteral("1000");
    store.InvoiceNumber = QStringLiteral("41");
    store.PaymentNumber = QStringLiteral("7");
    saveSettings();
}

QString PostingTest::contactsFolder() const
{
    return program.filePath(QStringLiteral("System/RAzar/Contacts/"));
}

QString PostingTest::transactionsFolder() const
{
    return program.filePath(QStringLiteral("System/RAzar/Transactions/"));
}

QString PostingTest::paymentsFolder() const
{
    return program.filePath(QStringLiteral("System/RAzar/Payments/"));
}

QString PostingTest::company(const QString& name, const std::vector<Contact>& contacts) const
{
    const QString path = contactsFolder() + name;
    writeCompanyFile(path, contacts);
    return path;
}

void fromOwnCompany(datafiles::TransactionHeader& h, const QString& name)
{
    h.FromMyCompany = {name, true};
    h.fromcompany = {};
    h.fromcontact = {};
}

void toOwnCompany(datafiles::TransactionHeader& h, const QString& name)
{
    h.ToMyCompany = {name, true};
    h.tocompany = {};
    h.tocontact = {};
}

void fromContact(datafiles::TransactionHeader& h, const QString& file, int row,
                              const QString& contact)
{
    h.FromMyCompany.Checked = false;
    h.fromcompany = {file, true};
    h.fromcontact = {contact, true};
    h.fromcompanyiselected.Caption = QString::number(row);
}

void toContact(datafiles::TransactionHeader& h, const QString& file, int row,
                            const QString& contact)
{
    h.ToMyCompany.Checked = false;
    h.tocompany = {file, true};
    h.tocontact = {contact, true};
    h.tocompanyiselected.Caption = QString::number(row);
}

datafiles::TransactionHeader header(const QString& value, const QString& oldvalue)
{
    datafiles::TransactionHeader h;
    h.TransactionNumber.Caption = QStringLiteral("41");
    h.Value.Caption = value;
    h.oldvalue.Caption = oldvalue;
    h.FromMyCompany.Caption = QStringLiteral("Firma");
    h.ToMyCompany.Caption = QStringLiteral("Firma");
    return h;
}

QString PostingTest::storedSetting(int line) const
{
    return storedLines(datafiles::settingsFilePath()).value(line - 1);
}

void PostingTest::saveSettings()
{
    ASSERT_TRUE(datafiles::SaveSettingsFile(store));
}

} // namespace postingtest
