#include "grid/documents/listfilewriter.h"

#include "grid/documents/listfilelines.h"
#include "grid/documents/listfilescrambler.h"
#include "grid/documents/listfilesource.h"
#include "platform/textcodec.h"

#include <algorithm>

namespace grid {

// Collects the lines. When it makes bytes, it converts them a batch of whole lines at a time
// and scrambles each batch as soon as it is converted, while its bytes are still in the
// processor's cache, so that a large document never stands as one long text beside its bytes.
class ListFileWriter::Output {
public:
    Output() = default;
    Output(QByteArray* bytes, bool scramble) : m_bytes(bytes), m_scramble(scramble)
    {
        m_text.reserve(BatchSize + 256);
    }

    // Room for `characters` more characters of text, so that the bytes of a long document
    // are not copied again and again as they grow.
    void reserve(qsizetype characters)
    {
        if (m_bytes)
            m_bytes->reserve(m_bytes->size() + m_text.size() + characters);
    }
    QString& line() { return m_text; }
    void endLine()
    {
        m_text.append(QLatin1String("\r\n"));
        if (m_bytes && m_text.size() >= BatchSize)
            convert();
    }
    void finish()
    {
        if (!m_bytes)
            return;
        convert();
        if (m_scramble)
            ListFileScrambler::finishUnbounded(m_bytes->data(), m_bytes->size());
    }
    QString takeText() { return std::move(m_text); }

private:
    void convert()
    {
        const platform::AnsiTables* tables = platform::AnsiTables::get();
        if (!tables)
            return; // the caller has made sure there are tables
        const qsizetype start = m_bytes->size();
        m_bytes->resize(start + m_text.size());
        const qsizetype count = tables->encode(reinterpret_cast<const char16_t*>(m_text.constData()),
                                               m_text.size(), m_bytes->data() + start);
        m_bytes->resize(start + count);
        m_text.resize(0);
        if (!m_scramble)
            return;
        char* data = m_bytes->data();
        for (qsizetype offset = start; offset < start + count;) {
            const auto key = ListFileScrambler::keyFrom(offset, ListFileScrambler::Unbounded, start + count - offset);
            ListFileScrambler::applyKey(data + offset, key.data(), qsizetype(key.size()));
            offset += qsizetype(key.size());
        }
    }

    // Characters converted at a time: a batch and its bytes stay in the processor's cache.
    static constexpr qsizetype BatchSize = 1 << 16;
    QString m_text;
    QByteArray* m_bytes = nullptr;
    bool m_scramble = false;
};

void ListFileWriter::writePassword(Output& out, const QString& passwordLine)
{
    out.line().append(QLatin1String("#@#"));
    out.endLine();
    out.line().append(passwordLine);
    out.endLine();
}

qsizetype ListFileWriter::cellLinesLength(const ListFileSource& source)
{
    // The fields after a cell's text at their longest: "#", a colour of 11 characters, "#",
    // the three flags, "#", a column of 2, "#", a row of 10, CR LF.
    constexpr qsizetype tail = 1 + 11 + 1 + 3 + 1 + 2 + 1 + 10 + 2;
    qsizetype length = 0;
    const int rows = source.rowCount();
    const int columns = source.columnCount();
    for (int r = 1; r <= rows; ++r) {
        const GridRow& cells = source.row(r);
        const int last = std::min(columns, cells.extent() - 1);
        for (int c = 1; c <= last; ++c) {
            const qsizetype text = cells.textView(c).size();
            if (text > 0)
                length += text + tail;
        }
    }
    return length;
}

void ListFileWriter::writeBody(Output& out, const ListFileSource& source)
{
    ListFileLines::appendHeaderLine(out.line(), source);
    out.endLine();
    const int rows = source.rowCount();
    const int columns = source.columnCount();
    ListFileLines::appendRowCountLine(out.line(), rows);
    out.endLine();
    out.reserve(cellLinesLength(source));
    for (int r = 1; r <= rows; ++r) {
        const GridRow& cells = source.row(r);
        const int last = std::min(columns, cells.extent() - 1);
        for (int c = 1; c <= last; ++c) {
            if (cells.textView(c).isEmpty())
                continue;
            ListFileLines::appendCellLine(out.line(), cells, r, c);
            out.endLine();
        }
    }
    out.finish();
}

QString ListFileWriter::plainText(const ListFileSource& source)
{
    Output out;
    writeBody(out, source);
    return out.takeText();
}

QString ListFileWriter::passwordText(const ListFileSource& source, const QString& passwordLine)
{
    Output out;
    writePassword(out, passwordLine);
    writeBody(out, source);
    return out.takeText();
}

QByteArray ListFileWriter::plainBytes(const ListFileSource& source)
{
    QByteArray bytes;
    Output out(&bytes, false);
    writeBody(out, source);
    return bytes;
}

QByteArray ListFileWriter::scrambledBytes(const ListFileSource& source, const QString& passwordLine)
{
    QByteArray bytes;
    Output out(&bytes, true);
    writePassword(out, passwordLine);
    writeBody(out, source);
    return bytes;
}

} // namespace grid
