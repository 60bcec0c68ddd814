#include "grid/documents/listfilelines.h"

#include "grid/documents/listfilesource.h"
#include "grid/gridrow.h"
#include "platform/vb.h"

#include <algorithm>
#include <cmath>
#include <limits>

namespace grid {

int ListFileLines::putNumber(char16_t* out, qint64 value)
{
    char16_t digits[MaxNumberLength];
    int start = MaxNumberLength;
    quint64 magnitude = value < 0 ? quint64(0) - quint64(value) : quint64(value);
    do {
        digits[--start] = char16_t(u'0' + magnitude % 10);
        magnitude /= 10;
    } while (magnitude != 0);
    if (value < 0)
        digits[--start] = u'-';
    std::copy(digits + start, digits + MaxNumberLength, out);
    return MaxNumberLength - start;
}

void ListFileLines::appendNumber(QString& out, qint64 value)
{
    char16_t digits[MaxNumberLength];
    out.append(reinterpret_cast<const QChar*>(digits), putNumber(digits, value));
}

void ListFileLines::appendLineSafe(QString& out, QStringView text)
{
    if (!text.contains(QLatin1Char('\r'))) {
        out.append(text);
        return;
    }
    QString safe = text.toString();
    safe.replace(QLatin1String("\r\n"), QLatin1String("\n"));
    safe.replace(QLatin1Char('\r'), QLatin1Char('\n'));
    out.append(safe);
}

void ListFileLines::appendHeaderLine(QString& out, const ListFileSource& source)
{
    const int count = source.columnCount();
    out.append(QLatin1String("\\\\"));
    appendNumber(out, count);
    out.append(QLatin1String("|#"));
    for (int c = 1; c <= count; ++c) {
        out.append(QLatin1String("||"));
        appendLineSafe(out, source.caption(c));
        out.append(QLatin1Char('|'));
        appendNumber(out, source.width(c));
    }
}

void ListFileLines::appendRowCountLine(QString& out, int rows)
{
    out.append(QLatin1String("\\\\"));
    appendNumber(out, rows);
}

void ListFileLines::appendCellLine(QString& out, const ListFileCell& cell, int row, int column)
{
    appendCellLine(out, cell.text, cell.color, cell.bold, cell.underline, cell.italic, row, column);
}

void ListFileLines::appendCellLine(QString& out, const GridRow& cells, int row, int column)
{
    appendCellLine(out, cells.textView(column), int32_t(cells.color(column)), cells.bold(column),
                   cells.underline(column), cells.italic(column), row, column);
}

void ListFileLines::appendCellLine(QString& out, QStringView text, int32_t color, bool bold,
                                   bool underline, bool italic, int row, int column)
{
    appendLineSafe(out, text);
    // The fields after the text, put together first and appended in one piece.
    char16_t tail[4 + 3 + 3 * MaxNumberLength];
    int n = 0;
    const auto put = [&](qint64 value) { n += putNumber(tail + n, value); };
    tail[n++] = u'#';
    put(color);
    tail[n++] = u'#';
    tail[n++] = bold ? u'1' : u'0';
    tail[n++] = underline ? u'1' : u'0';
    tail[n++] = italic ? u'1' : u'0';
    tail[n++] = u'#';
    put(column);
    tail[n++] = u'#';
    put(row);
    out.append(reinterpret_cast<const QChar*>(tail), n);
}

std::optional<qint64> ListFileLines::parseWhole(QStringView text, qint64 low, qint64 high)
{
    // The writer's own form: an optional minus and up to 18 digits.
    qsizetype i = 0;
    const bool negative = !text.isEmpty() && text[0] == QLatin1Char('-');
    if (negative)
        i = 1;
    const qsizetype digits = text.size() - i;
    if (digits > 0 && digits <= 18) {
        qint64 value = 0;
        bool plain = true;
        for (; i < text.size(); ++i) {
            const char16_t ch = text[i].unicode();
            if (ch < u'0' || ch > u'9') {
                plain = false;
                break;
            }
            value = value * 10 + (ch - u'0');
        }
        if (plain) {
            if (negative)
                value = -value;
            if (value < low || value > high)
                return std::nullopt;
            return value;
        }
    }
    // Anything else ("+5", " 7", "3.0") as the classic conversion reads it.
    const auto number = platform::vb::CDbl(text.toString());
    if (!number)
        return std::nullopt;
    const double whole = platform::vb::RoundHalfEven(*number);
    if (!(whole >= double(low) && whole <= double(high)))
        return std::nullopt;
    return qint64(whole);
}

std::optional<bool> ListFileLines::parseFlag(QChar digit)
{
    if (digit == QLatin1Char('0'))
        return false;
    if (digit >= QLatin1Char('1') && digit <= QLatin1Char('9'))
        return true;
    return std::nullopt;
}

std::optional<ListFileLines::Header> ListFileLines::parseHeaderLine(QStringView line)
{
    const qsizetype bar = line.size() > 1 ? line.indexOf(QLatin1Char('|'), 1) : -1;
    if (bar < 0)
        return std::nullopt;
    Header header;
    if (bar > 2) {
        if (auto count = parseWhole(line.mid(2, bar - 2), std::numeric_limits<int>::min(),
                                    std::numeric_limits<int>::max()))
            header.count = int(*count);
    }
    const qsizetype start = line.lastIndexOf(QLatin1String("|#||"));
    if (start < 0)
        return header;
    const QStringView rest = line.mid(start + 4);
    if (rest.isEmpty())
        return header;
    for (QStringView entry : rest.split(u"||")) {
        ListFileColumn column;
        const qsizetype last = entry.lastIndexOf(QLatin1Char('|'));
        if (last >= 0)
            column.caption = entry.left(last).toString();
        if (auto width = parseWhole(entry.mid(last + 1), std::numeric_limits<int16_t>::min(),
                                    std::numeric_limits<int16_t>::max()))
            column.width = int(*width);
        header.entries.append(column);
    }
    return header;
}

std::optional<qint64> ListFileLines::parseRowCountLine(QStringView line)
{
    if (line.size() < 3)
        return std::nullopt;
    const QStringView text = line.mid(2);
    if (auto rows = parseWhole(text, std::numeric_limits<int32_t>::min(), std::numeric_limits<int32_t>::max()))
        return *rows;
    // A number beyond the 32-bit range is still a count, one that no grid can hold; so is a
    // number beyond even a double's range (309 digits and more), which the conversion refuses.
    const QString number = text.toString();
    if (const auto value = platform::vb::CDbl(number))
        return *value > 0 ? std::numeric_limits<qint64>::max() : std::numeric_limits<qint64>::min();
    // The classic conversion reads such a number as infinite, of either sign: the sign is
    // taken from the text.
    if (!std::isinf(platform::vb::Val(number)))
        return std::nullopt;
    return number.trimmed().startsWith(QLatin1Char('-')) ? std::numeric_limits<qint64>::min()
                                                         : std::numeric_limits<qint64>::max();
}

std::optional<ListFileLines::CellLine> ListFileLines::parseCellLine(QStringView line)
{
    constexpr qint64 IntMin = std::numeric_limits<int32_t>::min();
    constexpr qint64 IntMax = std::numeric_limits<int32_t>::max();
    // Positions are zero-based here: rowMark is the last "#", columnMark the one before it,
    // three flag digits stand just before columnMark, the character before them closes the
    // colour field, and colourMark is the last "#" before that character.
    const qsizetype rowMark = line.lastIndexOf(QLatin1Char('#'));
    if (rowMark < 1)
        return std::nullopt;
    const qsizetype columnMark = line.lastIndexOf(QLatin1Char('#'), rowMark - 1);
    if (columnMark < 5)
        return std::nullopt;
    const qsizetype colourEnd = columnMark - 4;
    const qsizetype colourMark = line.lastIndexOf(QLatin1Char('#'), colourEnd - 1);
    if (colourMark < 0)
        return std::nullopt;

    const auto row = parseWhole(line.mid(rowMark + 1), IntMin, IntMax);
    const auto column = parseWhole(line.mid(columnMark + 1, rowMark - columnMark - 1), IntMin, IntMax);
    if (!row || !column)
        return std::nullopt;

    CellLine cell;
    cell.row = int(*row);
    cell.column = int(*column);
    cell.bold = parseFlag(line[columnMark - 3]);
    cell.underline = parseFlag(line[columnMark - 2]);
    cell.italic = parseFlag(line[columnMark - 1]);
    if (auto colour = parseWhole(line.mid(colourMark + 1, colourEnd - colourMark - 1), IntMin, IntMax))
        cell.color = int32_t(*colour);
    cell.text = line.left(colourMark);
    return cell;
}

} // namespace grid
