#pragma once
// The data folder tree below the program folder, with one spelling per folder, and the
// data root of the current network mode below which every document and template lies.

#include <QString>
#include <QStringList>

namespace datafiles {

class SettingsStore;

// The 15 folders below the program folder, parents first, as "System/RAzar/Items".
const QStringList& DataFolderTree();

// Makes each folder of the tree that is missing; a folder that cannot be made is passed
// over in silence.
void CreateDataFolders();

// Removes what saves killed before their end left in the data folder tree: their
// temporary files, once surely dead (see platform::staleTemporaryFileAge); a save going on
// now, here or on another machine, keeps its file. Called once at start-up; returns how
// many files were removed. Failures are passed over in silence.
int removeLeftoverTemporaryFiles();

// A path below the program folder: programPath("System/Temp/") and so on.
QString programPath(const QString& relative);

// The scratch folder "System/Temp/", the settings file "System/RAzar/sys/0.dat" and the
// sound played before the spreadsheet commands.
QString tempFolder();
QString settingsFilePath();
QString soundFilePath();

// Deletes every file in the scratch folder (not its sub-folders); failures are ignored.
void emptyTempFolder();

// The folder of the documents and templates of the store's network mode, ending with "/":
// the local "System/RAzar/", or "QVNET/RAzar/" in the host file's folder.
QString DataRoot(const SettingsStore& store);

// The folders below a data root and the default template files in them.
inline const QString ItemsFolder = QStringLiteral("Items/");
inline const QString ContactsFolder = QStringLiteral("Contacts/");
inline const QString TransactionsFolder = QStringLiteral("Transactions/");
inline const QString PaymentsFolder = QStringLiteral("Payments/");
inline const QString ItemTemplateFolder = QStringLiteral("Template/Item/");
inline const QString ContactTemplateFolder = QStringLiteral("Template/Contacts/");
inline const QString TransactionTemplateFolder = QStringLiteral("Template/Transaction/");
inline const QString PaymentTemplateFolder = QStringLiteral("Template/Payments/");
inline const QString ItemTemplateFile = QStringLiteral("Item Form.xls");
inline const QString ContactTemplateFile = QStringLiteral("Contact Form.xls");
inline const QString TransactionTemplateFile = QStringLiteral("Transaction Form.xls");
inline const QString PaymentTemplateFile = QStringLiteral("Payment Form.xls");

} // namespace datafiles
