#pragma once
// DocumentWindow: what the item groups, contact companies and transactions windows share. It
// holds one document in its grid List1 and keeps the document's state where the other
// windows look for it: the path, title and read-only marker in the start-up window's file
// dialog it is given, the changed mark lblChangeStatus, the path the Open command last read
// (currentfilename) and the writable marker (cmdSave enabled). It lays itself out in twips
// (Reposition), shows and hides its bars, remembers its placement and bars in the settings
// store, asks "Save Changes?" before anything discards unsaved work, creates, opens and saves
// documents, keeps the edit lock of the document it may save and the recent-file list.
//
// Everything that differs between the three windows comes from the DocumentKind it is made
// with; a window overrides only the protected steps below that really differ. Every document
// opens through one routine (openDocument), whether from Open, a recent-file entry or the
// file search window, so the network rules, the lock rules and the read-only handling are the
// same on every way in.
//
// Lock rules: a document is opened writable only when no other computer's lock names it and
// this window may write it; a writable open in network mode takes the lock in one exclusive
// step, and a read-only open takes none. The window releases only the locks it holds, and
// only once the action that leaves the document really goes ahead.
//
// The window is unloaded by closeWindow() (the close box, the Close menu, the Back button, the
// shut-down); after a completed unload it is hidden and emits unloaded(), on which its owner
// drops it, so that the next use makes a fresh window.

#include "grid/gridwindow.h"
#include "services/editlockfile.h"
#include "services/recentfilelist.h"
#include "windows/document/controlplace.h"
#include "windows/document/documentcontext.h"
#include "windows/document/documentkind.h"

#include <QHash>
#include <QString>
#include <QWidget>
#include <memory>
#include <optional>

class QAbstractButton;
class QAction;
class QFrame;
class QLabel;
class QLineEdit;
class QMenuBar;
class QProgressBar;

namespace grid {
class DocumentList;
class ProgressDisplay;
}
namespace platform {
enum class Answer;
}

namespace windows {

// How a request to close the window ended.
enum class CloseOutcome {
    Closed,      // the window unloaded
    Cancelled,   // "Save Changes?" was answered Cancel: the window stays open
    KeptSaved,   // answered Yes and the document was saved; the window stays open, as the
                 // question's Yes always keeps it
    KeptUnsaved, // answered Yes, but the save did not complete: the changes are not saved
};

// How an open of a document ended.
enum class OpenOutcome { Opened, OpenedReadOnly, NotOpened };

class DocumentWindow : public QWidget, public grid::GridWindow {
    Q_OBJECT
public:
    DocumentWindow(const DocumentKind& kind, const DocumentContext& context, QWidget* parent = nullptr);
    ~DocumentWindow() override;

    const DocumentKind& kind() const { return m_kind; }

    // ---- The members other windows call by name
    // Lays out the grid, the bars and the frames for the window's size and the bars shown.
    void Reposition();
    // Appends an empty row and marks the document changed, within the kind's row limit.
    void DODARED() override;
    // Takes the edit lock of the current document for this computer unless a lock file is
    // there already (one naming this computer is taken over). True when the window holds it.
    bool WRITECURRUSERNAME();
    // Releases the edit locks this window holds that still name this computer.
    void DELETECURRENTUSERNAME();
    // Starts a new document, after "Save Changes?" when the document is changed (Yes saves and
    // keeps the document, Cancel keeps it as it is).
    void NEWLIST();
    // Records the current document in the recent-file list under the dialog's file title.
    void PISEFILEADRES();

    // ---- The launcher, the file search window and the shut-down
    // Opens the window from the start-up window: the stored state, placement and bars, the
    // layout, the recent-file menus, then shows it.
    void showFromLauncher();
    // Opens a file found by the file search window: New first (its question), then the same
    // routine as Open, recording the file under its name. NotOpened when the user kept the
    // document shown or the file could not be read.
    OpenOutcome openFoundFile(const QString& path);
    // Shows a document that another part of the program has just written (the posting of a
    // transaction shows a party's company file this way): "Save Changes?" first, then the
    // same routine as Open, without recording it among the recent files.
    OpenOutcome showWrittenDocument(const QString& path);
    // Closes the window as its close box does. The caller sees how "Save Changes?" was
    // answered; only Closed unloads the window.
    CloseOutcome closeWindow();

    // ---- Commands, named as the controls that run them
    void cmdNew_Click();
    void cmdOpen_Click();
    // Save; true when the document was written.
    virtual bool cmdSave_Click();
    // Save As; true when the document was written under the chosen path.
    virtual bool saveas_Click();
    // The recent-file entries file1 to file3.
    void file_Click(int slot);
    void close_Click();
    void btnBack_Click();
    void toolbar_Click();
    void textbar_Click();
    void cmdFind_Click();
    void Label1_Click();
    void Help_Click();

    // ---- Document state
    QString lblChangeStatus() const { return m_changeStatus; }
    void setlblChangeStatus(const QString& caption) { m_changeStatus = caption; }
    // Whether lblChangeStatus reads as the number 1.
    bool isChanged() const;
    QString ActiveColumn() const { return m_activeColumn; }
    void setActiveColumn(const QString& caption) override;
    QString currentfilename() const { return m_currentFileName; }
    // Whether the window may save its document (cmdSave enabled).
    bool isWritable() const;
    // Whether the caption marks a document that has never been saved.
    bool isUnsaved() const;
    platform::CommonDialog& dialog() { return m_context.dialog; }
    const services::HeldLocks& heldLocks() const { return m_locks; }

    // ---- Controls, by their names
    grid::DocumentList& List1() { return *m_list; }
    QWidget* mainbar() const { return m_mainbar; }
    QLineEdit* TextText() const { return m_textBar; }
    QFrame* Find() const { return m_findFrame; }
    QFrame* PleaseWait() const { return m_pleaseWait; }
    QString PleaseWaitCaption() const;
    QProgressBar* ProgressBar1() const { return m_progressBar; }
    grid::ProgressDisplay* progressDisplay() const { return m_progressDisplay.get(); }
    QWidget* Picture1() const { return m_swatch; }
    // A tool bar button or a control of the Find frame; nullptr when the kind has none.
    QAbstractButton* button(const QString& name) const;
    // A menu or menu command; nullptr when the kind has none.
    QAction* menu(const QString& name) const;
    // A caption as a menu entry's text, which shows it as written: an "&" marks no access key.
    static QString menuText(const QString& caption);
    // Where the layout put a control: "List1", "mainbar", "TextText", "Find", "PleaseWait".
    ControlPlace place(const QString& control) const;

    // ---- GridWindow
    bool Visible() const override { return isVisible(); }
    void showCell(const QString& text, bool bold, bool italic, bool underline, uint32_t color) override;
    grid::GridSelection* gridSelection() override;

signals:
    // The window has unloaded; its owner drops it.
    void unloaded();

protected:
    // ---- Steps a window overrides where it differs
    // The window becomes active: it names itself in ActiveList, gives a fresh grid its
    // default columns and lays itself out.
    virtual void Form_Activate();
    // A grid with fewer than two columns gets the kind's default columns and rows.
    virtual void EnsureDefaultColumns();
    // The network-user rule of an open: tells the user and answers true when the document is
    // to open read-only.
    virtual bool networkUserOpensReadOnly();
    // Reads what belongs to a document beside its list file, once the list file has been
    // read. False when they could not be read: the document then opens read-only.
    virtual bool loadCompanionFiles(const QString& path)
    {
        (void)path;
        return true;
    }
    // After a document has opened (writable or read-only).
    virtual void afterDocumentOpened() {}
    // The name Save As proposes for a document never saved.
    virtual QString proposedFileName() const { return m_kind.defaultFileName; }
    // What New resets besides the grid, after the default columns.
    virtual void clearDocumentExtras() {}

    // ---- Building blocks for the steps
    datafiles::SettingsStore& store() { return m_context.store; }
    const datafiles::SettingsStore& store() const { return m_context.store; }
    platform::Prompts& prompts() { return m_context.prompts; }
    // The kind's folder below the data root of the current network mode, ending with "/".
    QString dataFolder() const;
    // Host or user mode: one of the two network folders of the kind must exist; otherwise
    // the kind's message. True when the command may go on.
    bool networkFolderCheck();
    bool isNetworkUser() const;
    // Save and Save As: a network user is told and refused. True when refused.
    bool refuseNetworkUser();
    // This computer's name, refreshed in the settings store first.
    QString computerName();
    // "Save Changes?" before an action discards the document: true when the action may go
    // on (not changed, or No). Yes saves (Save As when the window may not save) and stops.
    bool mayDiscardChanges();
    // The Yes of "Save Changes?": Save, or Save As for a document this window may not save.
    bool saveForQuestion();

    // Save As up to the chosen path: the dialog (proposing `proposal` when it is not empty)
    // and the question about a path outside the data folder. The path has the kind's
    // extension; the title is the file's name as the dialog gave it, with the extension
    // added where the path got it. Nothing when the user cancelled; the dialog then holds
    // what it held before.
    struct SaveAsChoice {
        QString path;
        QString title;
    };
    std::optional<SaveAsChoice> chooseSaveAsPath(const QString& proposal);

    // The document's path, file title and caption, to put back when a command that changed
    // them writes nothing.
    struct Identity {
        QString fileName, fileTitle, caption;
    };
    Identity identity() const;
    void restore(const Identity& before);

    struct OpenRequest {
        QString path;
        QString title;               // shown in the caption
        bool setsCurrentFileName = false;
        bool recordsRecent = false;  // records the document under `title`
    };
    // The one routine every open goes through, once the path is chosen and any question is
    // answered.
    OpenOutcome openDocument(const OpenRequest& request);
    // The steps that make an opened document editable and bring the window back to rest.
    void enableColumnEditing();
    void finishOpening();
    void setWritable(bool writable);
    void setUnsavedCaption();
    void recordRecent(const QString& title);
    void showRecentMenus();

    void closeEvent(QCloseEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;
    void showEvent(QShowEvent* event) override;
    void changeEvent(QEvent* event) override;

private:
    // The progress frame's caption at rest and while a document is read.
    static inline const QString IdleCaption = QStringLiteral("Quorvane is exporting data into Microsoft Excel file:");
    static inline const QString OpeningCaption = QStringLiteral("Opening the File...");

    void buildMenus();
    void setBarChecks(bool toolbar, bool textbar);
    void buildToolBar();
    void buildTextBar();
    void buildFindFrame();
    void buildProgressFrame();
    void connectCommands();
    void placeClientArea();
    void applyPlaces();
    ControlPlace& placeOf(const QString& control);
    int clientWidthTwips() const;
    int clientHeightTwips() const;
    void storePlacement();
    CloseOutcome queryUnload();
    void formUnload();
    platform::Answer askSaveChanges();
    void showForeignLock(const QString& path, const QString& holder);
    bool targetLockedAgainstThisWindow(const QString& target);
    void TextText_Change();
    void showProgressFrame(bool opening);

    const DocumentKind& m_kind;
    DocumentContext m_context;
    services::HeldLocks m_locks;
    services::RecentFileList m_recent;

    QString m_changeStatus = QStringLiteral("0");
    QString m_activeColumn = QStringLiteral("1");
    QString m_currentFileName;
    bool m_unloaded = false;
    bool m_showingCell = false;
    bool m_toolbarChecked = true;
    bool m_textbarChecked = true;

    QMenuBar* m_menuBar = nullptr;
    QWidget* m_client = nullptr;
    grid::DocumentList* m_list = nullptr;
    QWidget* m_mainbar = nullptr;
    QLineEdit* m_textBar = nullptr;
    QFrame* m_findFrame = nullptr;
    QFrame* m_pleaseWait = nullptr;
    QLabel* m_pleaseWaitCaption = nullptr;
    QProgressBar* m_progressBar = nullptr;
    std::unique_ptr<grid::ProgressDisplay> m_progressDisplay;
    QWidget* m_swatch = nullptr;
    QHash<QString, QAbstractButton*> m_buttons;
    QHash<QString, QAction*> m_actions;
    QHash<QString, ControlPlace> m_places;
};

} // namespace windows
