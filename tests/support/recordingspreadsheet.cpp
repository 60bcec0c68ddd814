#include "support/recordingspreadsheet.h"

#include <QFileInfo>

#include <set>

namespace testsupport {

bool SpreadsheetLog::wasWritten(const QString& address) const
{
    for (const auto& [cell, text] : writes)
        if (cell == address)
            return true;
    return false;
}

QString SpreadsheetLog::written(const QString& address) const
{
    QString last;
    for (const auto& [cell, text] : writes)
        if (cell == address)
            last = text;
    return last;
}

bool RecordingSpreadsheet::succeed()
{
    error_.clear();
    return true;
}

bool RecordingSpreadsheet::fail(const QString& why)
{
    log_.calls << QStringLiteral("failed");
    error_ = why;
    return false;
}

bool RecordingSpreadsheet::needWorkbook()
{
    if (started_ && hasWorkbook_)
        return true;
    error_ = QStringLiteral("No workbook is open.");
    return false;
}

bool RecordingSpreadsheet::start()
{
    log_.calls << QStringLiteral("start");
    if (log_.failStart)
        return fail(QStringLiteral("The recording spreadsheet was told not to start."));
    if (!started_)
        ++log_.running;
    started_ = true;
    return succeed();
}

void RecordingSpreadsheet::setDisplayAlerts(bool on)
{
    log_.calls << (on ? QStringLiteral("alerts on") : QStringLiteral("alerts off"));
    alerts_ = on;
}

bool RecordingSpreadsheet::setVisible(bool visible)
{
    if (visible)
        return show();
    log_.calls << QStringLiteral("visible off");
    return succeed();
}

bool RecordingSpreadsheet::addWorkbook()
{
    log_.calls << QStringLiteral("add workbook");
    if (!started_ || log_.failAddWorkbook)
        return fail(QStringLiteral("No new workbook."));
    hasWorkbook_ = true;
    cells_.clear();
    return succeed();
}

bool RecordingSpreadsheet::openWorkbook(const QString& path, bool readOnly)
{
    log_.calls << QStringLiteral("open %1%2").arg(path, readOnly ? QStringLiteral(" read-only") : QString());
    const bool known = log_.workbooks.contains(path) || QFileInfo(path).isFile();
    if (!started_ || log_.failOpen || !known)
        return fail(QStringLiteral("The workbook %1 could not be opened.").arg(path));
    hasWorkbook_ = true;
    cells_ = log_.workbooks.value(path);
    return succeed();
}

bool RecordingSpreadsheet::writeCell(const QString& address, const QString& text)
{
    int column = 0;
    int row = 0;
    if (!needWorkbook() || !platform::parseCellAddress(address, column, row))
        return false;
    if (log_.writesBeforeFailure == 0)
        return fail(QStringLiteral("The cell %1 could not be written.").arg(address));
    if (log_.writesBeforeFailure > 0)
        --log_.writesBeforeFailure;
    log_.writes.emplace_back(address, text);
    if (text.isEmpty())
        cells_.remove(address);
    else
        cells_.insert(address, text);
    return succeed();
}

bool RecordingSpreadsheet::writeNumber(const QString& address, double value)
{
    return writeCell(address, QString::number(value));
}

bool RecordingSpreadsheet::writeDate(const QString& address, const QDateTime& value)
{
    return writeCell(address, value.toString(Qt::ISODate));
}

QString RecordingSpreadsheet::readCell(const QString& address)
{
    ++log_.reads;
    if (!needWorkbook())
        return QString();
    if (log_.readsBeforeFailure == 0) {
        error_ = QStringLiteral("The cell %1 could not be read.").arg(address);
        return QString();
    }
    if (log_.readsBeforeFailure > 0)
        --log_.readsBeforeFailure;
    succeed();
    return cells_.value(address);
}

std::vector<int> RecordingSpreadsheet::filledColumns(int firstColumn, int lastRow)
{
    if (!needWorkbook())
        return {};
    if (log_.failFilledColumns) {
        error_ = QStringLiteral("The columns of the sheet could not be read.");
        return {};
    }
    std::set<int> filled;
    for (auto cell = cells_.cbegin(); cell != cells_.cend(); ++cell) {
        int column = 0;
        int row = 0;
        if (platform::parseCellAddress(cell.key(), column, row) && column >= firstColumn && row <= lastRow
            && !cell.value().isEmpty())
            filled.insert(column);
    }
    succeed();
    return {filled.begin(), filled.end()};
}

bool RecordingSpreadsheet::printActiveSheet(int copies, bool collate)
{
    log_.calls << QStringLiteral("print %1%2").arg(copies).arg(collate ? QStringLiteral(" collated") : QString());
    if (!needWorkbook() || log_.failPrint || copies < 1)
        return fail(QStringLiteral("Nothing was printed."));
    log_.printedCells = cells_;
    return succeed();
}

bool RecordingSpreadsheet::show()
{
    log_.calls << QStringLiteral("show");
    if (!needWorkbook() || log_.failShow) {
        fail(QStringLiteral("The workbook could not be shown."));
        quit();
        return false;
    }
    log_.shownCells = cells_;
    log_.alertsOnWhenShown = alerts_;
    // The shown workbook is the user's; the hidden instance ends.
    started_ = false;
    hasWorkbook_ = false;
    --log_.running;
    return succeed();
}

void RecordingSpreadsheet::quit()
{
    log_.calls << QStringLiteral("quit");
    if (started_)
        --log_.running;
    started_ = false;
    hasWorkbook_ = false;
    cells_.clear();
}

ScopedRecordingSpreadsheet::ScopedRecordingSpreadsheet()
{
    platform::setSpreadsheetFactory([this] { return std::make_unique<RecordingSpreadsheet>(log_); });
}

ScopedRecordingSpreadsheet::~ScopedRecordingSpreadsheet()
{
    platform::setSpreadsheetFactory({});
}

} // namespace testsupport
