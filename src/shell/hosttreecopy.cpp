#include "shell/hosttreecopy.h"

#include "datafiles/hostdatacopy.h"
#include "platform/prompts.h"
#include "platform/vb.h"

#include <QDir>
#include <QDirIterator>
#include <QEventLoop>
#include <QFileInfo>
#include <QProgressDialog>
#include <QTimer>
#include <algorithm>
#include <atomic>
#include <thread>

namespace shell {

namespace {

// How often the window looks at the worker's progress; it answers the user in between.
constexpr int UpdateEveryMs = 50;

QString absoluteFolder(const QString& folder)
{
    const QFileInfo info(folder);
    const QString canonical = info.canonicalFilePath();
    return QDir::cleanPath(canonical.isEmpty() ? info.absoluteFilePath() : canonical);
}

bool liesInside(const QString& inner, const QString& outer)
{
    const QString a = absoluteFolder(inner);
    const QString b = absoluteFolder(outer);
    return a == b || a.startsWith(b + QLatin1Char('/'));
}

// What the worker shares with the window.
struct CopyState {
    std::atomic<int> copied{0};
    std::atomic<int> total{-1};
    std::atomic<bool> done{false};
    platform::FileResult result;
};

QString progressText(int copied, int total)
{
    if (total < 0)
        return QStringLiteral("Preparing to copy the data folder to the host...");
    return QStringLiteral("Copying the data folder to the host: %1 of %2 files").arg(copied).arg(total);
}

// Runs the work on a worker thread while the window shows how far the copy has come.
void runShowingProgress(QWidget* parent, CopyState& state, const HostTreeCopy::ProgressSeen& seen,
                        const std::function<void()>& work)
{
    state.done = false;
    QEventLoop loop;
    std::thread worker([&state, &work, &loop] {
        work();
        state.done = true;
        // The window need not wait for its next look to go on.
        QMetaObject::invokeMethod(&loop, [&loop] { loop.quit(); }, Qt::QueuedConnection);
    });

    QProgressDialog progress(parent);
    progress.setWindowTitle(QStringLiteral("Quorvane"));
    progress.setWindowModality(Qt::ApplicationModal);
    progress.setCancelButton(nullptr);
    progress.setAutoClose(false);
    progress.setAutoReset(false);
    progress.setMinimumDuration(400);
    progress.setLabelText(progressText(state.copied, state.total));
    progress.setRange(0, 0);

    QTimer look;
    look.setInterval(UpdateEveryMs);
    QObject::connect(&look, &QTimer::timeout, &loop, [&] {
        const int total = state.total;
        const int copied = state.copied;
        if (total >= 0 && progress.maximum() != total)
            progress.setRange(0, std::max(total, 1));
        progress.setLabelText(progressText(copied, total));
        progress.setValue(std::min(copied, std::max(total, 0)));
        if (seen)
            seen(copied, total);
        if (state.done)
            loop.quit();
    });
    look.start();
    loop.exec();
    worker.join();
    if (seen)
        seen(state.copied, state.total);
}

// Whether the user lets this machine's copies replace the newer files of the share; keeping
// the share's files is the default.
bool replaceNewerShared(const std::vector<datafiles::NewerFile>& newer, const QString& shared)
{
    const datafiles::NewerFile& newest = newer.front();
    const QString when = platform::vb::GeneralDate(newest.modified);
    const QString text = newer.size() == 1
        ? QStringLiteral("The shared folder \"%1\" holds a file that is newer than this computer's copy of the "
                         "same name: \"%2\", saved %3.\n\nReplace it with this computer's older copy? No keeps "
                         "the shared file.")
              .arg(shared, newest.path, when)
        : QStringLiteral("The shared folder \"%1\" holds %2 files that are newer than this computer's copies of "
                         "the same names. The newest is \"%3\", saved %4.\n\nReplace them with this computer's "
                         "older copies? No keeps the shared files.")
              .arg(shared, QString::number(newer.size()), newest.path, when);
    return platform::prompts().MsgBox(text, platform::MsgStyle::YesNoQuestionNo) == platform::Answer::Yes;
}

} // namespace

int HostTreeCopy::countFiles(const QString& folder)
{
    int count = 0;
    QDirIterator it(folder, QDir::Files | QDir::Hidden | QDir::System | QDir::NoSymLinks,
                    QDirIterator::Subdirectories);
    while (it.hasNext()) {
        it.next();
        ++count;
    }
    return count;
}

platform::FileResult HostTreeCopy::copy(const QString& source, const QString& destination, QWidget* parent,
                                        const ProgressSeen& seen)
{
    if (liesInside(destination, source))
        return {false, QStringLiteral("The folder \"%1\" lies inside the data folder \"%2\" and cannot hold "
                                      "its copy.")
                           .arg(destination, source)};

    CopyState state;
    std::vector<datafiles::NewerFile> newer;
    runShowingProgress(parent, state, seen, [&] {
        state.total = countFiles(source);
        newer = datafiles::HostDataCopy::newerShared(source, destination);
    });
    std::vector<datafiles::NewerFile> replaced;
    if (!newer.empty() && replaceNewerShared(newer, destination))
        replaced = newer;
    runShowingProgress(parent, state, seen, [&] {
        state.result = datafiles::HostDataCopy::copy(source, destination, replaced, [&state] { ++state.copied; });
    });
    return state.result;
}

} // namespace shell
