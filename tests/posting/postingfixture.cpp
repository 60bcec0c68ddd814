#include "postingfixture.h"

#include "datafiles/datafoldertree.h"
#include "datafiles/settingsfile.h"
#include "grid/documents/listdocument.h"
#include "grid/documents/listfilereader.h"
#include "platform/safefile.h"
#include "posting/storedlines.h"

#include <QDir>
#include <QFile>

namespace postingtest {

QString cellOf(const QString& path, int row, int column)
{
    grid::ListDocument document;
    EXPECT_TRUE(grid::ListFileReader::read(contentOf(path), document, path).ok);
    return document.at(row, column).text;
}

void lock(const QString& document, const char* holder)
{
    QFile lockFile(document + QStringLiteral(".tmp"));
    ASSERT_TRUE(lockFile.open(QIODevice::WriteOnly));
    lockFile.write(holder);
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
    EXPECT_TRUE(writeCompanyFile(path, contacts)) << path.toStdString();
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

void contactAndOwnCompany(datafiles::TransactionHeader& h, const QString& file, const QString& contact,
                          bool contactSends)
{
    if (contactSends) {
        fromContact(h, file, 1, contact);
        toOwnCompany(h);
    } else {
        fromOwnCompany(h);
        toContact(h, file, 1, contact);
    }
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
