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
// A document's file that someone else wrote after this window read it (a posting changed a
// balance in it, another computer saved it) is never written over by Save, nor by Save As
// onto it, unasked; a kind may first take over what it keeps of that file (changedOnDisk).
// A file that was cut short opens with what it still holds and a notice of the rows missing
// from it, and no save writes over it unasked.
//
// Lock rules: a document is opened writable only when no other computer's lock names it and
// this window may write it; a writable open in network mode takes the lock in one exclusive
// step, and a read-only open takes none. The window releases only the locks it holds, and
// only once the action that leaves the document really goes ahead.
//
// The editing commands act on the active cell: the grid's selected row and the column in
// ActiveColumn. Every change of the grid's content marks the document changed, whatever made
// it (a key, typing or the editor's own menu in a cell, the text bar, a command, undo, an
// import): the grid tells each one, and the window counts all but its own setting up of a
// document. Showing a cell in the text bar and the format buttons changes nothing. The file search window opens a found file
// through FoundFileTarget: NEWLIST first, then openFoundFile.
//
// The window is unloaded by closeWindow() (the close box, the Close menu, the Back button, the
// shut-down); after a completed unload it is hidden and emits unloaded(), on which its owner
// drops it, so that the next use makes a fresh window.

#include "grid/gridwindow.h"
#include "platform/commondialog.h"
#include "services/editlockfile.h"
#include "services/filestamp.h"
#include "services/recentfilelist.h"
#include "windows/document/controlplace.h"
#include "windows/document/documentcontext.h"
#include "windows/document/documentkind.h"
#include "windows/document/filesearchwindow.h"
#include "windows/document/incompletefile.h"

#include <QHash>
#include <QString>
#include <QWidget>
#include <functional>
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
namespace services {
struct FormResult;
struct FormServiceInputs;
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

class DocumentWindow : public QWidget, public grid::GridWindow, public FoundFileTarget {
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
    // keeps the document, Cancel keeps it as it is and stops an open from the file search
    // window that asked).
    void NEWLIST() override;
    // Records the current document in the recent-file list under the dialog's file title.
    void PISEFILEADRES();

    // ---- The launcher, the file search window and the shut-down
    // Opens the window from the start-up window: the stored state, placement and bars, the
    // layout, the recent-file menus, then shows it.
    void showFromLauncher();
    // The launcher's steps one by one, for a launcher that places the window itself: the
    // check marks of the bar menus, the bars shown as checked, a recent-file menu's caption,
    // and showing that menu.
    void setBarChecks(bool toolbar, bool textbar);
    void showCheckedBars();
    void setRecentFileCaption(int slot, const QString& caption);
    void showRecentFileMenu(int slot);
    // Opens a file found by the file search window, after its NEWLIST: the same routine as
    // Open, recording the file under the name the search window hands over. A document whose
    // changes NEWLIST could not save is kept; a file gone meanwhile is reported.
    void openFoundFile(const QString& path) override;
    // Shows a document that another part of the program has just written (the posting of a
    // transaction shows a party's company file this way): "Save Changes?" first, then the
    // same routine as Open, without recording it among the recent files.
    OpenOutcome showWrittenDocument(const QString& path);
    // Closes the window as its close box does. The caller sees how "Save Changes?" was
    // answered; only Closed unloads the window.
    CloseOutcome closeWindow();
    // Closes the window for the program's shut-down: as closeWindow, except that a Yes whose
    // save completed unloads the window too, since the program is ending. A save that did not
    // complete (refused, cancelled or failed) keeps the window open with its unsaved work.
    CloseOutcome closeForShutDown();

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

    // ---- Cell editing (the active cell: row iSelected, column ActiveColumn)
    virtual void AddColumn_Click();
    void insertcolumn_Click();
    virtual void deletecolumn_Click();
    virtual void AddRow_Click();
    void InserRow_Click();
    virtual void deleterow_Click();
    void cmdBold_Click();
    void cmdItalic_Click();
    void cmdUnderlined_Click();
    void cmdFontColor_Click();
    void Picture1_Click();
    void Copy_Click();
    void paste_Click();
    void cmdUndo_Click();
    void cmdRedo_Click();

    // ---- The Find frame
    void FindInList_Click();
    void ReplaceInList_Click();

    // ---- Spreadsheet exchange
    void importfromexcel_Click();
    void exporttoexcel_Click();
    void printentirelist_Click();
    virtual void cmdPrintOptions_Click();

    // ---- The file search window
    void cmdFindFiles_Click();
    void cmdList_Click();

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
    const grid::DocumentList& List1() const { return *m_list; }
    QWidget* mainbar() const { return m_mainbar; }
    QLineEdit* TextText() const { return m_textBar; }
    QFrame* Find() const { return m_findFrame; }
    QFrame* PleaseWait() const { return m_pleaseWait; }
    QString PleaseWaitCaption() const;
    QProgressBar* ProgressBar1() const { return m_progressBar; }
    grid::ProgressDisplay* progressDisplay() const { return m_progressDisplay.get(); }
    QWidget* Picture1() const { return m_swatch; }
    // The colour the swatch shows (Picture1.BackColor).
    uint32_t Picture1BackColor() const { return m_swatchColor; }
    // The format "Copy Formated Text" took, which "Paste Formated Text" gives.
    struct CopiedFormat {
        bool FontBold = false;
        bool FontItalic = false;
        bool FontUnderline = false;
        uint32_t BackColor = 0x8000000F; // the button face colour, until the first copy
        friend bool operator==(const CopiedFormat&, const CopiedFormat&) = default;
    };
    const CopiedFormat& copiedFormat() const { return m_copied; }
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

    // What a kind keeps held while its document's file is written (holdForWriting); released
    // before any question.
    class WriteHold {
    public:
        virtual ~WriteHold() = default;
    };

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
    // Whether the document opening now is one another part of the program has just written
    // (showWrittenDocument), rather than one the user chose.
    bool showsWrittenDocument() const { return m_showingWritten; }
    // The name Save As proposes for a document never saved.
    virtual QString proposedFileName() const { return m_kind.defaultFileName; }

    // ---- Writing the document's file (Save, and Save As)
    // Taken before each write, and again after a question about it was answered; nullptr
    // when the write may not go ahead now, the user having been told why.
    virtual std::unique_ptr<WriteHold> holdForWriting() { return std::make_unique<WriteHold>(); }
    // The document's own file was written by someone else after this window read it; asked
    // with the hold kept. userAgreed: the user has answered Yes to the question about the
    // file as it is now. Either the window may write now (having taken into its list what it
    // keeps of the file), or the question to ask first: Yes writes this list over the file,
    // No reads the file again, Cancel writes nothing.
    struct ChangedFileAnswer {
        bool writeNow = false;
        QString question;
    };
    virtual ChangedFileAnswer changedOnDisk(const QString& path, bool userAgreed)
    {
        return {userAgreed, changedOnDiskQuestion(path)};
    }
    QString changedOnDiskQuestion(const QString& path) const;
    // The file at path holds the document as the grid shows it now, just read or written;
    // `stamp` is the file's stamp from before the grid read it, or right after it was written.
    virtual void fileMatchesDocument(const QString& path, const std::optional<services::FileStamp>& stamp)
    {
        (void)path;
        (void)stamp;
    }

    // What New resets besides the grid, after the default columns.
    virtual void clearDocumentExtras() {}

    // ---- A document's file that was cut short
    // Before a save writes the document to path: when path is the file that was cut short
    // as this window read it, whether the user agrees to write over it. True otherwise.
    bool mayWriteOver(const QString& path);
    // path now holds the whole document, written by this window.
    void wroteWholeFile(const QString& path);

    // ---- Building blocks for the steps
    // Runs the handler when the menu command, or the button, of that name is chosen; a kind
    // without it connects nothing.
    void onMenu(const QString& name, const std::function<void()>& handler);
    void onButton(const QString& name, const std::function<void()>& handler);
    // The steps every spreadsheet command begins with: the program's sound, then the
    // refusal while the start-up probe found the spreadsheet program unusable. True when
    // the command may go on.
    bool beginSpreadsheetCommand();
    void playSpreadsheetSound();
    bool spreadsheetUsable();
    // Shows or hides the progress frame for a spreadsheet command, its bar at 1 of
    // ListCount + 1.
    void showSpreadsheetProgress(bool shown);
    // What the form service is given for a form command of this window: the settings store,
    // the prompts, the window's sound and the progress frame PleaseWait.
    services::FormServiceInputs formInputs();
    // Shows how a form command ended: its message, and after a missing template the settings
    // window's picker for the kind (only the message in a program without a picker).
    void showFormResult(const services::FormResult& result);
    // The active cell's column, refreshed from the grid (COLUMNUMBER).
    int activeColumnNumber();
    // Whether (row, column) is a cell of the grid.
    bool isCell(int row, int column) const;
    // While the window sets up a document (New, Open, reading it again, the default columns),
    // the grid's changes are not the user's and do not mark the document changed.
    class SettingUp {
    public:
        explicit SettingUp(DocumentWindow& window) : m_window(window) { ++m_window.m_settingUp; }
        ~SettingUp() { --m_window.m_settingUp; }
        SettingUp(const SettingUp&) = delete;
        SettingUp& operator=(const SettingUp&) = delete;

    private:
        DocumentWindow& m_window;
    };
    void markChanged()
    {
        m_changeStatus = QStringLiteral("1");
        documentChanged();
    }
    // Runs after every change the window's own commands make to the document (a row added
    // or deleted, an import, a key the grid passed on), for a window that shows figures
    // taken from it.
    virtual void documentChanged() {}
    // The window's area below its menu bar, where the bars, the grid and the frames stand.
    QWidget* clientArea() const { return m_client; }
    WindowShell* shell() const { return m_context.shell; }
    const DocumentContext& context() const { return m_context; }
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

    bool eventFilter(QObject* watched, QEvent* event) override;
    void closeEvent(QCloseEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;
    void showEvent(QShowEvent* event) override;
    void changeEvent(QEvent* event) override;

private:
    // The progress frame's caption at rest and while a document is read.
    static inline const QString IdleCaption = QStringLiteral("Quorvane is exporting data into Microsoft Excel file:");
    static inline const QString OpeningCaption = QStringLiteral("Opening the File...");

    void buildMenus();
    void buildToolBar();
    void buildTextBar();
    void buildFindFrame();
    void buildProgressFrame();
    void connectCommands();
    void placeClientArea();
    void applyPlaces();
    ControlPlace& placeOf(const QString& control);
    void layOutFindFrame();
    int clientWidthTwips() const;
    int clientHeightTwips() const;
    void storePlacement();
    CloseOutcome queryUnload();
    void formUnload();
    platform::Answer askSaveChanges();
    void showForeignLock(const QString& path, const QString& holder);
    bool targetLockedAgainstThisWindow(const QString& target);
    // Writes the grid to path; ownFile: path is the file this window read or last wrote, which
    // is not written over unasked when someone else wrote it since. Tells every failure.
    bool writeDocument(const QString& path, bool ownFile);
    void readAgain(const QString& path);
    // After the grid has read path: remembers whether the file was cut short, and tells the
    // user what is missing.
    void noteCutFile(const QString& path);
    void TextText_Change();
    void TextText_GotFocus();
    void TextText_LostFocus();
    // Sets the text bar's text without writing it into the active cell.
    void setTextBarQuietly(const QString& text);
    // Shows the active cell's text as it is now in the text bar, without writing it back.
    void showActiveCellText();
    void setTextBarLimit(int limit);
    void showProgressFrame(bool opening);
    void connectEditingCommands();
    // Bold, italic and underline: one rule for the three buttons, each with its mirror (the
    // button's own font) and its grid member.
    enum class CellFormat { Bold, Italic, Underline };
    void toggleFormat(CellFormat format);
    void setFormat(CellFormat format, int row, int column, bool on);
    void setMirror(CellFormat format, bool on);
    bool mirror(CellFormat format) const;
    void setSwatch(uint32_t color);
    void copyActiveCell(int column);
    // The name of a new column, or nothing when the user gave none; Add Column and Insert
    // Column refuse a column beyond the grid's last first.
    std::optional<QString> askColumnName();
    bool refuseColumnBeyondLast();
    void focusThroughUndo();
    void dockBesideFileSearch();
    QString findFieldText(const QString& name) const;
    bool findCheck(const QString& name) const;

    const DocumentKind& m_kind;
    DocumentContext m_context;
    services::HeldLocks m_locks;
    services::RecentFileList m_recent;
    // The document's file as this window last read or wrote it; Save compares it with the
    // file on disk before it writes.
    std::optional<services::FileStamp> m_diskStamp;
    // The file this window's document was read from, when that file was cut short.
    std::optional<IncompleteFile> m_incompleteFile;

    QString m_changeStatus = QStringLiteral("0");
    QString m_activeColumn = QStringLiteral("1");
    QString m_currentFileName;
    bool m_unloaded = false;
    bool m_showingWritten = false;
    bool m_showingCell = false;
    int m_settingUp = 0;
    bool m_toolbarChecked = true;
    bool m_textbarChecked = true;
    int m_textBarLimit = 80;
    CopiedFormat m_copied;
    uint32_t m_swatchColor = 0;
    platform::CommonDialog m_importDialog;

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
