#pragma once
// Writes a document as the bytes of a list file: the plain form, or the password form
// scrambled. Every line ends with CR LF; the text is Windows-1250.

#include <QByteArray>
#include <QString>

namespace grid {

class ListFileSource;

class ListFileWriter {
public:
    // Header line, row-count line, then one line for each cell with text, rows ascending and
    // columns 1 to the column count within a row.
    static QString plainText(const ListFileSource& source);
    // "#@#", the password line, then the plain form.
    static QString passwordText(const ListFileSource& source, const QString& passwordLine);

    static QByteArray plainBytes(const ListFileSource& source);
    static QByteArray scrambledBytes(const ListFileSource& source, const QString& passwordLine);

private:
    class Output;
    static void writePassword(Output& out, const QString& passwordLine);
    static void writeBody(Output& out, const ListFileSource& source);
    // The most characters the cell lines can take.
    static qsizetype cellLinesLength(const ListFileSource& source);
};

} // namespace grid
