#include "windows/payments/heldpaymentlock.h"

#include "datafiles/fileprocedures.h"
#include "datafiles/paymentlockfile.h"
#include "platform/textcodec.h"

#include <QFile>
#include <sys/stat.h>

namespace windows {

using datafiles::PaymentLockFile;

std::optional<HeldPaymentLock::FileIdentity> HeldPaymentLock::identityOf(const QString& path)
{
    struct stat status {};
    if (::stat(QFile::encodeName(path).constData(), &status) != 0)
        return std::nullopt;
    return FileIdentity{uint64_t(status.st_dev), uint64_t(status.st_ino), int64_t(status.st_mtim.tv_sec),
                        int64_t(status.st_mtim.tv_nsec)};
}

// The lock stores the name through the code page, so it is compared in that form.
bool HeldPaymentLock::namesUser(const QString& headerPath, const QString& userName)
{
    return PaymentLockFile::exists(headerPath)
        && PaymentLockFile::holder(headerPath) == platform::fromAnsi(platform::toAnsi(userName));
}

void HeldPaymentLock::adoptIfWritten(const QString& headerPath, const QString& userName)
{
    m_headerPath.clear();
    if (!namesUser(headerPath, userName))
        return;
    if (const auto identity = identityOf(PaymentLockFile::pathFor(headerPath))) {
        m_headerPath = headerPath;
        m_identity = *identity;
    }
}

void HeldPaymentLock::release(const QString& userName)
{
    const QString headerPath = std::exchange(m_headerPath, QString());
    if (headerPath.isEmpty())
        return;
    if (identityOf(PaymentLockFile::pathFor(headerPath)) == m_identity && namesUser(headerPath, userName))
        PaymentLockFile::release(headerPath);
}

} // namespace windows
