// DocumentWindow's document commands: New, Open, Save, Save As, the recent-file entries and
// the file search window's open, with the network rules and the edit locks they apply.

#include "windows/document/documentwindow.h"

#include "datafiles/datafoldertree.h"
#include "datafiles/fileprocedures.h"
#include "grid/documents/documentlist.h"
#include "platform/commondialog.h"
#include "platform/prompts.h"
#include "platform/vb.h"
#include "services/filestamp.h"
#include "services/readonlyfile.h"

#include <QAbstractButton>
#include <QAction>
#include <QApplication>
#include <QDir>
#include <QFrame>
#include <QLabel>
#include <QLineEdit>
#include <QProgressBar>

namespace windows {

using platform::Answer;
using services::EditLockFile;

namespace {

constexpr int ReadOnlyFlags = 1025;
constexpr int OpeningProgressMax = 32;
constexpr int IdleProgressMax = 1000000000;
constexpr int ExclamationOk = 48;
constexpr int YesNoCancelQuestion = 35;

QString trimmedRight(QString text)
{
    while (!text.isEmpty() && text.back() == QLatin1Char(' '))
        text.chop(1);
    return text;
}

int modeIndex(datafiles::NetworkMode mode)
{
    switch (mode) {
    case datafiles::NetworkMode::Host:
        return 1;
    case datafiles::NetworkMode::User:
        return 2;
    case datafiles::NetworkMode::SingleMachine:
        break;
    }
    return 0;
}

} // namespace

// ---------------------------------------------------------------------------------------
// State and rules

bool DocumentWindow::isChanged() const
{
    const auto value = platform::vb::CDbl(m_changeStatus);
    return value && *value == 1;
}

bool DocumentWindow::isWritable() const
{
    const QAbstractButton* save = button(QStringLiteral("cmdSave"));
    return save && save->isEnabled();
}

bool DocumentWindow::isUnsaved() const
{
    return windowTitle() == m_kind.captionWord + QStringLiteral(" [ Unsaved ]");
}

void DocumentWindow::setUnsavedCaption()
{
    setWindowTitle(m_kind.captionWord + QStringLiteral(" [ Unsaved ]"));
}

QString DocumentWindow::dataFolder() const
{
    return datafiles::DataRoot(store()) + m_kind.dataFolder;
}

// Either network folder of the kind will do, whichever the mode. A host folder that is not
// set at all names no folder (not one relative to wherever the program was started).
bool DocumentWindow::networkFolderCheck()
{
    const datafiles::SettingsStore& s = store();
    if (!s.OptionHost.value() && !s.OptionUser.value())
        return true;
    for (const QString& host : {s.MyHostSystem.value(), s.lblConnectedtohostsystem.value()})
        if (!host.isEmpty() && datafiles::FolderExists(host + QStringLiteral("QVNET/RAzar/") + m_kind.dataFolder))
            return true;
    prompts().MsgBox(m_kind.networkFolderMissing, platform::MsgStyle::Critical);
    return false;
}

bool DocumentWindow::isNetworkUser() const
{
    return store().OptionUser.value() && store().CheckReadWrite.Value.value() == 0;
}

bool DocumentWindow::refuseNetworkUser()
{
    if (!isNetworkUser())
        return false;
    prompts().MsgBox(m_kind.networkUserMaySave, platform::MsgStyle::Critical);
    return true;
}

bool DocumentWindow::networkUserOpensReadOnly()
{
    if (!isNetworkUser())
        return false;
    prompts().MsgBox(m_kind.networkUserOpens, platform::MsgStyle::Critical);
    return true;
}

QString DocumentWindow::computerName()
{
    store().shell().UPISEPCNAME();
    return store().lblComputerName.value();
}

bool DocumentWindow::mayDiscardChanges()
{
    if (!isChanged())
        return true;
    switch (askSaveChanges()) {
    case Answer::Yes:
        saveForQuestion();
        return false;
    case Answer::No:
        return true;
    default:
        return false;
    }
}

// A document this window may not save (another computer edits it) is saved under another
// name rather than by a Save that is switched off.
bool DocumentWindow::saveForQuestion()
{
    return isWritable() ? cmdSave_Click() : saveas_Click();
}

void DocumentWindow::setWritable(bool writable)
{
    if (QAbstractButton* save = button(QStringLiteral("cmdSave")))
        save->setEnabled(writable);
    if (QAction* save = menu(QStringLiteral("save")))
        save->setEnabled(writable);
}

DocumentWindow::Identity DocumentWindow::identity() const
{
    return {m_context.dialog.FileName, m_context.dialog.FileTitle, windowTitle()};
}

void DocumentWindow::restore(const Identity& before)
{
    m_context.dialog.FileName = before.fileName;
    m_context.dialog.FileTitle = before.fileTitle;
    setWindowTitle(before.caption);
}

// ---------------------------------------------------------------------------------------
// Locks

bool DocumentWindow::WRITECURRUSERNAME()
{
    const QString document = m_context.dialog.FileName;
    if (document.isEmpty())
        return false;
    return m_locks.take(document, computerName()).status == services::HeldLocks::Take::Status::Held;
}

void DocumentWindow::DELETECURRENTUSERNAME()
{
    if (!m_locks.isEmpty())
        m_locks.release(computerName());
}

void DocumentWindow::showForeignLock(const QString& path, const QString& holder)
{
    prompts().MsgBox(QStringLiteral("File ") + path + QStringLiteral(" is already open for editing by ") + holder);
}

// Save As may not write over a document that another computer edits, nor, while this
// window's own document is read-only, over any document whose lock this window does not hold.
bool DocumentWindow::targetLockedAgainstThisWindow(const QString& target)
{
    const auto holder = EditLockFile::holderOf(target);
    if (!holder || m_locks.holds(target))
        return false;
    return !isWritable() || !EditLockFile::namesComputer(*holder, computerName());
}

// ---------------------------------------------------------------------------------------
// Recent files

// While the file search window opens a file it hands over the file's name; at any other
// time its hand-off is empty and the dialog's title names the document.
void DocumentWindow::PISEFILEADRES()
{
    const FileSearchWindow* search = m_context.fileSearch;
    const QString handedOver = search && search->Visible() ? search->StatusToolTipText() : QString();
    recordRecent(handedOver.isEmpty() ? m_context.dialog.FileTitle : handedOver);
}

void DocumentWindow::recordRecent(const QString& title)
{
    const int k = m_recent.record(m_context.dialog.FileName, title);
    if (k > 0)
        if (QAction* entry = menu(QStringLiteral("file%1").arg(k)))
            entry->setText(m_recent.title(k));
    showRecentMenus();
}

void DocumentWindow::showRecentMenus()
{
    for (int k = 1; k <= 3; ++k)
        if (QAction* entry = menu(QStringLiteral("file%1").arg(k)); entry && !entry->text().isEmpty())
            entry->setVisible(true);
}

void DocumentWindow::file_Click(int slot)
{
    if (!networkFolderCheck())
        return;
    const QString path = m_recent.path(slot);
    if (!datafiles::FileExists(path)) {
        if (QAction* entry = menu(QStringLiteral("file%1").arg(slot))) {
            entry->setText(QString());
            entry->setVisible(false);
        }
        m_recent.forget(slot);
        return;
    }
    if (!mayDiscardChanges())
        return;
    openDocument({path, m_recent.title(slot), false, false});
}

// ---------------------------------------------------------------------------------------
// New and open

void DocumentWindow::cmdNew_Click()
{
    NEWLIST();
}

void DocumentWindow::NEWLIST()
{
    if (isChanged()) {
        switch (askSaveChanges()) {
        case Answer::Yes:
            saveForQuestion();
            return;
        case Answer::No:
            m_changeStatus = QStringLiteral("0");
            break;
        default:
            if (m_context.fileSearch && m_context.fileSearch->Visible())
                m_context.fileSearch->cancelOpen();
            return;
        }
    }
    const SettingUp settingUp(*this);
    m_list->ClearEntireList();
    m_incompleteFile.reset();
    DELETECURRENTUSERNAME();
    EnsureDefaultColumns();
    clearDocumentExtras();
    setUnsavedCaption();
    m_textBar->setText(QString());
}

void DocumentWindow::cmdOpen_Click()
{
    platform::CommonDialog& d = m_context.dialog;
    d.Flags = 0;
    if (!networkFolderCheck() || (m_kind.openRefusesNetworkUser && refuseNetworkUser()) || !mayDiscardChanges())
        return;
    const Identity before = identity();
    d.Filter = m_kind.fileFilter;
    d.CancelError = true;
    d.InitDir = dataFolder();
    if (!prompts().ShowOpen(d))
        return;
    const QString path = d.FileName;
    if (path.isEmpty() || !datafiles::FileExists(path)) {
        restore(before);
        return;
    }
    // Only the document the window shows, as it shows it, is open: after New or Save As the
    // file it was read from may be read again, and so may a document shown read-only, to get
    // its lock once another computer has let it go.
    if (path == before.fileName && !isUnsaved() && isWritable()) {
        prompts().MsgBox(QStringLiteral(" You already have open ") + path, ExclamationOk);
        restore(before);
        return;
    }
    if (openDocument({path, d.FileTitle, true, true}) == OpenOutcome::NotOpened)
        restore(before);
}

void DocumentWindow::openFoundFile(const QString& path)
{
    // Changes that NEWLIST's Yes could not save are not thrown away for another document.
    if (!networkFolderCheck() || isChanged())
        return;
    if (!datafiles::FileExists(path)) {
        prompts().MsgBox(QStringLiteral("The file \"%1\" could not be found.").arg(path),
                         platform::MsgStyle::Critical);
        return;
    }
    const FileSearchWindow* search = m_context.fileSearch;
    const QString handedOver = search && search->Visible() ? search->StatusToolTipText() : QString();
    (void)openDocument({path, handedOver.isEmpty() ? datafiles::GetFileNameOnly(path) : handedOver, false, true});
}

OpenOutcome DocumentWindow::showWrittenDocument(const QString& path)
{
    if (!mayDiscardChanges())
        return OpenOutcome::NotOpened;
    m_showingWritten = true;
    const OpenOutcome outcome = openDocument({path, datafiles::GetFileNameOnly(path), false, false});
    m_showingWritten = false;
    return outcome;
}

void DocumentWindow::showProgressFrame(bool opening)
{
    m_pleaseWaitCaption->setText(opening ? OpeningCaption : IdleCaption);
    m_progressBar->setMaximum(opening ? OpeningProgressMax : IdleProgressMax);
    m_progressBar->setValue(0);
    m_pleaseWait->setVisible(opening);
    if (opening)
        m_pleaseWait->raise();
}

OpenOutcome DocumentWindow::openDocument(const OpenRequest& request)
{
    const SettingUp settingUp(*this);
    const QString& path = request.path;
    bool readOnly = networkUserOpensReadOnly();
    m_list->hide();
    showProgressFrame(true);
    // Taken before the read: a write that comes between the two then shows as a change.
    const auto stamp = services::FileStamp::of(path);
    if (const platform::FileResult read = m_list->OpenFile(path); !read) {
        // The document shown stays, and with it whether it holds unsaved changes.
        const QString changed = m_changeStatus;
        finishOpening();
        m_changeStatus = changed;
        prompts().MsgBox(read.error, platform::MsgStyle::Critical);
        return OpenOutcome::NotOpened;
    }
    if (!loadCompanionFiles(path))
        readOnly = true;
    m_context.dialog.FileName = path;
    m_diskStamp = stamp;
    fileMatchesDocument(path, stamp);
    if (request.setsCurrentFileName)
        m_currentFileName = path;

    const auto holder = EditLockFile::holderOf(path);
    const QString computer = computerName();
    if (holder && !EditLockFile::namesComputer(*holder, computer)) {
        showForeignLock(path, *holder);
        readOnly = true;
    }
    const bool fileReadOnly = services::isReadOnlyFile(path);
    if (!readOnly && !fileReadOnly) {
        if (holder) {
            m_locks.adopt(path);
        } else if (!store().OptionSingleMachine.value()) {
            const auto taken = m_locks.take(path, computer);
            if (taken.status == services::HeldLocks::Take::Status::Foreign) {
                showForeignLock(path, taken.holder); // another computer took it a moment ago
                readOnly = true;
            }
        }
    }
    // Only now is the document left behind: its locks go, unless it is the one reopened.
    m_locks.release(computer, readOnly || fileReadOnly ? QString() : path);
    m_context.dialog.Flags = readOnly ? ReadOnlyFlags : 0;
    if (request.recordsRecent)
        recordRecent(request.title);
    m_list->SelectItem(1, 1);
    if (!readOnly) {
        setWindowTitle(m_kind.captionWord + QStringLiteral(" [ ") + trimmedRight(request.title) + QStringLiteral(" ]"));
        enableColumnEditing();
    } else {
        setWindowTitle(m_kind.readOnlyWord + QStringLiteral(" [") + request.title + QStringLiteral(" ]"));
        setWritable(false);
    }
    if (fileReadOnly)
        setWritable(false);
    finishOpening();
    noteCutFile(path);
    afterDocumentOpened();
    return readOnly || fileReadOnly ? OpenOutcome::OpenedReadOnly : OpenOutcome::Opened;
}

void DocumentWindow::noteCutFile(const QString& path)
{
    m_incompleteFile.reset();
    if (const std::optional<grid::ListFileCut>& cut = m_list->openedCut()) {
        m_incompleteFile = IncompleteFile{path, *cut};
        prompts().MsgBox(m_incompleteFile->notice(), ExclamationOk, windowTitle());
    }
}

bool DocumentWindow::mayWriteOver(const QString& path)
{
    if (!m_incompleteFile || m_incompleteFile->path != path)
        return true;
    return prompts().MsgBox(m_incompleteFile->overwriteQuestion(), platform::MsgStyle::YesNoQuestionNo, windowTitle())
           == Answer::Yes;
}

void DocumentWindow::wroteWholeFile(const QString& path)
{
    if (m_incompleteFile && m_incompleteFile->path == path)
        m_incompleteFile.reset();
}

void DocumentWindow::enableColumnEditing()
{
    for (int i = 1; i <= m_list->ColumnCount(); ++i) {
        m_progressBar->setValue(i);
        m_progressBar->repaint();
        m_list->EnableEdit(i);
    }
    m_textBar->setEnabled(true);
    setWritable(true);
    for (const QString& name : m_kind.editingMenus)
        if (QAction* entry = menu(name))
            entry->setEnabled(true);
}

void DocumentWindow::finishOpening()
{
    m_list->show();
    showProgressFrame(false);
    m_changeStatus = QStringLiteral("0");
}

// ---------------------------------------------------------------------------------------
// Save and Save As

bool DocumentWindow::cmdSave_Click()
{
    if (!networkFolderCheck() || refuseNetworkUser())
        return false;
    const platform::CommonDialog& d = m_context.dialog;
    if (isUnsaved() || d.FileTitle.isEmpty())
        return saveas_Click();
    if (services::isReadOnlyFile(d.FileName)) {
        prompts().MsgBox(d.FileName + QStringLiteral(" file is read-only. To save read-only file, change the file name. "),
                         platform::MsgStyle::Critical);
        return saveas_Click();
    }
    if (!writeDocument(d.FileName, true))
        return false;
    m_changeStatus = QStringLiteral("0");
    return true;
}

QString DocumentWindow::changedOnDiskQuestion(const QString& path) const
{
    return path
        + QStringLiteral(" was changed on disk after this window read it: a posting or another computer has written "
                         "it. Yes writes this list over it, and what was written there is lost. No reads the file "
                         "again, and the changes made here are lost. Cancel saves nothing.");
}

// The file is written over only while it is the one this window read or last wrote, or
// while there is none. Someone else may have written it meanwhile: a posting that changed a
// balance in it, or another computer on the shared folder. Then the kind decides, and where
// it asks, the user: this window's list goes over it, the file is read again, or nothing
// happens. The question is asked with nothing held, and the file is looked at again after
// it: a Yes holds for the file as it was when asked.
bool DocumentWindow::writeDocument(const QString& path, bool ownFile)
{
    if (!mayWriteOver(path))
        return false;
    std::optional<services::FileStamp> agreed;
    for (;;) {
        std::unique_ptr<WriteHold> hold = holdForWriting();
        if (!hold)
            return false;
        const auto now = services::FileStamp::of(path);
        if (ownFile && now && now != m_diskStamp) {
            const ChangedFileAnswer answer = changedOnDisk(path, now == agreed);
            if (!answer.writeNow) {
                hold.reset();
                switch (prompts().MsgBox(answer.question, platform::MsgStyle::YesNoCancelQuestionCancel,
                                         windowTitle())) {
                case Answer::Yes:
                    agreed = now;
                    continue;
                case Answer::No:
                    readAgain(path);
                    return false;
                default:
                    return false;
                }
            }
        }
        if (const platform::FileResult written = m_list->SaveFile(path, true); !written) {
            prompts().MsgBox(written.error, platform::MsgStyle::Critical);
            return false;
        }
        m_diskStamp = services::FileStamp::of(path);
        fileMatchesDocument(path, m_diskStamp);
        wroteWholeFile(path);
        return true;
    }
}

// The document as the file now holds it, in place of the grid's; a file that cannot be
// read leaves the grid and its changes as they were.
void DocumentWindow::readAgain(const QString& path)
{
    const SettingUp settingUp(*this);
    const auto stamp = services::FileStamp::of(path);
    m_list->hide();
    showProgressFrame(true);
    if (const platform::FileResult read = m_list->OpenFile(path); !read) {
        m_list->show();
        showProgressFrame(false);
        prompts().MsgBox(read.error, platform::MsgStyle::Critical);
        return;
    }
    m_diskStamp = stamp;
    fileMatchesDocument(path, stamp);
    m_list->SelectItem(1, 1);
    enableColumnEditing();
    finishOpening();
    noteCutFile(path);
}

std::optional<DocumentWindow::SaveAsChoice> DocumentWindow::chooseSaveAsPath(const QString& proposal)
{
    platform::CommonDialog& d = m_context.dialog;
    const Identity before = identity();
    if (!proposal.isEmpty())
        d.FileName = proposal;
    d.Filter = m_kind.fileFilter;
    d.CancelError = true;
    const QString folder = dataFolder();
    d.InitDir = folder;
    if (!m_kind.saveDialogTitle.isEmpty())
        d.DialogTitle = m_kind.saveDialogTitle;
    if (!prompts().ShowSave(d)) {
        restore(before);
        return std::nullopt;
    }
    if (!datafiles::FolderExists(folder))
        QDir().mkdir(folder);
    SaveAsChoice choice{d.FileName, d.FileTitle};
    if (folder + d.FileTitle != choice.path) {
        switch (prompts().MsgBox(m_kind.designedDirectoryQuestion[size_t(modeIndex(store().networkMode()))],
                                 YesNoCancelQuestion, QStringLiteral("Attention!"))) {
        case Answer::Yes:
            choice.path = folder + d.FileTitle;
            break;
        case Answer::No:
            break;
        default:
            restore(before);
            return std::nullopt;
        }
    }
    if (choice.path.right(4) != m_kind.extension) {
        choice.path += m_kind.extension;
        choice.title += m_kind.extension;
    }
    return choice;
}

bool DocumentWindow::saveas_Click()
{
    if (!networkFolderCheck() || refuseNetworkUser())
        return false;
    platform::CommonDialog& d = m_context.dialog;
    const Identity before = identity();
    const std::optional<SaveAsChoice> choice = chooseSaveAsPath(isUnsaved() ? proposedFileName() : QString());
    if (!choice)
        return false;
    const QString& target = choice->path;
    const QString caption = m_kind.captionWord + QStringLiteral(" [") + choice->title + QLatin1Char(']');
    if (targetLockedAgainstThisWindow(target)) {
        prompts().MsgBox(target + QStringLiteral(" is already open for editing. "), platform::MsgStyle::Critical);
        restore(before);
        return false;
    }
    if (datafiles::FileExists(target)) {
        if (prompts().MsgBox(QStringLiteral("Item Group ") + target + QStringLiteral(" already exist. Replace file?"),
                             platform::MsgStyle::YesNo)
            != Answer::Yes) {
            restore(before);
            return false;
        }
        if (services::isReadOnlyFile(target)) {
            prompts().MsgBox(target + QStringLiteral(" is read-only. To save read-only file, change file name and save as different file."),
                             platform::MsgStyle::Critical);
            restore(before);
            return false;
        }
    }
    // Onto the document's own file, what someone else wrote there since is not lost unasked.
    const bool ownFile = !isUnsaved() && target == before.fileName;
    if (!writeDocument(target, ownFile)) {
        restore(before);
        return false;
    }
    d.FileName = target;
    setWindowTitle(caption);
    setWritable(true);
    PISEFILEADRES();
    m_changeStatus = QStringLiteral("0");
    const QString computer = computerName();
    if (m_kind.locksOnSaveAs && !store().OptionSingleMachine.value())
        (void)m_locks.take(target, computer); // a lock another computer took meanwhile stays its own
    m_locks.release(computer, target);
    return true;
}

} // namespace windows
