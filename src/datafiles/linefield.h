#pragma once
// How one line of a data file meets its field: the text the writer takes from it, and the
// assignment of a line read, which runs the field's rule as any other change does. A line
// that does not convert leaves its field as it was. A file's table of lines serves its
// saver (saveLines) and its loader (readLines, then assignLines or reportNotRead).

#include "datafiles/linefilereader.h"
#include "datafiles/linefilewriter.h"
#include "datafiles/storefield.h"
#include "platform/decimal.h"

#include <QString>
#include <QStringList>
#include <functional>
#include <optional>
#include <vector>

namespace datafiles {

struct LineField {
    std::function<QString()> get;
    std::function<void(const QString&)> set;
};

using LineTable = std::vector<LineField>;

// A line with the name its window gives the field, for the messages about it.
struct NamedLine {
    const char* field;
    LineField line;
};

using NamedLines = std::vector<NamedLine>;

// A text of a record that its file cannot hold: a character outside Windows-1250, which
// would be stored as "?". `field` names the field as its window shows it ("the note");
// `position` is where the character stands in `text`.
struct UnstorableText {
    QString field;
    QString text;
    qsizetype position = -1;
};

// The first line, in the order given, whose text the file cannot hold; nullopt when it can
// hold them all.
std::optional<UnstorableText> firstUnstorableLine(const NamedLines& lines);

// "True" or "False", as option buttons and check marks are stored.
QString optionText(bool selected);
// "True"/"False" in any letter case, or a number (not 0 selects); nullopt otherwise.
std::optional<bool> parseOption(const QString& line);
// A check box's (a switch's) line as this program writes it: "0" or "1", nothing else; any
// other text (" 0", "-0", "0.6", "2", "") is damaged and gives nullopt.
std::optional<int> parseCheck(const QString& line);
// A counter (the invoice and payment numbers): a whole number from 0 of at most 15 digits,
// which the number form writes exactly.
bool isCount(const platform::Decimal& number);
// A counter's text read by the rules of the number form; nullopt when it is not a count
// ("-5", "41.5", "1E+50", "").
std::optional<platform::Decimal> parseCount(const QString& text);

// The line of a text, an option and a check box value. The field is a settings store field
// (its rule runs as the line is assigned) or a plain member of a record.
template <typename Text>
LineField textLine(Text& field)
{
    return {[&field] { return QString(field); }, [&field](const QString& line) { field = line; }};
}

template <typename Option>
LineField optionLine(Option& field)
{
    return {[&field] { return optionText(bool(field)); },
            [&field](const QString& line) {
                if (const auto selected = parseOption(line))
                    field = *selected;
            }};
}

template <typename Check>
LineField checkLine(Check& field)
{
    return {[&field] { return QString::number(int(field)); },
            [&field](const QString& line) {
                if (const auto value = parseCheck(line))
                    field = *value;
            }};
}

// The writer of a table's values, in order.
LineFileWriter writerFor(const LineTable& table, LastLineEnd lastLineEnd);
// Writes the table's lines to the file, scrambled; a failure is shown to the user with the
// file's name and the old file is kept. True when written.
bool saveLines(const LineTable& table, LastLineEnd lastLineEnd, const QString& path);
// The first step of every loader: empties the scratch folder, then reads the file at path in
// the state whose line keyLine is a number.
LineFileReader::Reading readLines(const QString& path, int keyLine);
// Tells the user that a file found was not read: the reader's own sentence when the file
// could not be read at all, otherwise `rejected` (a sentence naming the file).
void reportNotRead(const LineFileReader::Reading& reading, const QString& rejected,
                   const QString& title = QString());
// Assigns the lines read to the table's fields in order, each before the next is looked
// at; fields beyond the lines read keep their values, lines beyond the table are ignored.
void assignLines(const LineTable& table, const QStringList& lines);

} // namespace datafiles
