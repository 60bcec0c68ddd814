#include "posting/storedlines.h"

#include "datafiles/fileprocedures.h"
#include "datafiles/linefilereader.h"
#include "datafiles/scramble.h"
#include "platform/safefile.h"

namespace posting {

StoredLines StoredLines::read(const QString& path, int keyLine)
{
    StoredLines stored;
    if (!datafiles::FileExists(path))
        return stored;
    QByteArray bytes;
    if (auto result = platform::readWholeFile(path, bytes); !result) {
        stored.status = Status::Unreadable;
        stored.error = result.error;
        return stored;
    }
    const auto keyTest = datafiles::LineFileReader::numberOnLine(keyLine);
    for (const QByteArray& plain : {datafiles::scrambled(bytes), bytes}) {
        QStringList lines = datafiles::LineFileReader::linesOf(plain);
        if (keyTest(lines)) {
            stored.status = Status::Read;
            stored.lines = std::move(lines);
            return stored;
        }
    }
    stored.status = Status::Unreadable;
    stored.error = QStringLiteral("The file \"%1\" could not be read: it is not a file Quorvane "
                                  "wrote, or it is damaged.").arg(path);
    return stored;
}

} // namespace posting
