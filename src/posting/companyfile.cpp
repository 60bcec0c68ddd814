#include "posting/companyfile.h"

#include "datafiles/fileprocedures.h"
#include "datafiles/linefilereader.h"
#include "grid/documents/listfilelines.h"
#include "grid/documents/listfilereader.h"
#include "grid/documents/listfilescrambler.h"
#include "grid/documents/listfilewriter.h"
#include "platform/textcodec.h"
#include "platform/vb.h"

#include <array>
#include <cstring>
#include <limits>

namespace posting {

namespace {

// The bytes whose character converts back to the same byte, when the characters of the
// marks the lines are read by are those bytes themselves; null otherwise.
const std::array<bool, 256>* sameBytes()
{
    static const std::optional<std::array<bool, 256>> table = []() -> std::optional<std::array<bool, 256>> {
        const platform::AnsiTables* tables = platform::AnsiTables::get();
        if (!tables)
            return std::nullopt;
        std::array<bool, 256> same{};
        for (int b = 0; b < 256; ++b) {
            const char16_t character = tables->character(uchar(b));
            if (b < 0x80 && character != char16_t(b))
                return std::nullopt;
            same[size_t(b)] = tables->byte(character) == char(b);
        }
        return same;
    }();
    return table ? &*table : nullptr;
}

QString decoded(const char* bytes, qsizetype count)
{
    return platform::fromAnsi(QByteArray::fromRawData(bytes, count));
}

// A whole number in the writer's form (an optional minus and digits without a leading zero,
// "0" alone) within [low, high].
std::optional<qint64> writtenNumber(const char* p, qsizetype n, qint64 low, qint64 high)
{
    if (n < 1 || n > 11)
        return std::nullopt;
    qsizetype i = 0;
    const bool negative = p[0] == '-';
    if (negative && n == 1)
        return std::nullopt;
    if (negative)
        i = 1;
    if (p[i] == '0' && (negative || n - i > 1))
        return std::nullopt;
    qint64 value = 0;
    for (; i < n; ++i) {
        if (p[i] < '0' || p[i] > '9')
            return std::nullopt;
        value = value * 10 + (p[i] - '0');
    }
    if (negative)
        value = -value;
    if (value < low || value > high)
        return std::nullopt;
    return value;
}

// The last "#" in [from, before), or -1.
qsizetype lastMark(const char* p, qsizetype from, qsizetype before)
{
    for (qsizetype i = before - 1; i >= from; --i)
        if (p[i] == '#')
            return i;
    return -1;
}

} // namespace

platform::FileResult CompanyFile::open(const QString& path)
{
    QByteArray bytes;
    if (auto read = platform::readWholeFile(path, bytes); !read)
        return read;
    return open(path, std::move(bytes));
}

platform::FileResult CompanyFile::open(const QString& path, QByteArray bytes)
{
    m_path = path;
    m_changed = false;
    m_newBalances.clear();
    // The bytes are unscrambled where they lie: a company file of many contacts is large,
    // and a second copy of it costs a posting more than all its other work. Scrambling is
    // its own inverse, so what was read is had back from the plain lines when it is needed.
    m_stored.clear();
    if (takeInPlace(bytes)) {
        m_parsed = false;
        m_document = grid::ListDocument();
        return {true, QString()};
    }
    m_plain.clear();
    m_cells.clear();
    m_stored = std::move(bytes);
    if (auto parsed = parse(); !parsed) {
        *this = CompanyFile();
        return parsed;
    }
    return {true, QString()};
}

platform::FileResult CompanyFile::parse()
{
    if (m_stored.isEmpty() && !m_plain.isEmpty())
        m_stored = grid::ListFileScrambler::applied(m_plain);
    grid::ListDocument document;
    if (auto read = grid::ListFileReader::read(m_stored, document, m_path); !read)
        return read;
    // The reader passes over lines it does not know, so an empty file or one of other bytes
    // reads as a document without its header line: no contact could be found in it, and
    // it is the file that is wrong, not the contact.
    if (!document.declaredColumnCount && document.columns.isEmpty())
        return {false, QStringLiteral("The file \"%1\" could not be read: it is empty, not a contact company "
                                      "file, or damaged.").arg(m_path)};
    // Written back, a file cut short would look whole, and the rows after the cut would be
    // gone without anyone having been told they were missing.
    if (document.cut)
        return {false, document.cut->described(m_path)
                           + QStringLiteral(" Its balances are not changed; open it in the contact companies window "
                                            "to see what it still holds.")};
    for (const auto& [row, text] : m_newBalances) {
        grid::ListFileCell cell = document.at(row, BalanceColumn);
        cell.text = text;
        document.setCell(row, BalanceColumn, cell);
    }
    m_document = std::move(document);
    m_parsed = true;
    m_plain.clear();
    m_cells.clear();
    m_newBalances.clear();
    return {true, QString()};
}

bool CompanyFile::takeInPlace(QByteArray& bytes)
{
    const std::array<bool, 256>* same = sameBytes();
    if (!same || !grid::ListFileScrambler::looksScrambled(bytes))
        return false;
    grid::ListFileScrambler::apply(bytes);
    if (readInPlace(bytes, *same))
        return true;
    grid::ListFileScrambler::apply(bytes); // scrambled again, as read
    return false;
}

bool CompanyFile::readInPlace(QByteArray& plain, const std::array<bool, 256>& same)
{
    const char* p = plain.constData();
    const qsizetype total = plain.size();
    for (qsizetype i = 0; i < total; ++i)
        if (!same[uchar(p[i])])
            return false;

    // Every line ends with CR LF, the last one too.
    qsizetype pos = 0;
    const auto nextLine = [&](qsizetype& start, qsizetype& end) {
        if (pos >= total)
            return false;
        const void* cr = std::memchr(p + pos, '\r', size_t(total - pos));
        if (!cr)
            return false;
        end = static_cast<const char*>(cr) - p;
        if (end + 1 >= total || p[end + 1] != '\n')
            return false;
        start = pos;
        pos = end + 2;
        return true;
    };

    qsizetype start = 0, end = 0;
    if (!nextLine(start, end) || end - start != 3) // "#@#"
        return false;
    if (!nextLine(start, end)) // the password line, any text
        return false;

    if (!nextLine(start, end))
        return false;
    const QString headerLine = decoded(p + start, end - start);
    const auto header = grid::ListFileLines::parseHeaderLine(headerLine);
    if (!header)
        return false;
    grid::ListDocument columns;
    columns.declaredColumnCount = header->count;
    columns.columns = header->entries;
    QString written;
    grid::ListFileLines::appendHeaderLine(written, columns);
    if (written != headerLine)
        return false;

    if (!nextLine(start, end))
        return false;
    const QString countLine = decoded(p + start, end - start);
    const qint64 count = grid::ListFileLines::parseRowCountLine(countLine).value_or(1);
    if (count > grid::ListFileReader::MaxRows)
        return false;
    const int rows = count < 1 ? 1 : int(count);
    written.clear();
    grid::ListFileLines::appendRowCountLine(written, rows);
    if (written != countLine)
        return false;

    // The cell lines: "text#colour#flags#column#row", each cell with text once, by row and
    // column ascending, within the header's columns.
    constexpr qint64 IntMin = std::numeric_limits<int32_t>::min();
    constexpr qint64 IntMax = std::numeric_limits<int32_t>::max();
    const int columnCount = std::min(int(columns.columns.size()), int(grid::ListDocument::MaxColumns));
    std::vector<RowCells> cells(size_t(rows) + 1);
    qint64 lastKey = 0;
    while (pos < total) {
        if (!nextLine(start, end))
            return false;
        const qsizetype rowMark = lastMark(p, start, end);
        if (rowMark < 0)
            return false;
        const qsizetype columnMark = lastMark(p, start, rowMark);
        if (columnMark < start + 5 || p[columnMark - 4] != '#')
            return false;
        for (qsizetype f = columnMark - 3; f < columnMark; ++f)
            if (p[f] != '0' && p[f] != '1')
                return false;
        const qsizetype colourMark = lastMark(p, start, columnMark - 4);
        if (colourMark <= start) // no colour field, or a cell without text
            return false;
        const auto row = writtenNumber(p + rowMark + 1, end - rowMark - 1, 1, rows);
        const auto column = writtenNumber(p + columnMark + 1, rowMark - columnMark - 1, 1, columnCount);
        if (!row || !column
            || !writtenNumber(p + colourMark + 1, columnMark - 4 - colourMark - 1, IntMin, IntMax))
            return false;
        const qint64 key = *row * 64 + *column;
        if (key <= lastKey)
            return false;
        lastKey = key;
        const TextSpan text{start, colourMark - start};
        if (*column == NameColumn)
            cells[size_t(*row)].name = text;
        else if (*column == BalanceColumn)
            cells[size_t(*row)].balance = text;
    }

    m_plain = std::move(plain);
    m_rows = rows;
    m_columns = int(columns.columns.size());
    m_cells = std::move(cells);
    return true;
}

QString CompanyFile::cellText(int row, int column) const
{
    if (m_parsed)
        return m_document.at(row, column).text;
    if (row < 1 || row > m_rows)
        return QString();
    if (column == BalanceColumn)
        if (const auto set = m_newBalances.find(row); set != m_newBalances.end())
            return set->second;
    const RowCells& cells = m_cells[size_t(row)];
    const TextSpan& span = column == NameColumn ? cells.name : cells.balance;
    if (span.start < 0)
        return QString();
    return decoded(m_plain.constData() + span.start, span.length);
}

std::optional<int> CompanyFile::contactRow(const QString& rowText, const QString& contact) const
{
    const auto row = platform::vb::CLng(rowText);
    if (!row || *row < 1 || *row > rowCount())
        return std::nullopt;
    if (cellText(int(*row), NameColumn) != contact)
        return std::nullopt;
    return int(*row);
}

QString CompanyFile::balanceText(int row) const
{
    return cellText(row, BalanceColumn);
}

void CompanyFile::setBalanceText(int row, const QString& text)
{
    if (cellText(row, BalanceColumn) == text)
        return;
    if (!m_parsed && (text.isEmpty() || row < 1 || row > m_rows || m_cells[size_t(row)].balance.start < 0)) {
        // A cell line that comes or goes: the document writes it.
        if (!parse())
            return; // cannot happen: the bytes were read as a file of this form already
    }
    m_changed = true;
    if (!m_parsed) {
        m_newBalances[row] = text;
        return;
    }
    grid::ListFileCell cell = m_document.at(row, BalanceColumn);
    cell.text = text;
    m_document.setCell(row, BalanceColumn, cell);
}

QByteArray CompanyFile::bytes() const
{
    if (!m_parsed) {
        // The stored lines with the balance cells' text replaced, as the writer writes a text:
        // a carriage return in it would end the line, so it is written as a line feed.
        QByteArray plain;
        plain.reserve(m_plain.size() + 64);
        qsizetype copied = 0;
        for (const auto& [row, text] : m_newBalances) {
            const TextSpan& span = m_cells[size_t(row)].balance;
            plain.append(m_plain.constData() + copied, span.start - copied);
            QString safe = text;
            safe.replace(QLatin1String("\r\n"), QLatin1String("\n"));
            safe.replace(QLatin1Char('\r'), QLatin1Char('\n'));
            plain.append(platform::toAnsi(safe));
            copied = span.start + span.length;
        }
        plain.append(m_plain.constData() + copied, m_plain.size() - copied);
        grid::ListFileScrambler::apply(plain);
        return plain;
    }
    const QString password = m_document.passwordLine.value_or(
        QString::fromLatin1(grid::ListFileReader::DefaultPassword));
    return grid::ListFileWriter::scrambledBytes(m_document, password);
}

QByteArray CompanyFile::takeBytes()
{
    if (m_parsed)
        return bytes();
    // The new balances go into the plain lines where they stand, from the last one back so
    // that the places of those before stay where they were found, and the lines are
    // scrambled there: no second copy of a large file is made.
    for (auto it = m_newBalances.rbegin(); it != m_newBalances.rend(); ++it) {
        const TextSpan& span = m_cells[size_t(it->first)].balance;
        QString safe = it->second;
        safe.replace(QLatin1String("\r\n"), QLatin1String("\n"));
        safe.replace(QLatin1Char('\r'), QLatin1Char('\n'));
        const QByteArray text = platform::toAnsi(safe);
        // One move of what follows the cell, where its text changes length: the buffer
        // grows at its end in place, rather than being copied whole.
        const qsizetype size = m_plain.size();
        const qsizetype after = span.start + span.length;
        const qsizetype delta = text.size() - span.length;
        if (delta > 0)
            m_plain.resize(size + delta);
        char* data = m_plain.data();
        if (delta != 0)
            std::memmove(data + after + delta, data + after, size_t(size - after));
        std::memcpy(data + span.start, text.constData(), size_t(text.size()));
        if (delta < 0)
            m_plain.resize(size + delta);
    }
    grid::ListFileScrambler::apply(m_plain);
    QByteArray out = std::move(m_plain);
    *this = CompanyFile();
    return out;
}

QByteArray CompanyFile::storedBytes() const
{
    return m_stored.isEmpty() && !m_plain.isEmpty() ? grid::ListFileScrambler::applied(m_plain) : m_stored;
}

std::optional<QString> CompanyFile::lockHolder(const QString& path)
{
    const QString lock = path + QStringLiteral(".tmp");
    if (!datafiles::FileExists(lock))
        return std::nullopt;
    QByteArray bytes;
    if (!platform::readWholeFile(lock, bytes))
        return QString();
    return datafiles::LineFileReader::linesOf(bytes).value(0);
}

} // namespace posting
