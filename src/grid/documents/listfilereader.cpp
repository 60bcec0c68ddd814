#include "grid/documents/listfilereader.h"

#include "grid/documents/listdocument.h"
#include "grid/documents/listfilelines.h"
#include "grid/documents/listfilescrambler.h"
#include "platform/textcodec.h"

#include <QStringView>

namespace grid {

namespace {

// Hands out the lines of a text: a line ends at every carriage return, with or without a
// line feed after it; a line feed alone is text.
class LineSplitter {
public:
    explicit LineSplitter(QStringView text) : text_(text) {}
    bool next(QStringView& line)
    {
        if (pos_ >= text_.size())
            return false;
        const qsizetype end = text_.indexOf(QLatin1Char('\r'), pos_);
        if (end < 0) {
            line = text_.mid(pos_);
            pos_ = text_.size();
            return true;
        }
        line = text_.mid(pos_, end - pos_);
        pos_ = end + 1;
        if (pos_ < text_.size() && text_[pos_] == QLatin1Char('\n'))
            ++pos_;
        return true;
    }

private:
    QStringView text_;
    qsizetype pos_ = 0;
};

void storeCell(ListDocument& document, const ListFileLines::CellLine& line)
{
    // Row 0 and column 0 are the slots that hold no cell; a line for them shows nowhere, and
    // the document keeps nothing outside its rows and 32 columns.
    const int r = line.row;
    const int c = line.column;
    if (line.bold)
        document.setBold(r, c, *line.bold);
    if (line.italic)
        document.setItalic(r, c, *line.italic);
    if (line.underline)
        document.setUnderline(r, c, *line.underline);
    if (line.color)
        document.setColor(r, c, *line.color);
    document.setTextPiece(r, c, line.text);
}

} // namespace

platform::FileResult ListFileReader::read(QByteArray bytes, ListDocument& document,
                                          const QString& path)
{
    ListDocument read;
    if (ListFileScrambler::looksScrambled(bytes)) {
        read.form = ListDocument::Form::Scrambled;
        ListFileScrambler::apply(bytes);
    }
    const QString text = platform::fromAnsi(bytes);
    bytes = QByteArray();
    if (read.form == ListDocument::Form::Plain && text.startsWith(QLatin1String("#@#")))
        read.form = ListDocument::Form::Password;
    read.adoptText(text);
    const bool passwordForm = read.form != ListDocument::Form::Plain;
    const int headerLine = passwordForm ? 3 : 1;

    LineSplitter lines(text);
    QStringView line;
    for (int number = 1; lines.next(line); ++number) {
        if (passwordForm && number == 1)
            continue;
        if (passwordForm && number == 2)
            read.passwordLine = line.toString();
        if (line.isEmpty() || number < headerLine)
            continue;
        if (number == headerLine) {
            if (auto header = ListFileLines::parseHeaderLine(line)) {
                read.declaredColumnCount = header->count;
                read.columns = header->entries;
            }
        } else if (number == headerLine + 1) {
            const qint64 rows = ListFileLines::parseRowCountLine(line).value_or(1);
            if (rows > MaxRows)
                return {false, QStringLiteral("The file \"%1\" could not be opened: it declares %2 rows, "
                                              "more than a document can hold (%3).")
                                   .arg(path, line.mid(2).toString(), QString::number(MaxRows))};
            read.setRowCount(rows < 1 ? 1 : int(rows));
        } else if (auto cell = ListFileLines::parseCellLine(line)) {
            storeCell(read, *cell);
        }
    }
    document = std::move(read);
    return {true, QString()};
}

} // namespace grid
