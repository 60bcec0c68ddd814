#include "datafiles/paymentlockfile.h"

#include "datafiles/fileprocedures.h"
#include "datafiles/linefilereader.h"
#include "datafiles/postinglock.h"
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

QString PaymentLockFile::ownerPathFor(const QString& headerPath)
{
    return pathFor(headerPath) + QStringLiteral(".owner");
}

PaymentLockFile::Take PaymentLockFile::take(const QString& headerPath, const QString& userName)
{
    const QString lock = pathFor(headerPath);
    if (platform::createExclusive(lock, platform::toAnsi(userName))) {
        HideFile(lock);
        LockHolder owner = PostingLock::self();
        owner.token = PostingLock::machineId();
        (void)platform::writeFileAtomically(ownerPathFor(headerPath), PostingLock::encode(owner, 0));
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
    QFile::remove(ownerPathFor(headerPath));
}

bool PaymentLockFile::isLeftByEndedProcess(const QString& headerPath, const QString& userName)
{
    if (!exists(headerPath) || holder(headerPath) != platform::fromAnsi(platform::toAnsi(userName)))
        return false;
    QByteArray bytes;
    if (!platform::readWholeFile(ownerPathFor(headerPath), bytes))
        return false;
    const std::optional<LockHolder> owner = PostingLock::decode(bytes);
    if (!owner)
        return false;
    const LockHolder me = PostingLock::self();
    // The same computer: its name and machine id. Then its process must have ended.
    if (owner->computer != me.computer || owner->token != PostingLock::machineId() || owner->token.isEmpty())
        return false;
    return PostingLock::hasEnded(*owner);
}

} // namespace datafiles
