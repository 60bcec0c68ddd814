#include "datafiles/paymentlockfile.h"

#include "datafiles/fileprocedures.h"
#include "datafiles/linefilereader.h"
#include "platform/safefile.h"
#include "platform/textcodec.h"

#include <QFile>

namespace datafiles {

QString PaymentLockFile::pathFor(const QString& headerPath)
{
    return headerPath + QStringLiteral(".tmp");
}

bool PaymentLockFile::exists(const QString& headerPath)
{
    return FileExists(pathFor(headerPath));
}

QString PaymentLockFile::holder(const QString& headerPath)
{
    QByteArray bytes;
    if (!platform::readWholeFile(pathFor(headerPath), bytes))
        return QString();
    return LineFileReader::linesOf(bytes).value(0);
}

PaymentLockFile::Take PaymentLockFile::take(const QString& headerPath, const QString& userName)
{
    const QString lock = pathFor(headerPath);
    if (platform::createExclusive(lock, platform::toAnsi(userName))) {
        HideFile(lock);
        return Take::Taken;
    }
    return FileExists(lock) ? Take::HeldByOther : Take::Failed;
}

void PaymentLockFile::release(const QString& headerPath)
{
    const QString lock = pathFor(headerPath);
    if (!FileExists(lock))
        return;
    UnhideFile(lock);
    QFile::remove(lock);
}

} // namespace datafiles
