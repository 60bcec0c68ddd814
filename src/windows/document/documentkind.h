#pragma once
// What tells the three document windows apart where they share their behaviour: the name
// the settings store's ActiveList gives the window, its file extension and data folder, its
// captions, texts and messages, its placement and recent-file fields in the settings store,
// its help topic, its default and protected columns, its menus and tool bar buttons. The
// shared window reads all of this from one description and never asks which window it is;
// a window overrides only the steps that really differ (see DocumentWindow).

#include "datafiles/settingsstore.h"

#include <QKeySequence>
#include <QList>
#include <QString>
#include <QStringList>
#include <array>
#include <cstdint>

namespace windows {

using datafiles::RecentFileSlot;
using datafiles::SettingsStore;
using datafiles::TextField;

// The settings-store fields that keep a window's state, place, size and bar checks.
struct PlacementFields {
    TextField SettingsStore::*WindowState;
    TextField SettingsStore::*Left;
    TextField SettingsStore::*Top;
    TextField SettingsStore::*Height;
    TextField SettingsStore::*Width;
    TextField SettingsStore::*toolbarchecked;
    TextField SettingsStore::*textbarchecked;
};

// One entry of the menu bar: a top-level menu (no parent), a submenu (named as the parent of
// other entries), a command or a separator. Names are the controls' names ("file", "save").
struct MenuEntry {
    QString name;
    QString caption;
    QString parent;           // "" for the menu bar itself
    QKeySequence shortcut = {};
    bool checked = false;     // a check mark, shown from the start
    bool separator = false;
    bool checkable = false;

    static MenuEntry command(const char* name, const char* caption, const char* parent, QKeySequence shortcut = {})
    {
        return {QString::fromLatin1(name), QString::fromLatin1(caption), QString::fromLatin1(parent), shortcut};
    }
    static MenuEntry separatorIn(const char* name, const char* parent)
    {
        return {QString::fromLatin1(name), QString(), QString::fromLatin1(parent), {}, false, true};
    }
    // An entry with a check mark, checked from the start.
    static MenuEntry checkedCommand(const char* name, const char* caption, const char* parent)
    {
        return {QString::fromLatin1(name), QString::fromLatin1(caption), QString::fromLatin1(parent), {}, true, false, true};
    }
};

// One button of the tool bar, in twips inside the bar (all are 330 high at its top).
struct ToolBarButton {
    QString name;
    int left = 0;
    int width = 0;
    QString toolTip;
    QString caption;          // "" for a picture button
    int icon = -1;            // its picture: a QStyle::StandardPixmap, -1 for none
};

// The tool bar of the item groups and contact companies windows: Back, New, Open, Save,
// Print, the list and search buttons, Undo, Redo, Find and the four format buttons, at their
// places. Only the list button's tip differs between the two.
QList<ToolBarButton> documentToolBar(const QString& listToolTip);

// One of the columns a new document starts with.
struct DefaultColumn {
    QString caption;
    int width = 0;
};

// Builders for a kind's tables of menus and tool bar buttons, from the texts as written.
inline MenuEntry menuCommand(const char* name, const char* caption, const char* parent, QKeySequence shortcut = {})
{
    return {QString::fromLatin1(name), QString::fromLatin1(caption), QString::fromLatin1(parent), shortcut};
}
inline MenuEntry menuSeparator(const char* name, const char* parent)
{
    return {QString::fromLatin1(name), QString(), QString::fromLatin1(parent), {}, false, true};
}
// An entry with a check mark, shown checked from the start or not.
inline MenuEntry menuCheck(const char* name, const char* caption, const char* parent, bool checked = true)
{
    return {QString::fromLatin1(name), QString::fromLatin1(caption), QString::fromLatin1(parent), {}, checked, false, true};
}
inline ToolBarButton toolButton(const char* name, int left, int width, const char* toolTip, const char* caption = "",
                                int icon = -1)
{
    return {QString::fromLatin1(name), left, width, QString::fromLatin1(toolTip), QString::fromLatin1(caption), icon};
}

struct DocumentKind {
    // ---- Names and files
    QString formName;           // what ActiveList holds while the window is active ("frmItems")
    QString extension;          // of its documents, compared and appended as written (".QVI")
    QString dataFolder;         // its folder below the data root ("Items/")
    QString defaultFileName;    // Save As proposes it for a document never saved ("Group1.QVI")
    QString fileFilter;         // of the open and save dialogs
    QString saveDialogTitle;    // "" when the save dialog keeps its own title
    QString helpTopic;          // page of the help file ("Items.htm")

    // ---- Captions: captionWord & " [ Unsaved ]", captionWord & " [ " & title & " ]",
    // readOnlyWord & " [" & title & " ]", and after Save As captionWord & " [" & title & "]".
    QString captionWord;        // "Items Group"
    QString readOnlyWord;       // "Items READ-ONLY"

    // ---- Messages
    QString networkFolderMissing;   // the network folder of its documents cannot be found
    QString networkUserMaySave;     // a network user tries to save
    QString networkUserOpens;       // a network user opens a document (it opens read-only)
    // Save As outside the data folder, by network mode: single machine, host, user.
    std::array<QString, 3> designedDirectoryQuestion;
    QString rowLimitMessage;        // DODARED at the row limit
    int rowLimit = 65000;           // DODARED adds rows while ListCount is at most this
    // DODARED appends its empty row after the last one; otherwise the new row takes the
    // last row's place and pushes that row down.
    bool addedRowGoesLast = false;

    // ---- Settings-store fields
    PlacementFields placement;
    std::array<RecentFileSlot SettingsStore::*, 3> recentFiles;

    // ---- Grid
    QList<DefaultColumn> defaultColumns;  // a grid with fewer than two columns gets these
    int defaultExtraRows = 29;         // and this many empty rows more
    bool defaultColumnsLocked = false; // the default columns take no typing
    int protectedColumns = 0;          // the first columns, which cannot be deleted or pushed aside
    // Insert Column on a protected column asks this (Yes appends the column at the end).
    QString insertColumnQuestion;
    // Delete Column on a protected column refuses with this.
    QString deleteColumnRefusal;

    // ---- Controls
    QList<MenuEntry> menus;
    QList<ToolBarButton> toolButtons;
    // The menus that a writable open enables, besides Save; a kind lists only those it has.
    QStringList editingMenus;
    bool findFrameReplaces = true;  // the Find frame has the replace fields
    bool textBarLocked = false;     // the text bar shows the active cell but takes no typing
    uint32_t backColor = 0x0078A7D1;

    // Whether a completed Save As takes the edit lock of the new path (in network mode).
    bool locksOnSaveAs = true;

    // ---- Spreadsheet exchange and file search
    QString importRefusal;   // the import refuses a network user with this; "" lets one import
    QString listingRefusal;  // the listing refuses a network user with this; "" lets one list
    // Whether Open turns a network user away before any question, rather than opening the
    // chosen document read-only (networkUserMaySave is then the message).
    bool openRefusesNetworkUser = false;
};

} // namespace windows
