// What sets transactions apart from the other document kinds: names, texts, folder, settings
// fields, the line-item columns, and the menus and tool bar of the transactions window.

#include "windows/transactions/frmtransactions.h"

#include "datafiles/datafoldertree.h"
#include "datafiles/htmlhelp.h"
#include "grid/gridhost.h"

#include <QStyle>

namespace windows {

namespace {

QList<MenuEntry> transactionMenus()
{
    const auto command = [](const char* name, const char* caption, const char* parent) {
        return MenuEntry{QString::fromLatin1(name), QString::fromLatin1(caption), QString::fromLatin1(parent)};
    };
    const auto separator = [](const char* name, const char* parent) {
        return MenuEntry{QString::fromLatin1(name), QString(), QString::fromLatin1(parent), {}, false, true};
    };
    const auto check = [](const char* name, const char* caption, const char* parent, bool checked = true) {
        return MenuEntry{QString::fromLatin1(name), QString::fromLatin1(caption), QString::fromLatin1(parent), {},
                         checked, false, true};
    };
    return {
        command("file", "  File", ""),
        command("new", "New", "file"),
        command("open", "Open", "file"),
        command("close", "Close", "file"),
        separator("mnuFileBar0", "file"),
        command("save", "Save", "file"),
        command("saveas", "Save As", "file"),
        separator("mnuFileBar2", "file"),
        command("printexcel", "Print", "file"),
        separator("mnuFileBar3", "file"),
        command("file1", "", "file"),
        command("file2", "", "file"),
        command("file3", "", "file"),
        // The header: each value is the caption of the entry inside the menu that names it.
        command("header", "Header", ""),
        command("TN", "Transaction Number:", "header"),
        command("TransactionNumber", "0", "TN"),
        command("TDT", "Transaction Date & Time:", "header"),
        command("DateandTime", "", "TDT"),
        command("TTV", "Transaction Total Value:", "header"),
        command("Value", "0", "TTV"),
        command("tf", "Transaction From:", "header"),
        check("FromMyCompany", "", "tf"),
        command("fCompany", "Company:", "tf"),
        check("fromcompany", "", "fCompany", false),
        command("fContact", "Contact:", "tf"),
        check("fromcontact", "", "fContact", false),
        command("tt", "Transaction To:", "header"),
        check("ToMyCompany", "", "tt", false),
        command("TCompany", "Company:", "tt"),
        check("tocompany", "", "TCompany", false),
        command("TContact", "Contact:", "tt"),
        check("tocontact", "", "TContact", false),
        // Kept in the menu bar, never shown.
        command("fromcompanyiselected", "", ""),
        command("tocompanyiselected", "", ""),
        command("oldvalue", "", ""),
        command("p", "Payment", ""),
        command("p2", "Amount Paid", "p"),
        command("AmountPaid", "", "p2"),
        command("p3", "Balance", "p"),
        command("Balance", "", "p3"),
        command("enterPayment", "Enter Payment", "p"),
        command("add", "Add", ""),
        command("AddRow", "Add Row", "add"),
        command("AddColumn", "Add Column", "add"),
        command("additem", "Add Items", "add"),
        command("deletemenu", "Delete", ""),
        command("deleterow", "Delete Row", "deletemenu"),
        command("deletecolumn", "Delete Column", "deletemenu"),
        command("insert", "Insert", ""),
        command("insertcolumn", "Column", "insert"),
        command("view", "View", ""),
        check("toolbar", "Tool Bar", "view"),
        check("textbar", "Text Bar", "view"),
        command("data", "Data", ""),
        command("import", "Import External Data", "data"),
        command("importfromexcel", "From File", "import"),
        command("export", "Export Data", "data"),
        command("exporttoexcel", "Transaction into Excel Spreadsheet", "export"),
        command("exportform", "Transaction into Excel Form", "export"),
        command("Help", "Help", ""),
    };
}

QList<ToolBarButton> transactionToolButtons()
{
    const auto b = [](const char* name, int left, int width, const char* tip, const char* caption = "", int icon = -1) {
        return ToolBarButton{QString::fromLatin1(name), left, width, QString::fromLatin1(tip), QString::fromLatin1(caption), icon};
    };
    return {
        b("btnBack", 120, 280, "Back", "", QStyle::SP_ArrowBack),
        b("cmdNew", 600, 260, "New", "", QStyle::SP_FileIcon),
        b("cmdOpen", 840, 280, "Open", "", QStyle::SP_DialogOpenButton),
        b("cmdSave", 1080, 405, "Save", "", QStyle::SP_DialogSaveButton),
        b("cmdPrintOptions", 1470, 280, "Print", "", QStyle::SP_FileDialogDetailedView),
        b("cmdList", 1920, 260, "List Transactions", "", QStyle::SP_FileDialogListView),
        b("cmdFindFiles", 2160, 280, "Search Computer for Item Group Files", "", QStyle::SP_DirOpenIcon),
        b("cmdFind", 2880, 280, "Find", "", QStyle::SP_FileDialogContentsView),
        b("cmdBold", 3600, 260, "Bold", "B"),
        b("cmdItalic", 3840, 260, "Italic", "I"),
        b("cmdUnderlined", 4080, 260, "Underline", "U"),
        b("cmdFontColor", 4320, 260, "Font Color", "A C"),
    };
}

DocumentKind transactionKind()
{
    DocumentKind k;
    k.formName = grid::GridHost::Transactions;
    k.extension = QStringLiteral(".QVT");
    k.dataFolder = datafiles::TransactionsFolder;
    k.fileFilter = QStringLiteral("Transaction (*.QVT)|*.QVT|");
    k.saveDialogTitle = QStringLiteral("Save Transaction As:");
    k.helpTopic = datafiles::HelpTopic::Transactions;
    k.captionWord = QStringLiteral("Transaction");
    k.readOnlyWord = QStringLiteral("Transaction READ-ONLY");
    k.networkFolderMissing = QStringLiteral("Network connection error. Can't find Network Transactions Directory.");
    k.networkUserMaySave =
        QStringLiteral("Network users are not allowed to edit files. Contact your network host for assistance. ");
    k.networkUserOpens = k.networkUserMaySave;
    k.openRefusesNetworkUser = true;
    k.designedDirectoryQuestion = {
        QStringLiteral("Saving transaction files outside of the designed directory makes these files unavailable to "
                       "functions like easy access via transactions Listing button. If you latter decided to host "
                       "your files for multi users, files saved outside of the designed directory will not be "
                       "available to other users. Do you want to save this file in designed directory "
                       "(recommended)?"),
        QStringLiteral("Saving transaction files outside of the designed directory makes these files unavailable to "
                       "functions like easy access via transactions Listing button. Files saved outside of the "
                       "designed directory will not be available to other users of your hosting directory. Do you "
                       "want to save this file in designed directory (recommended)?"),
        QStringLiteral("Saving transaction files outside of the designed directory makes these files unavailable to "
                       "functions like easy access via transactions Listing button. Files saved outside of the "
                       "designed directory will not be available to other users. Do you want to save this file in "
                       "designed directory (recommended) ?"),
    };
    k.rowLimitMessage = QStringLiteral(
        "Velkorn's Quorvane for Microsoft Excel integrate file size into .xls (MS Excel) format. Maximum records per "
        "one Transaction is therefore limited to 65 001 records (slightly smaller then current Excel spreadsheet "
        "limitation at 65,536, respectfully).            If you wish to add more Items into your Transaction, "
        "create new Transaction file. ");
    k.rowLimit = 65000;
    k.placement = {&SettingsStore::frmTransactionsWindowState, &SettingsStore::frmTransactionsLeft,
                   &SettingsStore::frmTransactionsTop,         &SettingsStore::frmTransactionsHeight,
                   &SettingsStore::frmTransactionsWidth,       &SettingsStore::frmTransactionstoolbarchecked,
                   &SettingsStore::frmTransactionstextbarchecked};
    k.recentFiles = {&SettingsStore::frmTransactionsfile1, &SettingsStore::frmTransactionsfile2,
                     &SettingsStore::frmTransactionsfile3};
    k.defaultColumns = {{QStringLiteral("Item Name"), 220},
                        {QStringLiteral("Price"), 60},
                        {QStringLiteral("Quantity"), 60},
                        {QStringLiteral("Total"), 60}};
    k.defaultExtraRows = 29;
    k.defaultColumnsLocked = true;
    k.protectedColumns = 4;
    k.menus = transactionMenus();
    k.toolButtons = transactionToolButtons();
    k.editingMenus = {QStringLiteral("saveas"), QStringLiteral("add"), QStringLiteral("deletemenu"),
                      QStringLiteral("insert"), QStringLiteral("import")};
    k.findFrameReplaces = false;
    k.textBarLocked = true;
    k.locksOnSaveAs = false;
    return k;
}

} // namespace

const DocumentKind& frmTransactions::description()
{
    static const DocumentKind kind = transactionKind();
    return kind;
}

} // namespace windows
