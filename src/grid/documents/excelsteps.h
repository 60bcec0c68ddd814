#pragma once
// The steps every spreadsheet command of the grid shares: the availability check, the cell
// address of a grid column, the copies prompt, the writing of the rows that hold text, the
// progress bar of the active window and the failure message.

#include <QString>
#include <optional>

namespace grid {

class ExcelSession;
class ExchangeHost;
class GridCore;
class ProgressDisplay;

namespace ExcelSteps {

// Title of the spreadsheet program's messages (six blanks after the first word).
inline const QString ExcelErrorTitle = QStringLiteral("Velkorn      Excel Error");

// False, after the message, when the start-up probe found the spreadsheet program unusable.
bool CheckExcelStatus(const ExchangeHost& host);

// The A1 address of a 1-based sheet column and row ("A7", "AF120").
QString cellAddress(int column, int row);

// Asks for the number of copies. The typed text when it is a number from 1 to 100;
// nothing, after the refusal's message where it has one, otherwise.
std::optional<QString> AskCopiesToPrint();

// The number of copies a copies text asks for (rounded half to even); nothing for a text
// that is not a number or asks for fewer than one copy.
std::optional<int> copiesFrom(const QString& copiesText);

// Writes every grid row that holds text in one of the columns 1 to ColumnCount, all 32 of its
// cells, empty ones included: grid row r, column k goes to sheet row r + rowOffset, column
// k + columnOffset. A row without text is not written, so its sheet row keeps what it held.
// Before each row is written the progress bar, when there is one, is set to its number.
// False as soon as a cell cannot be written.
bool writeRowsWithText(ExcelSession& excel, const GridCore& grid, ProgressDisplay* bar, int rowOffset,
                       int columnOffset);

// The progress bar of the document window ActiveList names, compared exactly with the
// three document windows; nullptr for any other name.
ProgressDisplay* activeProgressBar(ExchangeHost& host);

// Tells the user that a spreadsheet step failed: what failed and what it means, then the
// program's own reason when it gave one.
void reportFailure(const QString& what, const QString& reason);

} // namespace ExcelSteps

} // namespace grid
