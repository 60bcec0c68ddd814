#include "shell/hosttreecopy.h"

#include "shell/stagedtreecopy.h"

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
    std::thread worker([&state, source, destination] {
        state.total = countFiles(source);
        state.result = StagedTreeCopy::copy(source, destination, [&state] { ++state.copied; });
        state.done = true;
    });

    QProgressDialog progress(parent);
    progress.setWindowTitle(QStringLiteral("Quorvane"));
    progress.setWindowModality(Qt::ApplicationModal);
    progress.setCancelButton(nullptr);
    progress.setAutoClose(false);
    progress.setAutoReset(false);
    progress.setMinimumDuration(400);
    progress.setLabelText(progressText(0, -1));
    progress.setRange(0, 0);

    QEventLoop loop;
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
    return state.result;
}

} // namespace shell
