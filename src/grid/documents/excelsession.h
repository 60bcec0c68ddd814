#pragma once
// One spreadsheet program instance for the length of one command: started hidden, filled or
// read, then handed to the user, printed or quit. Whatever happens, an instance that was not
// handed over is quit when the session ends (the program behind it may stay running for the
// next command).

#include <QString>
#include <memory>
#include <optional>
#include <span>
#include <vector>

namespace platform {
class Spreadsheet;
}
class QDateTime;

namespace grid {

class ExcelSession {
public:
    ExcelSession();
    // A session on an instance of the caller's own making (not started yet).
    explicit ExcelSession(std::unique_ptr<platform::Spreadsheet> instance);
    ~ExcelSession();
    ExcelSession(const ExcelSession&) = delete;
    ExcelSession& operator=(const ExcelSession&) = delete;

    // Starts a new instance, then turns its alerts off and keeps it hidden.
    bool StartHiddenExcel();
    bool addWorkbook();
    bool openWorkbook(const QString& path, bool readOnly);

    // Writes a text into a cell of the active sheet by address; "" empties the cell.
    bool WriteCell(const QString& address, const QString& text);
    // Writes texts into one row from firstColumn on, as WriteCell would each (1-based).
    bool writeRow(int row, int firstColumn, std::span<const QString> texts);
    // The text of a cell of the active sheet; *ok tells whether it could be read.
    QString readCell(const QString& address, bool* ok);
    // The columns, from firstColumn on, in which rows 1 to lastRow of the active sheet show
    // a value; nothing when they could not be read.
    std::optional<std::vector<int>> filledColumns(int firstColumn, int lastRow);

    // Writes a number, or a date and time value, into a cell of the active sheet.
    bool writeNumber(const QString& address, double value);
    bool writeDate(const QString& address, const QDateTime& value);

    bool printOut(int copies, bool collate);
    // Gives the workbook to the user as a normal unsaved document: alerts on, so closing it
    // asks whether to save, then shown. The session lets the instance go.
    bool handOver();

    // Alerts off and quit; nothing is saved. Safe to call more than once.
    void QuitExcel();

    // Why the last failing call failed, in words for the user.
    QString lastError() const;

private:
    std::unique_ptr<platform::Spreadsheet> m_excel;
    bool m_running = false;
};

} // namespace grid
