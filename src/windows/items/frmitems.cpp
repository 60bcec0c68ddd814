#include "windows/items/frmitems.h"

#include "datafiles/datafoldertree.h"
#include "datafiles/htmlhelp.h"
#include "grid/documents/documentlist.h"
#include "grid/gridhost.h"
#include "services/formresult.h"
#include "services/formservice.h"

namespace windows {

// The transfer and the item form refuse the same prices.
static_assert(frmItems::LowestPrice == services::FormService::LowestPrice);

namespace {

QList<MenuEntry> itemMenus()
{
    const auto command = [](const char* name, const char* caption, const char* parent,
                            QKeySequence shortcut = {}) {
        return MenuEntry{QString::fromLatin1(name), QString::fromLatin1(caption), QString::fromLatin1(parent), shortcut};
    };
    const auto separator = [](const char* name, const char* parent) {
        return MenuEntry{QString::fromLatin1(name), QString(), QString::fromLatin1(parent), {}, false, true};
    };
    const auto check = [](const char* name, const char* caption, const char* parent) {
        return MenuEntry{QString::fromLatin1(name), QString::fromLatin1(caption), QString::fromLatin1(parent), {}, true, false, true};
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
        command("printselecteditem", "Selected Item ", "printexcel"),
        command("printentirelist", "Entire List", "printexcel"),
        separator("mnuFileBar3", "file"),
        command("file1", "", "file"),
        command("file2", "", "file"),
        command("file3", "", "file"),
        command("edit", "Edit", ""),
        command("undo", "Undo", "edit", QKeySequence(Qt::CTRL | Qt::Key_Z)),
        command("redo", "Redo", "edit", QKeySequence(Qt::CTRL | Qt::Key_Y)),
        command("Copy", "Copy Formated Text", "edit", QKeySequence(Qt::CTRL | Qt::Key_C)),
        command("paste", "Paste Formated Text", "edit", QKeySequence(Qt::CTRL | Qt::Key_V)),
        command("add", "Add", "edit"),
        command("AddRow", "Add Row", "add"),
        command("AddColumn", "Add Column", "add"),
        command("deletemenu", "Delete", "edit"),
        command("deleterow", "Delete Row", "deletemenu"),
        command("deletecolumn", "Delete Column", "deletemenu"),
        command("insert", "Insert", "edit"),
        command("InserRow", "Row", "insert"),
        command("insertcolumn", "Column", "insert"),
        command("view", "View", ""),
        check("toolbar", "Tool Bar", "view"),
        check("textbar", "Text Bar", "view"),
        command("data", "Data", ""),
        command("import", "Import External Data", "data"),
        command("importfromexcel", "From File", "import"),
        command("export", "Export Data", "data"),
        command("exporttoexcel", "Group into Excel Spreadsheet", "export"),
        command("exportform", "Selected Item into Excel Form", "export"),
        command("TransferItem", "Transfer Item", ""),
        command("Help", "Help", ""),
    };
}

DocumentKind itemKind()
{
    DocumentKind k;
    k.formName = grid::GridHost::Items;
    k.extension = QStringLiteral(".QVI");
    k.dataFolder = datafiles::ItemsFolder;
    k.defaultFileName = QStringLiteral("Group1.QVI");
    k.fileFilter = QStringLiteral("QV Item Group (*.QVI)|*.QVI|");
    k.helpTopic = datafiles::HelpTopic::Items;
    k.captionWord = QStringLiteral("Items Group");
    k.readOnlyWord = QStringLiteral("Items READ-ONLY");
    k.networkFolderMissing = QStringLiteral("Network connection error. Can't find Network Items Directory.");
    k.networkUserMaySave =
        QStringLiteral("Network users are not allowed to edit files. Contact your network host for assistance.");
    k.networkUserOpens = QStringLiteral("Network users are not allowed to edit files.");
    k.designedDirectoryQuestion = {
        QStringLiteral("Saving item group files outside of the designed directory makes these files unavailable to "
                       "functions like easy access via Item Groups Listing button. If you latter decided to host your "
                       "files for multi users, files saved outside of the designed directory will not be available to "
                       "other users. Do you want to save this file in designed directory (recommended)?"),
        QStringLiteral("Saving item group files outside of the designed directory makes these files unavailable to "
                       "functions like easy access via Item Groups Listing button. Files saved outside of the designed "
                       "directory will not be available to other users of your hosting directory. Do you want to save "
                       "this file in designed directory (recommended)?"),
        QStringLiteral("Saving item group files outside of the designed directory makes these files unavailable to "
                       "functions like easy access via Item Groups Listing button. Files saved outside of the designed "
                       "directory will not be available to other users. Do you want to save this file in designed "
                       "directory (recommended) ?"),
    };
    k.rowLimitMessage = QStringLiteral(
        "Velkorn's Quorvane for Microsoft Excel integrate file size into .xls (MS Excel) format. Maximum records per "
        "one Item Group is therefore limited to 65 001 record (slightly smaller then current Excel spreadsheet "
        "limitation at 65,536, respectfully).            If you wish to add more Items into your Quorvane, create "
        "new item group file. ");
    k.rowLimit = 65000;
    k.placement = {&SettingsStore::frmItemsWindowState, &SettingsStore::frmItemsLeft, &SettingsStore::frmItemsTop,
                   &SettingsStore::frmItemsHeight,      &SettingsStore::frmItemsWidth,
                   &SettingsStore::frmItemstoolbarchecked, &SettingsStore::frmItemstextbarchecked};
    k.recentFiles = {&SettingsStore::frmItemsfile1, &SettingsStore::frmItemsfile2, &SettingsStore::frmItemsfile3};
    k.defaultColumns = {{QStringLiteral("Item Name"), 220}, {QStringLiteral("Price"), 60}};
    k.defaultExtraRows = 29;
    k.protectedColumns = 2;
    k.insertColumnQuestion = QStringLiteral("You can't insert column before first two... add new column after ?");
    k.deleteColumnRefusal = QStringLiteral(
        "You can't delete first two columns...Name and Price are the minimum Items information required");
    k.listingRefusal = QStringLiteral(
        "Network users are not allowed to edit files. Contact your network host for assistance. ");
    k.menus = itemMenus();
    k.toolButtons = documentToolBar(QStringLiteral("List Item Groups"));
    k.editingMenus = {QStringLiteral("saveas"), QStringLiteral("paste"), QStringLiteral("add"),
                      QStringLiteral("deletemenu"), QStringLiteral("insert"), QStringLiteral("import")};
    return k;
}

} // namespace

const DocumentKind& frmItems::description()
{
    static const DocumentKind kind = itemKind();
    return kind;
}

frmItems::frmItems(const DocumentContext& context, QWidget* parent) : DocumentWindow(description(), context, parent)
{
    onMenu(QStringLiteral("TransferItem"), [this] { TransfersItem(); });
    onMenu(QStringLiteral("printselecteditem"), [this] { printselecteditem_Click(); });
    onMenu(QStringLiteral("exportform"), [this] { exportform_Click(); });
}

// ---------------------------------------------------------------------------------------
// The item form

void frmItems::printselecteditem_Click()
{
    services::FormService service(formInputs());
    showFormResult(service.printItem(services::SelectedRow::fromGrid(List1().core(), windowTitle())));
}

void frmItems::exportform_Click()
{
    services::FormService service(formInputs());
    showFormResult(service.exportItem(services::SelectedRow::fromGrid(List1().core(), windowTitle())));
}

} // namespace windows
