#include "datafiles/hostdatacopy.h"

#include "datafiles/postinglock.h"

#include <QDir>

namespace datafiles {

bool HostDataCopy::isPostingBookkeeping(const QString& relative)
{
    // The lock and the journals lie in the data folder itself, every one named after the
    // posting; the documents lie in the folders below it.
    return !relative.contains(QLatin1Char('/'))
        && (relative.startsWith(QLatin1String("posting.")) || relative.startsWith(QLatin1String(".posting.")));
}

std::vector<NewerFile> HostDataCopy::newerShared(const QString& local, const QString& shared)
{
    return StagedTreeCopy::newerFiles(local, shared, isPostingBookkeeping);
}

platform::FileResult HostDataCopy::copy(const QString& local, const QString& shared,
                                        const std::vector<NewerFile>& replaced,
                                        const std::function<void()>& fileCopied)
{
    if (!QDir().mkpath(shared))
        return {false, QStringLiteral("The folder \"%1\" could not be made.").arg(shared)};
    PostingLock lock(shared);
    switch (lock.acquire()) {
    case PostingLock::Status::Held:
        break;
    case PostingLock::Status::Busy:
        return {false, QStringLiteral("%1 is saving a posting into \"%2\" right now. Nothing was copied; please "
                                      "try again in a moment.")
                           .arg(lock.holder().describe(), shared)};
    case PostingLock::Status::Unfinished:
    case PostingLock::Status::Failed:
        return {false, lock.error()};
    }
    TreeCopyOptions options;
    options.replacedNewer = replaced;
    options.leftOut = isPostingBookkeeping;
    options.fileCopied = fileCopied;
    // A holder that was stopped for longer than its lease may have lost the lock to another
    // computer's posting: then the copy must not be put over what that posting writes.
    options.refusedBeforeExchange = [&lock, &shared]() -> std::optional<QString> {
        if (lock.stillHeld())
            return std::nullopt;
        return QStringLiteral("The posting lock of \"%1\" was taken over while the data folder was being copied. "
                              "Nothing was copied; please try again.")
            .arg(shared);
    };
    return StagedTreeCopy::copy(local, shared, options);
}

} // namespace datafiles
