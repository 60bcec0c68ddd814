#include "datafiles/linefilereader.h"

#include "datafiles/datafilewriter.h"
#include "datafiles/fileprocedures.h"
#include "datafiles/scramble.h"
#include "platform/safefile.h"
#include "platform/textcodec.h"
#include "platform/vb.h"

namespace datafiles {

LineFileReader::Reading LineFileReader::read(const QString& path, const KeyTest& keyTest,
                                             PlainFiles plainFiles)
{
    Reading reading;
    if (!FileExists(path))
        return reading;
    QByteArray stored;
    if (auto result = platform::readWholeFile(path, stored); !result) {
        reading.status = Status::Unreadable;
        reading.error = result.error;
        return reading;
    }
    reading.plain = scrambled(stored);
    reading.lines = linesOf(reading.plain);
    if (keyTest(reading.lines)) {
        reading.status = Status::Accepted;
        return reading;
    }
    reading.plain.clear();
    reading.lines.clear();
    if (plainFiles == PlainFiles::Refused) {
        reading.status = Status::Rejected;
        return reading;
    }
    QStringList plainLines = linesOf(stored);
    if (!keyTest(plainLines)) {
        reading.status = Status::Rejected;
        return reading;
    }
    reading.status = Status::Accepted;
    reading.foundPlain = true;
    reading.lines = std::move(plainLines);
    reading.plain = stored;
    writeDataFile(path, scrambled(stored)); // it rests scrambled; a failure leaves it plain
    return reading;
}

QStringList LineFileReader::linesOf(const QByteArray& plain)
{
    QStringList lines;
    qsizetype start = 0;
    while (start < plain.size()) {
        qsizetype end = plain.indexOf('\n', start);
        const qsizetype next = end < 0 ? plain.size() : end + 1;
        if (end < 0)
            end = plain.size();
        else if (end > start && plain.at(end - 1) == '\r')
            --end;
        lines.append(platform::fromAnsi(plain.mid(start, end - start)));
        start = next;
    }
    return lines;
}

LineFileReader::KeyTest LineFileReader::numberOnLine(int n)
{
    return [n](const QStringList& lines) {
        const auto key = line(lines, n);
        return key && platform::vb::IsNumeric(*key);
    };
}

std::optional<QString> LineFileReader::line(const QStringList& lines, int n)
{
    if (n < 1 || n > lines.size())
        return std::nullopt;
    return lines.at(n - 1);
}

} // namespace datafiles
