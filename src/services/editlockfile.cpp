#include "services/editlockfile.h"

#include "datafiles/fileprocedures.h"
#include "platform/textcodec.h"

#include <QFile>

namespace services {

QString EditLockFile::pathOf(const QString& document)
{
    return document + QStringLiteral(".tmp");
}

std::optional<QString> EditLockFile::holderOf(const QString& document)
{
    const QString lock = pathOf(document);
    if (!datafiles::FileExists(lock))
        return std::nullopt;
    QByteArray bytes;
    if (!platform::readWholeFile(lock, bytes))
        return QString();
    const qsizetype end = bytes.indexOf('\n');
    QByteArray line = end < 0 ? bytes : bytes.left(end);
    if (const qsizetype cr = line.indexOf('\r'); cr >= 0)
        line.truncate(cr);
    return platform::fromAnsi(line);
}

// A name the code page cannot hold is stored with "?" in its place, so it is compared in
// the form it has in the file.
bool EditLockFile::namesComputer(const QString& holder, const QString& computer)
{
    return holder == platform::fromAnsi(platform::toAnsi(computer));
}

HeldLocks::Take HeldLocks::take(const QString& document, const QString& computer)
{
    const platform::FileResult made =
        platform::createExclusive(EditLockFile::pathOf(document), platform::toAnsi(computer));
    if (made) {
        m_held.insert(document);
        return {Take::Status::Held, computer, QString()};
    }
    const auto holder = EditLockFile::holderOf(document);
    if (!holder)
        return {Take::Status::Failed, QString(), made.error};
    if (!EditLockFile::namesComputer(*holder, computer))
        return {Take::Status::Foreign, *holder, QString()};
    m_held.insert(document);
    return {Take::Status::Held, *holder, QString()};
}

void HeldLocks::release(const QString& computer, const QString& keep)
{
    const QSet<QString> held = m_held;
    for (const QString& document : held) {
        if (document == keep)
            continue;
        m_held.remove(document);
        const auto holder = EditLockFile::holderOf(document);
        if (holder && EditLockFile::namesComputer(*holder, computer))
            QFile::remove(EditLockFile::pathOf(document)); // a failure leaves it; nothing to tell
    }
}

} // namespace services
