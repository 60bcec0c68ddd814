// DocumentWindow's spreadsheet commands (the import of a workbook's rows, the export of the
// list into a new workbook, the print of the entire list), what its form commands hand to the
// form service and show of its result, and its two file search buttons (the drive search and
// the listing of the kind's data folder, docked beside the window).

#include "windows/document/documentwindow.h"

#include "datafiles/datafoldertree.h"
#include "datafiles/fileprocedures.h"
#include "grid/documents/documentlist.h"
#include "grid/documents/progressdisplay.h"
#include "platform/prompts.h"
#include "platform/sound.h"
#include "platform/systeminfo.h"
#include "platform/twips.h"
#include "platform/vb.h"
#include "services/formresult.h"
#include "services/formservice.h"
#include "services/formtemplatepicker.h"
#include "windows/document/importwarning.h"

#include <QFrame>
#include <QLabel>
#include <QPointer>
#include <QStandardPaths>

namespace windows {

using platform::Answer;

namespace {

const QString ExcelFailed = QStringLiteral("Quorvane failed to initialize Microsoft Excel");
const QString ExcelErrorTitle = QStringLiteral("Velkorn      Excel Error");
const QString ImportingCaption = QStringLiteral("Quorvane is importing data from file:");
const QString ImportFilter = QStringLiteral(
    "All data, excel,text files(*.xl;*.xls;*.xlt;*.xla;*.xls;*.htm;*.html;*.prn;*.txt;)"
    "|*.xl;*.xls;*.xlt;*.xla;*.htm;*.html;*.prn;*.txt|");
constexpr double MostRowsImported = 50000;

int toPixels(int twips)
{
    return qRound(twips / double(platform::TwipsPerPixelX));
}

} // namespace

// ---------------------------------------------------------------------------------------
// The opening steps

void DocumentWindow::playSpreadsheetSound()
{
    const QString sound = datafiles::soundFilePath();
    if (!datafiles::FileExists(sound))
        return;
    if (m_context.playSound)
        m_context.playSound(sound);
    else
        platform::playSound(sound);
}

bool DocumentWindow::spreadsheetUsable()
{
    if (store().lblEXCELSTATUS.value() != QLatin1String("NERADI"))
        return true;
    prompts().MsgBox(ExcelFailed, platform::MsgStyle::Critical, ExcelErrorTitle);
    return false;
}

bool DocumentWindow::beginSpreadsheetCommand()
{
    playSpreadsheetSound();
    return spreadsheetUsable();
}

void DocumentWindow::showSpreadsheetProgress(bool shown)
{
    if (shown) {
        m_progressDisplay->setMax(float(m_list->ListCount() + 1));
        m_progressDisplay->setValue(1);
        m_pleaseWait->show();
        m_pleaseWait->raise();
    } else {
        m_pleaseWait->hide();
    }
}

// ---------------------------------------------------------------------------------------
// The form commands' service

services::FormServiceInputs DocumentWindow::formInputs()
{
    services::SoundPlayer play = m_context.playSound;
    if (!play)
        play = platform::playSound;
    return {.store = store(),
            .prompts = prompts(),
            .playSound = std::move(play),
            .pleaseWait = [this](bool shown) {
                m_pleaseWait->setVisible(shown);
                if (shown)
                    m_pleaseWait->raise();
            }};
}

void DocumentWindow::showFormResult(const services::FormResult& result)
{
    if (services::FormTemplatePicker* picker = m_context.formTemplatePicker)
        services::showFormResult(result, prompts(), *picker);
    else if (result.message)
        result.message->show(prompts());
}

// ---------------------------------------------------------------------------------------
// Import, export and the print of the entire list

// The workbook is chosen in a dialog of the import's own, so the document's path, title and
// the Open dialog's settings stay as they were: the next Save writes the document, never the
// workbook.
void DocumentWindow::importfromexcel_Click()
{
    if (!m_kind.importRefusal.isEmpty() && isNetworkUser()) {
        prompts().MsgBox(m_kind.importRefusal, platform::MsgStyle::Critical);
        return;
    }
    if (!spreadsheetUsable() || !mayDiscardChanges())
        return;
    playSpreadsheetSound();
    platform::CommonDialog& d = m_importDialog;
    d.DialogTitle = QStringLiteral("Select Data Source:");
    d.Filter = ImportFilter;
    d.CancelError = true;
    d.InitDir = QStandardPaths::writableLocation(QStandardPaths::DocumentsLocation);
    if (!prompts().ShowOpen(d) || d.FileName.isEmpty() || !datafiles::FileExists(d.FileName))
        return;
    const QString typed = prompts().InputBox(QStringLiteral("Enter the record (row) number to import:"));
    const std::optional<double> rows = platform::vb::CDbl(typed);
    if (!rows || *rows < 1)
        return;
    if (*rows > MostRowsImported) {
        prompts().MsgBox(QStringLiteral("Quorvane for Excel can't exceed Microsoft Excel row limitation!"),
                         platform::MsgStyle::Critical);
        return;
    }
    if (*rows >= ImportWarning::FirstRowsAsked) {
        const ImportWarning warning = ImportWarning::forRows(typed, *rows, platform::processorSpeedMHz());
        if (prompts().MsgBox(warning.text, warning.style, warning.title) != Answer::Yes)
            return;
    }
    m_pleaseWaitCaption->setText(ImportingCaption);
    showSpreadsheetProgress(true);
    m_list->hide();
    const bool imported = m_list->importexcel(d.FileName, int(platform::vb::RoundHalfEven(*rows)));
    m_list->show();
    // A workbook that could not be read (the grid has said why) leaves the document and its
    // undo history as they were.
    if (imported) {
        m_list->SelectItem(1, 1);
        markChanged();
    }
    showSpreadsheetProgress(false);
    m_pleaseWaitCaption->setText(IdleCaption);
    if (imported)
        m_list->ClearUndoRedo();
}

void DocumentWindow::exporttoexcel_Click()
{
    if (!beginSpreadsheetCommand())
        return;
    showSpreadsheetProgress(true);
    (void)m_list->exporttoexcel(); // the grid tells the user what failed
    showSpreadsheetProgress(false);
}

void DocumentWindow::printentirelist_Click()
{
    if (!beginSpreadsheetCommand())
        return;
    store().PrintExcelFile = QStringLiteral("Yes");
    exporttoexcel_Click();
    // The export puts the request back itself; where it never ran the request must not stay
    // for the next export.
    store().PrintExcelFile = QStringLiteral("No");
}

void DocumentWindow::cmdPrintOptions_Click()
{
    printentirelist_Click();
}

// ---------------------------------------------------------------------------------------
// The file search window

void DocumentWindow::cmdFindFiles_Click()
{
    store().ActiveList = m_kind.formName;
    if (m_context.fileSearch)
        m_context.fileSearch->showDriveSearch();
}

void DocumentWindow::cmdList_Click()
{
    if (!networkFolderCheck())
        return;
    if (!m_kind.listingRefusal.isEmpty() && isNetworkUser()) {
        prompts().MsgBox(m_kind.listingRefusal, platform::MsgStyle::Critical);
        return;
    }
    store().ActiveList = m_kind.formName;
    if (!m_context.fileSearch)
        return;
    QPointer<DocumentWindow> self(this);
    m_context.fileSearch->showListing(dataFolder(), [self] {
        if (self)
            self->dockBesideFileSearch();
    });
}

// The search window takes this window's top and height as they are, maximised or not; this
// window then stands normal to its right.
void DocumentWindow::dockBesideFileSearch()
{
    const int top = y() * platform::TwipsPerPixelY;
    const int height = this->height() * platform::TwipsPerPixelY;
    const int searchWidth = m_context.fileSearch->dockLeft(top, height);
    setWindowState(windowState() & ~(Qt::WindowMaximized | Qt::WindowMinimized));
    move(toPixels(searchWidth), y());
}

} // namespace windows
