#pragma once
// The spreadsheet program that exports, imports and form printing drive: one instance per
// command, filled while hidden, then shown to the user, printed or quit.

#include <QDateTime>
#include <QString>
#include <functional>
#include <memory>
#include <span>
#include <vector>

namespace platform {

// The largest row and column numbers a cell address may have.
inline constexpr int maxSheetRow = 1048576;
inline constexpr int maxSheetColumn = 16384;

// Used from one thread. Dropping an instance quits it.
class Spreadsheet {
public:
    virtual ~Spreadsheet() = default;

    // Starts a hidden instance of the spreadsheet program. False when it cannot be started
    // (not installed, does not answer); lastError() says why. This is also the start-up
    // probe: start, then quit. The program may keep the spreadsheet program running between
    // instances, so that only the first start of a run waits for it.
    virtual bool start() = 0;

    // Whether the program may ask the user anything. The instance is driven without a
    // window, so it never asks while hidden; kept so callers can state what they want.
    virtual void setDisplayAlerts(bool on) = 0;

    // False keeps the instance hidden (it starts hidden). True is show(): the caller gives
    // the workbook to the user and drops the instance.
    virtual bool setVisible(bool visible) = 0;

    // A new empty workbook becomes the active one.
    virtual bool addWorkbook() = 0;

    // Opens a workbook, read-only when asked (it can then be filled but never written
    // back over the file); it becomes the active one, with its saved active sheet.
    virtual bool openWorkbook(const QString& path, bool readOnly) = 0;

    // Writes a cell of the active sheet by A1 address ("B2", "AF120"). A text that is a
    // number as the program writes numbers ("12", "-3.5", "24.50"; at most 15 digits) goes in
    // as a number and shows with the decimals it was written with ("24.50" is 24.5 shown with
    // two decimals), unless the cell has a number format of its own. Anything else goes in as
    // text as written, a number with leading zeros ("007") included, and so does everything
    // written into a cell formatted as text (a zip code field of a form). A text beginning
    // with "=" stays text, never a formula; "" empties the cell. Writes are buffered and sent
    // in blocks before any read, print or show (quit drops them), so writing many cells costs
    // a few calls, not one per cell. False for an address that is not A1 form, or without an
    // open workbook.
    virtual bool writeCell(const QString& address, const QString& text) = 0;
    // Writes texts into one row from firstColumn on (1-based), each as writeCell would. The
    // default spells out each address; an implementation may do it without.
    virtual bool writeRow(int row, int firstColumn, std::span<const QString> texts);
    virtual bool writeNumber(const QString& address, double value) = 0;
    // A date and time value, shown as the program writes dates everywhere (the general date
    // of platform::vb) unless the cell already has a date format of its own.
    virtual bool writeDate(const QString& address, const QDateTime& value) = 0;

    // The text the active sheet shows in the cell ("" for an empty cell, or on failure).
    // The first read after a change fetches what the whole sheet shows at once, so reading
    // many cells costs one call, not one per cell.
    virtual QString readCell(const QString& address) = 0;

    // The columns, from firstColumn on, in which any of the rows 1 to lastRow of the active
    // sheet shows a value (as readCell would read it), ascending by number: what a reader of
    // fewer columns would leave out. Empty on failure too; lastError() then says why.
    virtual std::vector<int> filledColumns(int firstColumn, int lastRow) = 0;

    // Prints the active sheet of the active workbook on the default printer, that many
    // copies, collated when asked. False, with lastError() set, when nothing was printed,
    // for instance when no printer is set up.
    virtual bool printActiveSheet(int copies, bool collate) = 0;

    // Gives the active workbook to the user: it appears in a visible spreadsheet window as
    // an untitled, changed document the user can edit and save; closing it asks whether to
    // save. The hidden instance is then quit.
    virtual bool show() = 0;

    // Ends the instance without saving anything. Safe to call more than once.
    virtual void quit() = 0;

    // Why the last failing call failed, in words for the user; "" after success.
    virtual QString lastError() const = 0;
};

using SpreadsheetFactory = std::function<std::unique_ptr<Spreadsheet>()>;

// A new, not yet started instance from the installed factory. Without an installed
// factory, an instance whose start() fails.
std::unique_ptr<Spreadsheet> newSpreadsheet();

// An instance whose every call fails, lastError() giving why: for an implementation that
// cannot be had.
std::unique_ptr<Spreadsheet> unavailableSpreadsheet(const QString& why);

// Installs the factory (the real program at start, a recording one in tests); an empty
// function restores the default. It also restores the default start-up check.
void setSpreadsheetFactory(SpreadsheetFactory factory);

// The start-up check: whether the spreadsheet program starts. The default starts an
// instance of the installed factory, hidden, and quits it.
bool spreadsheetStarts();

// Installs a check that finds the same more cheaply (and may keep what it started for the
// first instance); an empty function restores the default. Install it after the factory.
void setSpreadsheetCheck(std::function<bool()> check);

// Splits an A1 address into a 1-based column and row ("AF120" gives 32 and 120). False
// for anything else; lower-case letters are accepted.
bool parseCellAddress(const QString& address, int& column, int& row);

// The column letters of a 1-based column number (1 "A", 26 "Z", 27 "AA", 32 "AF").
QString columnLetters(int column);

} // namespace platform
