#pragma once
// Reads a small data file in the line-file form. The file is read once and never changed
// in order to be read: its bytes are tried first as stored scrambled and then, where the
// file's form allows, as found plain; the state whose own lines pass the file's key test
// is taken. A file found plain and accepted is written back scrambled, as it rests.

#include <QString>
#include <QStringList>
#include <functional>
#include <optional>

namespace datafiles {

class LineFileReader {
public:
    enum class Status {
        Missing,    // no such file
        Unreadable, // it exists but could not be read
        Accepted,   // lines holds the file's values
        Rejected,   // neither state passed the key test; the file is left as it was
    };
    enum class PlainFiles { Accepted, Refused };

    struct Reading {
        Status status = Status::Missing;
        QStringList lines;
        bool foundPlain = false;
        QString error; // a sentence naming the file, when it was unreadable
        QByteArray plain; // the accepted state's bytes, for a last value that spans lines
    };

    // Tells whether the lines of one state are the file's real content.
    using KeyTest = std::function<bool(const QStringList& lines)>;
    // The key test of the files keyed by a number: line n (1-based) is there and numeric.
    static KeyTest numberOnLine(int n);

    static Reading read(const QString& path, const KeyTest& keyTest,
                        PlainFiles plainFiles = PlainFiles::Accepted);

    // The lines of plain bytes as a text-file reader sees them: split at LF, a CR before
    // it dropped, nothing after a final line end; each line decoded from Windows-1250.
    static QStringList linesOf(const QByteArray& plain);

    // Line n (1-based) when the file has it.
    static std::optional<QString> line(const QStringList& lines, int n);
};

} // namespace datafiles
