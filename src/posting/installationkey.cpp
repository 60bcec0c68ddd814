#include "posting/installationkey.h"

#include "datafiles/datafoldertree.h"

#include <QCryptographicHash>
#include <QFileInfo>
#include <QMessageAuthenticationCode>
#include <QRandomGenerator>

namespace posting {

namespace {

constexpr qsizetype KeySize = 32;

} // namespace

QString InstallationKey::path()
{
    return datafiles::programPath(QStringLiteral("System/RAzar/posting.key"));
}

std::optional<QByteArray> InstallationKey::read()
{
    QByteArray key;
    if (!platform::readWholeFile(path(), key) || key.size() != KeySize)
        return std::nullopt;
    return key;
}

platform::FileResult InstallationKey::ensure(QByteArray& key)
{
    if (const auto existing = read()) {
        key = *existing;
        return {true, QString()};
    }
    QByteArray made(KeySize, Qt::Uninitialized);
    QRandomGenerator::system()->fillRange(reinterpret_cast<quint32*>(made.data()), KeySize / 4);
    // Made in one step, so that two copies starting their first posting together end up
    // with one key; whichever lost reads the winner's.
    const platform::FileResult created = platform::createExclusive(path(), made, {0600, {}});
    if (const auto existing = read()) {
        key = *existing;
        return {true, QString()};
    }
    return created.ok ? platform::FileResult{false, QStringLiteral("The file \"%1\" could not be read.").arg(path())}
                      : created;
}

QString InstallationKey::fingerprint()
{
    const auto key = read();
    if (!key)
        return QStringLiteral("-");
    return QString::fromLatin1(QCryptographicHash::hash(*key, QCryptographicHash::Sha256).toHex().left(16));
}

QByteArray InstallationKey::seal(const QByteArray& key, const QByteArray& message)
{
    if (key.isEmpty())
        return {};
    return QMessageAuthenticationCode::hash(message, key, QCryptographicHash::Sha256);
}

} // namespace posting
