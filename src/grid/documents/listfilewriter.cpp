#include "grid/documents/listfilewriter.h"

#include "grid/documents/listfilelines.h"
#include "grid/documents/listfilescrambler.h"
#include "grid/documents/listfilesource.h"
#include "platform/textcodec.h"

namespace grid {

namespace {
const QLatin1String LineEnd("\r\n");
}

void ListFileWriter::appendBody(QString& out, const ListFileSource& source)
{
    ListFileLines::appendHeaderLine(out, source);
    out.append(LineEnd);
    const int rows = source.rowCount();
    const int columns = source.columnCount();
    ListFileLines::appendRowCountLine(out, rows);
    out.append(LineEnd);
    for (int r = 1; r <= rows; ++r) {
        for (int c = 1; c <= columns; ++c) {
            const ListFileCell cell = source.cell(r, c);
            if (cell.text.isEmpty())
                continue;
            ListFileLines::appendCellLine(out, cell, r, c);
            out.append(LineEnd);
        }
    }
}

QString ListFileWriter::plainText(const ListFileSource& source)
{
    QString out;
    appendBody(out, source);
    return out;
}

QString ListFileWriter::passwordText(const ListFileSource& source, const QString& passwordLine)
{
    QString out = QStringLiteral("#@#");
    out.append(LineEnd);
    out.append(passwordLine);
    out.append(LineEnd);
    appendBody(out, source);
    return out;
}

QByteArray ListFileWriter::plainBytes(const ListFileSource& source)
{
    return platform::toAnsi(plainText(source));
}

QByteArray ListFileWriter::scrambledBytes(const ListFileSource& source, const QString& passwordLine)
{
    QByteArray bytes = platform::toAnsi(passwordText(source, passwordLine));
    ListFileScrambler::apply(bytes);
    return bytes;
}

} // namespace grid
