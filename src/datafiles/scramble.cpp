#include "datafiles/scramble.h"

#include <QFileInfo>

namespace datafiles {

QByteArray scrambled(QByteArray bytes)
{
    char* p = bytes.data();
    for (qsizetype i = 0, n = bytes.size(); i < n; ++i)
        p[i] = char(uchar(p[i]) ^ 0x80u);
    return bytes;
}

platform::FileResult ScrambleFile(const QString& path)
{
    if (!(QFileInfo(path).permissions() & QFileDevice::WriteOwner))
        return {false, QStringLiteral("The file \"%1\" is read-only.").arg(path)};
    QByteArray bytes;
    if (auto read = platform::readWholeFile(path, bytes); !read)
        return read;
    return platform::writeFileAtomically(path, scrambled(std::move(bytes)));
}

} // namespace datafiles
