#include "grid/documents/listfilewriter.h"

#include "grid/documents/listfilelines.h"
#include "grid/documents/listfilescrambler.h"
#include "grid/documents/listfilesource.h"
#include "platform/textcodec.h"

namespace grid {

// Collects the lines; when it makes bytes, it converts them a batch of whole lines at a time,
// so that a large document never stands as one long text beside its bytes.
class ListFileWriter::Output {
public:
    explicit Output(QByteArray* bytes = nullptr) : m_bytes(bytes) {}

    QString& line() { return m_text; }
    void endLine()
    {
        m_text.append(QLatin1String("\r\n"));
        if (m_bytes && m_text.size() >= BatchSize)
            flush();
    }
    void flush()
    {
        if (!m_bytes)
            return;
        m_bytes->append(platform::toAnsi(m_text));
        m_text.resize(0);
    }
    QString takeText() { return std::move(m_text); }

private:
    static constexpr qsizetype BatchSize = 1 << 20;
    QString m_text;
    QByteArray* m_bytes;
};

void ListFileWriter::writePassword(Output& out, const QString& passwordLine)
{
    out.line().append(QLatin1String("#@#"));
    out.endLine();
    out.line().append(passwordLine);
    out.endLine();
}

void ListFileWriter::writeBody(Output& out, const ListFileSource& source)
{
    ListFileLines::appendHeaderLine(out.line(), source);
    out.endLine();
    const int rows = source.rowCount();
    const int columns = source.columnCount();
    ListFileLines::appendRowCountLine(out.line(), rows);
    out.endLine();
    for (int r = 1; r <= rows; ++r) {
        for (int c = 1; c <= columns; ++c) {
            const ListFileCell cell = source.cell(r, c);
            if (cell.text.isEmpty())
                continue;
            ListFileLines::appendCellLine(out.line(), cell, r, c);
            out.endLine();
        }
    }
    out.flush();
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
    Output out(&bytes);
    writeBody(out, source);
    return bytes;
}

QByteArray ListFileWriter::scrambledBytes(const ListFileSource& source, const QString& passwordLine)
{
    QByteArray bytes;
    Output out(&bytes);
    writePassword(out, passwordLine);
    writeBody(out, source);
    ListFileScrambler::apply(bytes);
    return bytes;
}

} // namespace grid
