#include "grid/documents/excelsession.h"

#include "platform/spreadsheet.h"

#include <QDateTime>

namespace grid {

ExcelSession::ExcelSession() : m_excel(platform::newSpreadsheet()) {}

ExcelSession::ExcelSession(std::unique_ptr<platform::Spreadsheet> instance) : m_excel(std::move(instance)) {}

ExcelSession::~ExcelSession()
{
    QuitExcel();
}

bool ExcelSession::StartHiddenExcel()
{
    m_running = m_excel->start();
    if (!m_running)
        return false;
    m_excel->setDisplayAlerts(false);
    return m_excel->setVisible(false);
}

bool ExcelSession::addWorkbook()
{
    return m_excel->addWorkbook();
}

bool ExcelSession::openWorkbook(const QString& path, bool readOnly)
{
    return m_excel->openWorkbook(path, readOnly);
}

bool ExcelSession::WriteCell(const QString& address, const QString& text)
{
    return m_excel->writeCell(address, text);
}

bool ExcelSession::writeRow(int row, int firstColumn, std::span<const QString> texts)
{
    return m_excel->writeRow(row, firstColumn, texts);
}

QString ExcelSession::readCell(const QString& address, bool* ok)
{
    QString text = m_excel->readCell(address);
    *ok = m_excel->lastError().isEmpty();
    return text;
}

std::optional<std::vector<int>> ExcelSession::filledColumns(int firstColumn, int lastRow)
{
    std::vector<int> columns = m_excel->filledColumns(firstColumn, lastRow);
    if (!m_excel->lastError().isEmpty())
        return std::nullopt;
    return columns;
}

bool ExcelSession::writeNumber(const QString& address, double value)
{
    return m_excel->writeNumber(address, value);
}

bool ExcelSession::writeDate(const QString& address, const QDateTime& value)
{
    return m_excel->writeDate(address, value);
}

bool ExcelSession::printOut(int copies, bool collate)
{
    return m_excel->printActiveSheet(copies, collate);
}

bool ExcelSession::handOver()
{
    m_excel->setDisplayAlerts(true);
    const bool shown = m_excel->show();
    // A shown workbook belongs to the user; one that could not be shown is quit.
    if (shown)
        m_running = false;
    return shown;
}

void ExcelSession::QuitExcel()
{
    if (!m_running)
        return;
    m_running = false;
    m_excel->setDisplayAlerts(false);
    m_excel->quit();
}

QString ExcelSession::lastError() const
{
    return m_excel->lastError();
}

} // namespace grid
