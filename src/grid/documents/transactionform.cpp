#include "grid/documents/transactionform.h"

#include "grid/documents/excelsession.h"
#include "grid/documents/excelsteps.h"
#include "grid/documents/progressdisplay.h"
#include "grid/documents/transactionformsettings.h"
#include "grid/documents/transactionformsource.h"
#include "grid/gridcore.h"
#include "platform/programfolder.h"
#include "platform/prompts.h"
#include "platform/sound.h"

#include <QFileInfo>
#include <utility>
#include <vector>

namespace grid {

using namespace ExcelSteps;

namespace {

const QString formBelowDataRoot = QStringLiteral("Template/Transaction/Transaction Form.xls");

// The line items start in sheet row 20 and column B: grid row r, column k goes to sheet row
// r + 19, column k + 1. Row 19 holds the captions.
constexpr int firstItemRow = 20;
constexpr int captionRow = firstItemRow - 1;

bool fileExists(const QString& path)
{
    return !path.isEmpty() && QFileInfo(path).isFile();
}

QString withSlash(const QString& folder)
{
    return folder.endsWith(QLatin1Char('/')) ? folder : folder + QLatin1Char('/');
}

// Empties the copies text however the command ends, so that a later form command shows the
// form instead of printing it.
class CopiesTextReset {
public:
    explicit CopiesTextReset(TransactionFormSource& source) : m_source(source) {}
    ~CopiesTextReset() { m_source.setCopiesText(QString()); }
    CopiesTextReset(const CopiesTextReset&) = delete;
    CopiesTextReset& operator=(const CopiesTextReset&) = delete;

private:
    TransactionFormSource& m_source;
};

// Shows the progress frame for the length of a scope.
class PleaseWaitShown {
public:
    explicit PleaseWaitShown(TransactionFormSource& source) : m_source(source) { m_source.setPleaseWaitVisible(true); }
    ~PleaseWaitShown() { m_source.setPleaseWaitVisible(false); }
    PleaseWaitShown(const PleaseWaitShown&) = delete;
    PleaseWaitShown& operator=(const PleaseWaitShown&) = delete;

private:
    TransactionFormSource& m_source;
};

} // namespace

TransactionForm::TransactionForm(GridCore& grid, ExchangeHost& host, TransactionFormSettings& settings,
                                 TransactionFormSource& transaction)
    : m_grid(grid), m_host(host), m_settings(settings), m_transaction(transaction)
{
}

bool TransactionForm::exporttotransactionform()
{
    CopiesTextReset copiesTextReset(m_transaction);
    const QString sound = platform::programFolder() + QStringLiteral("/System/Sound/2.wav");
    if (fileExists(sound))
        platform::playSound(sound);
    if (!CheckExcelStatus(m_host))
        return false;
    const std::optional<QString> form = findTemplate(m_settings);
    if (!form) {
        askForTemplate();
        return false;
    }
    const QString copiesText = m_transaction.copiesText();
    const QString notFilled = copiesText.isEmpty() ? QStringLiteral("The transaction form was not filled.")
                                                   : QStringLiteral("Nothing was printed.");

    ExcelSession excel;
    if (!excel.StartHiddenExcel()) {
        reportFailure(QStringLiteral("Quorvane could not start the spreadsheet program. ") + notFilled, excel.lastError());
        return false;
    }
    if (!excel.openWorkbook(*form, true)) {
        reportFailure(QStringLiteral("Quorvane could not open the transaction form\n%1\n").arg(*form) + notFilled,
                      excel.lastError());
        return false;
    }
    if (!fillHeader(excel) || !fillRows(excel)) {
        reportFailure(QStringLiteral("Quorvane could not fill the transaction form\n%1\n").arg(*form) + notFilled,
                      excel.lastError());
        return false;
    }
    return copiesText.isEmpty() ? showToUser(excel) : printCopies(excel, copiesText);
}

bool TransactionForm::showToUser(ExcelSession& excel)
{
    if (excel.handOver())
        return true;
    reportFailure(QStringLiteral("Quorvane could not show the transaction form in the spreadsheet program."),
                  excel.lastError());
    return false;
}

bool TransactionForm::printCopies(ExcelSession& excel, const QString& copiesText)
{
    const std::optional<int> copies = copiesFrom(copiesText);
    if (!copies)
        return false; // fewer than one copy asks for nothing to be printed
    if (excel.printOut(*copies, false))
        return true;
    reportFailure(QStringLiteral("Quorvane could not print the transaction form. Nothing was printed."),
                  excel.lastError());
    return false;
}

std::optional<QString> TransactionForm::findTemplate(const TransactionFormSettings& settings)
{
    // A chosen form decides alone: one that has gone missing is reported rather than
    // silently replaced by the default.
    const QString chosen = settings.TransactionFormPath();
    if (!chosen.isEmpty())
        return fileExists(chosen) ? std::optional<QString>(chosen) : std::nullopt;
    // A host folder that is not known gives no candidate rather than one relative to
    // wherever the program happens to run.
    std::optional<QString> path;
    const auto tryDefault = [&](const QString& folder, const QString& dataRoot) {
        const QString candidate = withSlash(folder) + dataRoot + formBelowDataRoot;
        if (!folder.isEmpty() && fileExists(candidate))
            path = candidate;
    };
    if (settings.OptionSingleMachine())
        tryDefault(platform::programFolder(), QStringLiteral("System/RAzar/"));
    if (settings.OptionHost())
        tryDefault(settings.MyHostSystem(), QStringLiteral("QVNET/RAzar/"));
    if (settings.OptionUser())
        tryDefault(settings.lblConnectedtohostsystem(), QStringLiteral("QVNET/RAzar/"));
    return path;
}

QString TransactionForm::GetFileNameOnly(const QString& path)
{
    const qsizetype cut = std::max(path.lastIndexOf(QLatin1Char('/')), path.lastIndexOf(QLatin1Char('\\')));
    return path.mid(cut + 1);
}

void TransactionForm::askForTemplate()
{
    platform::prompts().MsgBox(QStringLiteral("Please select the Transaction Form"), platform::MsgStyle::Critical,
                               QStringLiteral("Velkorn      Excel Form File Missing"));
    m_settings.showSettingsWindowAgain();
    m_settings.setSettingsTab(3);
    m_settings.pressTransaction();
}

bool TransactionForm::fillHeader(ExcelSession& excel)
{
    const TransactionFormSettings& s = m_settings;
    const TransactionFormSource& t = m_transaction;
    std::vector<std::pair<QString, QString>> cells = {
        {QStringLiteral("B1"), s.CompanyName()},  {QStringLiteral("B2"), s.CompanyAddress()},
        {QStringLiteral("B3"), s.CompanyCity()},  {QStringLiteral("B4"), s.CompanyZip()},
        {QStringLiteral("B5"), s.CompanyEMail()}, {QStringLiteral("B6"), s.CompanyFax()},
        {QStringLiteral("B7"), s.CompanyPhone()}, {QStringLiteral("B11"), t.TransactionNumber()},
        {QStringLiteral("E11"), t.DateandTime()}, {QStringLiteral("I11"), t.Value()},
    };
    // A party is the own company (its name alone) or a contact company (its file's name,
    // and the contact below it).
    const auto party = [&](const char* column, bool own, const QString& ownName, const QString& companyFile,
                           const QString& contact) {
        const QString letter = QLatin1String(column);
        if (own) {
            cells.emplace_back(letter + QStringLiteral("14"), ownName);
            return;
        }
        cells.emplace_back(letter + QStringLiteral("14"), GetFileNameOnly(companyFile));
        cells.emplace_back(letter + QStringLiteral("15"), contact);
    };
    party("D", t.FromMyCompanyChecked(), t.FromMyCompany(), t.fromcompany(), t.fromcontact());
    party("J", t.ToMyCompanyChecked(), t.ToMyCompany(), t.tocompany(), t.tocontact());
    // The captions of columns 5 to 32; the first four are the form's own.
    for (int k = 5; k <= GridCore::MaxColumns; ++k)
        cells.emplace_back(cellAddress(k + 1, captionRow), m_grid.GetColumnHeader(k));

    for (const auto& [address, text] : cells)
        if (!excel.WriteCell(address, text))
            return false;
    return true;
}

bool TransactionForm::fillRows(ExcelSession& excel)
{
    ProgressDisplay* bar = m_transaction.ProgressBar1();
    if (bar)
        bar->setMax(float(m_grid.ListCount()));
    PleaseWaitShown pleaseWait(m_transaction);
    return writeRowsWithText(excel, m_grid, bar, captionRow, 1);
}

} // namespace grid
