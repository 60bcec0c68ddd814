#include "datafiles/linefilewriter.h"

#include "datafiles/scramble.h"
#include "platform/textcodec.h"

namespace datafiles {

QByteArray LineFileWriter::plainBytes() const
{
    QByteArray bytes;
    for (qsizetype i = 0; i < m_values.size(); ++i) {
        bytes += platform::toAnsi(m_values.at(i));
        if (i + 1 < m_values.size() || m_lastLineEnd == LastLineEnd::Written)
            bytes += "\r\n";
    }
    return bytes;
}

QByteArray LineFileWriter::scrambledBytes() const
{
    return scrambled(plainBytes());
}

DataFileWrite LineFileWriter::writeTo(const QString& path) const
{
    return writeDataFile(path, scrambledBytes());
}

} // namespace datafiles
