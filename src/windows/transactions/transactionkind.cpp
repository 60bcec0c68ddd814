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
    return {
        menuCommand("file", "  File", ""),
        menuCommand("new", "New", "file"),
        menuCommand("open", "Open", "file"),
        menuCommand("close", "Close", "file"),
        menuSeparator("mnuFileBar0", "file"),
        menuCommand("save", "Save", "file"),
        menuCommand("saveas", "Save As", "file"),
        menuSeparator("mnuFileBar2", "file"),
        menuCommand("printexcel", "Print", "file"),
        menuSeparator("mnuFileBar3", "file"),
        menuCommand("file1", "", "file"),
        menuCommand("file2", "", "file"),
        menuCommand("file3", "", "file"),
        // The header: each value is the caption of the entry inside the menu that names it.
        menuCommand("header", "Header", ""),
        menuCommand("TN", "Transaction Number:", "header"),
        menuCommand("TransactionNumber", "0", "TN"),
        menuCommand("TDT", "Transaction Date & Time:", "header"),
        menuCommand("DateandTime", "", "TDT"),
        menuCommand("TTV", "Transaction Total Value:", "header"),
        menuCommand("Value", "0", "TTV"),
        menuCommand("tf", "Transaction From:", "header"),
        menuCheck("FromMyCompany", "", "tf"),
        menuCommand("fCompany", "Company:", "tf"),
        menuCheck("fromcompany", "", "fCompany", false),
        menuCommand("fContact", "Contact:", "tf"),
        menuCheck("fromcontact", "", "fContact", false),
        menuCommand("tt", "Transaction To:", "header"),
        menuCheck("ToMyCompany", "", "tt", false),
        menuCommand("TCompany", "Company:", "tt"),
        menuCheck("tocompany", "", "TCompany", false),
        menuCommand("TContact", "Contact:", "tt"),
        menuCheck("tocontact", "", "TContact", false),
        // Kept in the menu bar, never shown.
        menuCommand("fromcompanyiselected", "", ""),
        menuCommand("tocompanyiselected", "", ""),
        menuCommand("oldvalue", "", ""),
        menuCommand("p", "Payment", ""),
        menuCommand("p2", "Amount Paid", "p"),
        menuCommand("AmountPaid", "", "p2"),
        menuCommand("p3", "Balance", "p"),
        menuCommand("Balance", "", "p3"),
        menuCommand("enterPayment", "Enter Payment", "p"),
        menuCommand("add", "Add", ""),
        menuCommand("AddRow", "Add Row", "add"),
        menuCommand("AddColumn", "Add Column", "add"),
        menuCommand("additem", "Add Items", "add"),
        menuCommand("deletemenu", "Delete", ""),
        menuCommand("deleterow", "Delete Row", "deletemenu"),
        menuCommand("deletecolumn", "Delete Column", "deletemenu"),
        menuCommand("insert", "Insert", ""),
        menuCommand("insertcolumn", "Column", "insert"),
        menuCommand("view", "View", ""),
        menuCheck("toolbar", "Tool Bar", "view"),
        menuCheck("textbar", "Text Bar", "view"),
        menuCommand("data", "Data", ""),
        menuCommand("import", "Import External Data", "data"),
        menuCommand("importfromexcel", "From File", "import"),
        menuCommand("export", "Export Data", "data"),
        menuCommand("exporttoexcel", "Transaction into Excel Spreadsheet", "export"),
        menuCommand("exportform", "Transaction into Excel Form", "export"),
        menuCommand("Help", "Help", ""),
    };
}

QList<ToolBarButton> transactionToolButtons()
{
    return {
        toolButton("btnBack", 120, 280, "Back", "", QStyle::SP_ArrowBack),
        toolButton("cmdNew", 600, 260, "New", "", QStyle::SP_FileIcon),
        toolButton("cmdOpen", 840, 280, "Open", "", QStyle::SP_DialogOpenButton),
        toolButton("cmdSave", 1080, 405, "Save", "", QStyle::SP_DialogSaveButton),
        toolButton("cmdPrintOptions", 1470, 280, "Print", "", QStyle::SP_FileDialogDetailedView),
        toolButton("cmdList", 1920, 260, "List Transactions", "", QStyle::SP_FileDialogListView),
        toolButton("cmdFindFiles", 2160, 280, "Search Computer for Item Group Files", "", QStyle::SP_DirOpenIcon),
        toolButton("cmdFind", 2880, 280, "Find", "", QStyle::SP_FileDialogContentsView),
        toolButton("cmdBold", 3600, 260, "Bold", "B"),
        toolButton("cmdItalic", 3840, 260, "Italic", "I"),
        toolButton("cmdUnderlined", 4080, 260, "Underline", "U"),
        toolButton("cmdFontColor", 4320, 260, "Font Color", "A C"),
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
    k.insertColumnQuestion = QStringLiteral("You can't insert column before first four... add new column after ?");
    k.deleteColumnRefusal = QStringLiteral("You can't delete first 4 columns...Name, Price and Quantity and Total are "
                                           "the minimum Items information required for Transaction");
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
