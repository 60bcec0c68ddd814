#include "posting/postingchecks.h"

#include "datafiles/fileprocedures.h"
#include "datafiles/settingsstore.h"
#include "posting/filechangeset.h"
#include "posting/postingjournal.h"

#include <QFile>
#include <QFileInfo>
#include <algorithm>
#include <cerrno>
#include <cmath>
#include <cstring>
#include <unistd.h>

namespace posting {

namespace {

std::optional<QString> writeProblem(const QString& path)
{
    const auto fails = [](const QString& entry, int mode) {
        return ::access(QFile::encodeName(entry).constData(), mode) != 0;
    };
    const QString folder = QFileInfo(path).absolutePath();
    int error = 0;
    if (fails(folder, W_OK | X_OK))
        error = errno;
    else if (QFileInfo::exists(path) && fails(path, W_OK))
        error = errno;
    if (error == 0)
        return std::nullopt;
    return QStringLiteral("The file \"%1\" could not be written: %2.")
        .arg(path, QString::fromLocal8Bit(std::strerror(error)));
}

} // namespace

CheckResult refuse(Refusal refusal, const QString& text, const QString& title, int style)
{
    return {refusal, {text, title, style}};
}

CheckResult checkNetwork(const datafiles::SettingsStore& store, const QString& kindFolder,
                         const QString& kindName)
{
    if (store.networkMode() == datafiles::NetworkMode::SingleMachine)
        return {};
    // Either folder will do, in both modes; an empty one names no folder at all.
    const auto reachable = [&](const QString& hostFolder) {
        return !hostFolder.isEmpty()
            && datafiles::FolderExists(hostFolder + QStringLiteral("QVNET/RAzar/") + kindFolder);
    };
    if (!reachable(store.MyHostSystem.value()) && !reachable(store.lblConnectedtohostsystem.value()))
        return refuse(Refusal::NetworkFolderMissing,
                      QStringLiteral("Network connection error. Can't find Network %1 Directory.").arg(kindName));
    if (store.OptionUser.value() && store.CheckReadWrite.Value.value() == 0)
        return refuse(Refusal::NetworkUserMayNotWrite,
                      QStringLiteral("Network users are not allowed to edit files. Contact your "
                                     "network host for assistance. "));
    return {};
}

CheckResult completeEarlierPosting()
{
    const PendingPosting pending = CompletePendingPosting();
    if (pending.state == PendingPosting::State::Failed)
        return refuse(Refusal::PendingPostingUnfinished, pending.message);
    return {};
}

CheckResult checkWritable(const FileChangeSet& files)
{
    std::vector<QString> paths = files.paths();
    paths.push_back(PostingJournal::path());
    for (const QString& path : paths)
        if (const auto problem = writeProblem(path))
            return refuse(Refusal::NotWritable, *problem);
    return {};
}

bool sameAmount(double a, double b)
{
    return std::fabs(a - b) <= 1e-9 * std::max({1.0, std::fabs(a), std::fabs(b)});
}

bool moreThan(double a, double b)
{
    return a > b && !sameAmount(a, b);
}

} // namespace posting
