#include "grid/documents/listfilereader.h"

#include "grid/documents/listdocument.h"
#include "grid/documents/listfilelines.h"
#include "grid/documents/listfilescrambler.h"
#include "grid/gridrow.h"
#include "platform/textcodec.h"

#include <QFile>
#include <QStringView>
#include <algorithm>
#include <cstring>
#include <memory>
#include <span>

namespace grid {

namespace {

// Bytes decoded at a time: a block and its text stay in the processor's cache.
constexpr qsizetype Block = 1 << 16;

} // namespace

// The bytes of a list file, a block at a time: from memory, or read from the file into one
// block that is used over and over.
class ListFileReader::Feed {
public:
    explicit Feed(const QByteArray& bytes) : m_memory(bytes.constData()), m_total(bytes.size()) {}
    explicit Feed(QFile& file) : m_file(&file), m_total(file.size()), m_block(new char[Block]) {}

    qsizetype total() const { return m_total; }
    // Up to three bytes of the start, read before the first block.
    QByteArray head() const
    {
        return m_memory ? QByteArray(m_memory, std::min<qsizetype>(m_total, 3)) : m_file->peek(3);
    }
    // The next `count` bytes (at most a block), or null when they could not be read.
    const char* next(qsizetype count)
    {
        if (m_memory) {
            const char* bytes = m_memory + m_offset;
            m_offset += count;
            return bytes;
        }
        for (qsizetype got = 0; got < count;) {
            const qint64 n = m_file->read(m_block.get() + got, count - got);
            if (n <= 0)
                return nullptr; // an error, or a file that shrank while it was read
            got += qsizetype(n);
        }
        m_offset += count;
        return m_block.get();
    }
    // Why next() gave null.
    QString error() const
    {
        if (m_file && m_file->error() != QFileDevice::NoError)
            return m_file->errorString();
        return QStringLiteral("it ended early");
    }

private:
    const char* m_memory = nullptr;
    QFile* m_file = nullptr;
    qsizetype m_total = 0;
    qsizetype m_offset = 0;
    std::unique_ptr<char[]> m_block;
};

namespace {

// Hands out the lines of the file's text: a line ends at every carriage return, with or
// without a line feed after it; a line feed alone is text. The bytes are unscrambled and
// decoded a block at a time, in one pass, so that the file's text never stands whole beside
// the rows read from it.
class LineSource {
public:
    LineSource(ListFileReader::Feed& feed, bool scrambled, const platform::AnsiTables& tables)
        : m_feed(feed), m_scrambled(scrambled), m_tables(tables)
    {
    }

    // How the line handed out last ended: a whole file ends every line with CR LF.
    enum class End { CrLf, Cr, None };

    // The next line, valid until the next call; false at the end of the text or when the
    // bytes could not be read (failed() tells).
    bool next(QStringView& line)
    {
        for (;;) {
            const QStringView rest(m_text.get() + m_scan, m_end - m_scan);
            const qsizetype found = rest.indexOf(QLatin1Char('\r'));
            const bool more = m_offset < m_feed.total();
            if (found >= 0 && (m_scan + found + 1 < m_end || !more)) {
                const qsizetype cr = m_scan + found;
                line = QStringView(m_text.get() + m_pos, cr - m_pos);
                m_pos = cr + 1;
                m_lastEnd = End::Cr;
                if (m_pos < m_end && m_text[m_pos] == u'\n') {
                    ++m_pos;
                    m_lastEnd = End::CrLf;
                    m_crLfSeen = true;
                }
                m_scan = m_pos;
                return true;
            }
            if (more) {
                // A carriage return at the very end waits for the character after it.
                m_scan = found >= 0 ? m_scan + found : m_end;
                if (!refill())
                    return false;
                continue;
            }
            if (m_pos == m_end)
                return false;
            line = QStringView(m_text.get() + m_pos, m_end - m_pos); // the last line has no end
            m_pos = m_scan = m_end;
            m_lastEnd = End::None;
            return true;
        }
    }
    bool failed() const { return m_failed; }
    End lastEnd() const { return m_lastEnd; }
    // Whether a line ended with CR LF: a file whose lines end with CR alone ends its last
    // line so too.
    bool crLfSeen() const { return m_crLfSeen; }

private:
    // Moves what is left to the front and decodes the next block after it.
    bool refill()
    {
        const qsizetype left = m_end - m_pos;
        if (m_pos > 0) {
            std::memmove(m_text.get(), m_text.get() + m_pos, size_t(left) * sizeof(char16_t));
            m_scan -= m_pos;
            m_pos = 0;
            m_end = left;
        }
        const qsizetype total = m_feed.total();
        qsizetype count = std::min(Block, total - m_offset);
        std::span<const char> key;
        if (m_scrambled) {
            key = ListFileScrambler::keyFrom(m_offset, total, count);
            count = qsizetype(key.size());
        }
        const char* bytes = m_feed.next(count);
        if (!bytes) {
            m_failed = true;
            return false;
        }
        if (m_scrambled) {
            ListFileScrambler::applyKey(bytes, key.data(), count, m_plain);
            bytes = m_plain;
        }
        if (m_end + count > m_capacity) { // a line longer than a block
            const qsizetype capacity = std::max(m_capacity * 2, m_end + count);
            auto grown = std::make_unique_for_overwrite<char16_t[]>(size_t(capacity));
            std::memcpy(grown.get(), m_text.get(), size_t(m_end) * sizeof(char16_t));
            m_text = std::move(grown);
            m_capacity = capacity;
        }
        m_tables.decode(bytes, count, m_text.get() + m_end);
        m_end += count;
        m_offset += count;
        return true;
    }

    ListFileReader::Feed& m_feed;
    const bool m_scrambled;
    const platform::AnsiTables& m_tables;
    qsizetype m_offset = 0; // the next byte to decode
    bool m_failed = false;
    End m_lastEnd = End::CrLf;
    bool m_crLfSeen = false;
    // The decoded text not yet handed out runs from m_pos to m_end; up to m_scan it holds no
    // carriage return.
    std::unique_ptr<char16_t[]> m_text = std::make_unique_for_overwrite<char16_t[]>(size_t(2 * Block));
    qsizetype m_capacity = 2 * Block;
    qsizetype m_pos = 0;
    qsizetype m_scan = 0;
    qsizetype m_end = 0;
    char m_plain[Block];
};

// Gathers the cell lines of one row and hands the row to the document in one piece when the
// lines move on to another row. The lines of a file come row by row, so each row is built
// once, in one allocation; a line that comes back to an earlier row takes that row up again.
class RowAssembler {
public:
    explicit RowAssembler(ListDocument& document) : m_document(document) {}

    // Row and column lie inside the document.
    void store(const ListFileLines::CellLine& line)
    {
        if (line.row != m_row) {
            flush();
            takeUp(line.row);
        }
        // Each field on its own: one that did not read keeps the cell's value.
        Slot& slot = m_slots[line.column];
        if (line.bold)
            slot.cell.Bold = *line.bold;
        if (line.italic)
            slot.cell.Italic = *line.italic;
        if (line.underline)
            slot.cell.Underline = *line.underline;
        if (line.color)
            slot.cell.Color = uint32_t(*line.color);
        setText(slot, line.text);
        m_extent = std::max(m_extent, line.column + 1);
    }

    void flush()
    {
        if (m_row == 0)
            return;
        for (int c = 1; c < m_extent; ++c) {
            m_cells[c - 1] = m_slots[c].cell;
            m_cells[c - 1].Text = QStringView(m_text).mid(m_slots[c].start, m_slots[c].length);
        }
        GridRow row;
        row.setCells(std::span<const GridCellView>(m_cells, size_t(std::max(m_extent - 1, 0))));
        m_document.setRow(m_row, std::move(row));
        m_row = 0;
    }

private:
    struct Slot {
        GridCellView cell; // its text is kept as start and length in m_text
        qsizetype start = 0;
        qsizetype length = 0;
    };
    static constexpr int Slots = ListDocument::MaxColumns + 1;

    void takeUp(int row)
    {
        m_row = row;
        m_text.resize(0);
        m_live = 0;
        std::fill(std::begin(m_slots), std::end(m_slots), Slot{});
        const GridRow& cells = m_document.row(row);
        m_extent = std::min(cells.extent(), Slots);
        for (int c = 1; c < m_extent; ++c) {
            const GridCell cell = cells.cell(c);
            m_slots[c].cell = GridCellView{QStringView(), cell.Bold, cell.Italic, cell.Underline, cell.Color};
            setText(m_slots[c], cells.textView(c));
        }
    }

    void setText(Slot& slot, QStringView text)
    {
        m_live += text.size() - slot.length;
        if (m_text.size() > 4 * m_live + 4096)
            compact(); // many lines wrote the same cells over and over
        slot.start = m_text.size();
        slot.length = text.size();
        m_text.append(text);
    }

    void compact()
    {
        QString kept;
        kept.reserve(m_live + 4096);
        for (Slot& slot : m_slots) {
            const qsizetype start = kept.size();
            kept.append(QStringView(m_text).mid(slot.start, slot.length));
            slot.start = start;
        }
        m_text = std::move(kept);
    }

    ListDocument& m_document;
    int m_row = 0; // 0 while no row is being gathered
    int m_extent = 0; // one past the highest column gathered
    Slot m_slots[Slots];
    QString m_text;
    qsizetype m_live = 0; // characters of m_text that cells still use
    GridCellView m_cells[Slots - 1];
};

// Every list file begins its header line and its row-count line with two backslashes, and
// each holds its count as a number: text of any other kind is not a document.
bool isHeaderLine(QStringView line)
{
    if (!line.startsWith(QLatin1String("\\\\")))
        return false;
    const auto header = ListFileLines::parseHeaderLine(line);
    return header && header->count;
}

bool isRowCountLine(QStringView line)
{
    return line.startsWith(QLatin1String("\\\\")) && ListFileLines::parseRowCountLine(line).has_value();
}

// The start of a header or row-count line that the end of the file cut off before its count
// was whole: one or both of its backslashes, and digits after them.
bool isCutCountStart(QStringView line)
{
    if (!QStringView(u"\\\\").startsWith(line.left(2)))
        return false;
    return std::all_of(line.begin() + std::min<qsizetype>(line.size(), 2), line.end(),
                       [](QChar c) { return c >= QLatin1Char('0') && c <= QLatin1Char('9'); });
}

platform::FileResult notAListFile(const QString& path)
{
    return {false, QStringLiteral("The file \"%1\" could not be opened: it is not a document of this program, or "
                                  "it is damaged (its first lines do not hold a document's column and row counts).")
                       .arg(path)};
}

bool insideDocument(const ListDocument& document, const ListFileLines::CellLine& line)
{
    // Row 0 and column 0 are the slots that hold no cell; a line for them shows nowhere, and
    // the document keeps nothing outside its rows and 32 columns.
    return line.row >= 1 && line.row <= document.rowCount() && line.column >= 1
           && line.column <= ListDocument::MaxColumns;
}

// Follows what a file shows of its end: whether its row count was read, which cells its
// lines filled, and how its last line ended; from that, whether it was cut short.
class CutWatch {
public:
    void countRead(int rows) { m_declaredRows = rows; }

    // A cell line the file ends with, without its line end, may have lost the end of its row
    // or column number ("#12" cut to "#1") and would then land in another cell. It is read
    // only where it comes after every cell read so far, as the lines of a whole file do: a
    // shortened number then points at a cell no earlier line filled.
    bool mayStore(const ListFileLines::CellLine& line, bool ended) const
    {
        return ended || line.row > m_lastRow || (line.row == m_lastRow && line.column > m_lastColumn);
    }
    void stored(const ListFileLines::CellLine& line)
    {
        m_lastRow = line.row;
        m_lastColumn = line.column;
        m_lastRowFound = std::max(m_lastRowFound, line.row);
    }

    // Empty for a whole file, and for one without a single byte, which is a new document. A
    // whole file ends its last line as it ends the others: with CR LF, or, where its lines end
    // with CR alone, with CR.
    std::optional<ListFileCut> cut(qsizetype bytes, const LineSource& lines) const
    {
        const bool lastLineEnded = lines.lastEnd() == LineSource::End::CrLf
                                   || (lines.lastEnd() == LineSource::End::Cr && !lines.crLfSeen());
        if (bytes == 0 || (m_declaredRows && lastLineEnded))
            return std::nullopt;
        return ListFileCut{m_declaredRows, m_lastRowFound};
    }

private:
    std::optional<int> m_declaredRows;
    int m_lastRow = 0;
    int m_lastColumn = 0;
    int m_lastRowFound = 0;
};

} // namespace

platform::FileResult ListFileReader::read(const QByteArray& bytes, ListDocument& document,
                                          const QString& path)
{
    Feed feed(bytes);
    return readFrom(feed, document, path);
}

platform::FileResult ListFileReader::readFile(const QString& path, ListDocument& document)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return {false, QStringLiteral("The file \"%1\" could not be read: %2.").arg(path, file.errorString())};
    Feed feed(file);
    return readFrom(feed, document, path);
}

platform::FileResult ListFileReader::readFrom(Feed& feed, ListDocument& document, const QString& path)
{
    const platform::AnsiTables* tables = platform::AnsiTables::get();
    if (!tables)
        return {false, QStringLiteral("The file \"%1\" could not be opened: this system cannot convert "
                                      "Windows-1250 text.").arg(path)};
    const QByteArray head = feed.head();
    ListDocument read;
    if (ListFileScrambler::looksScrambled(head)) {
        read.form = ListDocument::Form::Scrambled;
    } else if (head.size() == 3 && tables->character(uchar(head[0])) == u'#'
               && tables->character(uchar(head[1])) == u'@' && tables->character(uchar(head[2])) == u'#') {
        read.form = ListDocument::Form::Password;
    }
    const bool passwordForm = read.form != ListDocument::Form::Plain;
    const int headerLine = passwordForm ? 3 : 1;

    LineSource lines(feed, read.form == ListDocument::Form::Scrambled, *tables);
    RowAssembler rows(read);
    CutWatch ending;
    QStringView line;
    // A file that ends before its header or its row-count line is an empty document, the
    // way a cut-short write leaves one; but anything after a missing one is not a document.
    bool countsMissing = false;
    for (qint64 number = 1; lines.next(line); ++number) {
        if (passwordForm && number == 1)
            continue;
        if (passwordForm && number == 2)
            read.passwordLine = line.toString();
        if (number < headerLine)
            continue;
        if (line.isEmpty()) {
            countsMissing = countsMissing || number <= headerLine + 1;
            continue;
        }
        if (countsMissing)
            return notAListFile(path);
        // Only the last line of a file can lack its end: it was cut there.
        const bool ended = lines.lastEnd() != LineSource::End::None;
        if (number == headerLine) {
            if (!isHeaderLine(line)) {
                if (ended || !isCutCountStart(line))
                    return notAListFile(path);
                continue;
            }
            auto header = ListFileLines::parseHeaderLine(line);
            read.declaredColumnCount = header->count;
            read.columns = header->entries;
        } else if (number == headerLine + 1) {
            if (!isRowCountLine(line)) {
                if (ended || !isCutCountStart(line))
                    return notAListFile(path);
                continue;
            }
            const qint64 count = ListFileLines::parseRowCountLine(line).value_or(1);
            if (count > MaxRows)
                return {false, QStringLiteral("The file \"%1\" could not be opened: it declares %2 rows, "
                                              "more than a document can hold (%3).")
                                   .arg(path, line.mid(2).toString(), QString::number(MaxRows))};
            read.setRowCount(count < 1 ? 1 : int(count));
            if (ended)
                ending.countRead(read.rowCount()); // a count cut short may have lost digits
        } else if (auto cell = ListFileLines::parseCellLine(line)) {
            if (insideDocument(read, *cell) && ending.mayStore(*cell, ended)) {
                rows.store(*cell);
                ending.stored(*cell);
            }
        }
    }
    if (lines.failed())
        return {false, QStringLiteral("The file \"%1\" could not be read: %2.").arg(path, feed.error())};
    rows.flush();
    read.cut = ending.cut(feed.total(), lines);
    document = std::move(read);
    return {true, QString()};
}

} // namespace grid
