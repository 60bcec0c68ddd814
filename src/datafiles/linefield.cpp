#include "datafiles/linefield.h"

#include "datafiles/datafoldertree.h"
#include "platform/prompts.h"
#include "platform/textcodec.h"
#include "platform/vb.h"

namespace datafiles {

QString optionText(bool selected)
{
    return selected ? QStringLiteral("True") : QStringLiteral("False");
}

std::optional<bool> parseOption(const QString& line)
{
    const QString word = line.trimmed();
    if (word.compare(QLatin1String("True"), Qt::CaseInsensitive) == 0)
        return true;
    if (word.compare(QLatin1String("False"), Qt::CaseInsensitive) == 0)
        return false;
    if (const auto number = platform::vb::CDbl(line))
        return *number != 0;
    return std::nullopt;
}

// A switch line is the program's own "0" or "1". Read as a number, " 0", "-0" or "0.4" would
// turn a host's password protection off, and "0.6" on, with nobody having set it so.
std::optional<int> parseCheck(const QString& line)
{
    if (line == QLatin1String("0"))
        return 0;
    if (line == QLatin1String("1"))
        return 1;
    return std::nullopt;
}

bool isCount(const platform::Decimal& number)
{
    static const platform::Decimal limit(1'000'000'000'000'000LL);
    return number.isWhole() && !number.isNegative() && number < limit;
}

std::optional<platform::Decimal> parseCount(const QString& text)
{
    const auto number = platform::Decimal::fromText(text);
    if (!number || !isCount(*number))
        return std::nullopt;
    return number;
}

std::optional<UnstorableText> firstUnstorableLine(const NamedLines& lines)
{
    for (const NamedLine& named : lines) {
        const QString text = named.line.get();
        if (const qsizetype at = platform::firstUnheld(text); at >= 0)
            return UnstorableText{QString::fromLatin1(named.field), text, at};
    }
    return std::nullopt;
}

LineFileWriter writerFor(const LineTable& table, LastLineEnd lastLineEnd)
{
    LineFileWriter writer(lastLineEnd);
    for (const LineField& field : table)
        writer.add(field.get());
    return writer;
}

bool saveLines(const LineTable& table, LastLineEnd lastLineEnd, const QString& path)
{
    const DataFileWrite result = writerFor(table, lastLineEnd).writeTo(path);
    if (!result)
        platform::prompts().MsgBox(result.error, platform::MsgStyle::Critical);
    return result.ok;
}

LineFileReader::Reading readLines(const QString& path, int keyLine)
{
    emptyTempFolder();
    return LineFileReader::read(path, LineFileReader::numberOnLine(keyLine));
}

void reportNotRead(const LineFileReader::Reading& reading, const QString& rejected,
                   const QString& title)
{
    const QString& text = reading.error.isEmpty() ? rejected : reading.error;
    platform::prompts().MsgBox(text, platform::MsgStyle::Critical, title);
}

void assignLines(const LineTable& table, const QStringList& lines)
{
    const size_t count = std::min(table.size(), size_t(lines.size()));
    for (size_t i = 0; i < count; ++i)
        table[i].set(lines.at(qsizetype(i)));
}

} // namespace datafiles
