#include "grid/documents/excelsteps.h"

#include "grid/documents/excelsession.h"
#include "grid/documents/exchangehost.h"
#include "grid/documents/progressdisplay.h"
#include "grid/gridcore.h"
#include "platform/prompts.h"
#include "platform/spreadsheet.h"
#include "platform/vb.h"

#include <array>

namespace grid::ExcelSteps {

bool CheckExcelStatus(const ExchangeHost& host)
{
    if (host.lblEXCELSTATUS() != QLatin1String("NERADI"))
        return true;
    platform::prompts().MsgBox(QStringLiteral("Quorvane failed to initialize Microsoft Excel"),
                               platform::MsgStyle::Critical, ExcelErrorTitle);
    return false;
}

QString cellAddress(int column, int row)
{
    return platform::columnLetters(column) + QString::number(row);
}

std::optional<QString> AskCopiesToPrint()
{
    const QString answer = platform::prompts().InputBox(QStringLiteral("Enter number of copies to print:"));
    if (answer.isEmpty())
        return std::nullopt;
    const std::optional<double> number = platform::vb::CDbl(answer);
    if (!number) {
        platform::prompts().MsgBox(QStringLiteral("YOU CAN ENTER ONLY NUMBERS!"));
        return std::nullopt;
    }
    if (*number < 1)
        return std::nullopt;
    if (*number > 100) {
        platform::prompts().MsgBox(QStringLiteral("Up to 100 pages!"));
        return std::nullopt;
    }
    return answer;
}

std::optional<int> copiesFrom(const QString& copiesText)
{
    const std::optional<int32_t> copies = platform::vb::CLng(copiesText);
    if (!copies || *copies < 1)
        return std::nullopt;
    return *copies;
}

namespace {

// Whether the row holds text in one of the columns 1 to ColumnCount.
bool rowHasText(const GridCore& grid, int row)
{
    const GridRow& cells = grid.row(row);
    for (int c = 1; c <= grid.ColumnCount(); ++c)
        if (!cells.text(c).isEmpty())
            return true;
    return false;
}

} // namespace

bool writeRowsWithText(ExcelSession& excel, const GridCore& grid, ProgressDisplay* bar, int rowOffset,
                       int columnOffset)
{
    for (int r = 1; r <= grid.ListCount(); ++r) {
        if (!rowHasText(grid, r))
            continue;
        if (bar)
            bar->setValue(float(r));
        const GridRow& row = grid.row(r);
        std::array<QString, GridCore::MaxColumns> texts;
        for (int k = 1; k <= GridCore::MaxColumns; ++k)
            texts[std::size_t(k - 1)] = row.text(k);
        if (!excel.writeRow(r + rowOffset, 1 + columnOffset, texts))
            return false;
    }
    return true;
}

ProgressDisplay* activeProgressBar(ExchangeHost& host)
{
    const QString active = host.ActiveList();
    for (const QString* form : {&GridHost::Items, &GridHost::Contacts, &GridHost::Transactions})
        if (active == *form)
            return host.ProgressBar1(active);
    return nullptr;
}

void reportFailure(const QString& what, const QString& reason)
{
    QString text = what;
    if (!reason.isEmpty())
        text += QStringLiteral("\n\n") + reason;
    platform::prompts().MsgBox(text, platform::MsgStyle::Critical, ExcelErrorTitle);
}

} // namespace grid::ExcelSteps
