// Creating a host copies this machine's data tree into the shared folder. On a generated
// tree of 5,000 small documents in 50 folders:
// - BM_CopyFolderTree: the copy itself (every file written safely, through a temporary file
//   renamed into place), with `cp -r` of the same tree timed beside it in every iteration;
//   the counters give files per second for both and their ratio (ours over cp; above 1 is
//   faster).
// - BM_HostTreeCopyWindowPause: the copy as host creation runs it, on its worker thread
//   while the window shows its progress; the counter longest_pause_ms is the longest time the
//   window's event loop did not turn during the copy (what the user would feel as a frozen
//   window), beside copy_ms, the whole copy, which is the pause the window would suffer if
//   the copy ran on its own thread.

#include "datafiles/fileprocedures.h"
#include "shell/hosttreecopy.h"

#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QProcess>
#include <QTemporaryDir>
#include <QTimer>
#include <benchmark/benchmark.h>
#include <chrono>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace {

constexpr int Folders = 50;
constexpr int FilesPerFolder = 100; // 5,000 files
constexpr int Files = Folders * FilesPerFolder;

struct Tree {
    QTemporaryDir dir;
    QString root;
    Tree()
    {
        root = dir.path() + QStringLiteral("/RAzar");
        const QByteArray base = QFile::encodeName(root);
        ::mkdir(base.constData(), 0755);
        const QByteArray content(600, 'x');
        for (int f = 0; f < Folders; ++f) {
            const QByteArray folder = base + "/folder" + QByteArray::number(f);
            ::mkdir(folder.constData(), 0755);
            for (int i = 0; i < FilesPerFolder; ++i) {
                const QByteArray name = folder + "/document" + QByteArray::number(i) + ".QVT";
                const int fd = ::open(name.constData(), O_WRONLY | O_CREAT | O_CLOEXEC, 0644);
                if (fd >= 0) {
                    (void)!::write(fd, content.constData(), size_t(content.size()));
                    ::close(fd);
                }
            }
        }
    }
};

Tree& tree()
{
    static Tree t;
    return t;
}

double seconds(std::chrono::steady_clock::duration d)
{
    return std::chrono::duration<double>(d).count();
}

void BM_CopyFolderTree(benchmark::State& state)
{
    const QString source = tree().root;
    double ours = 0;
    double cp = 0;
    for (auto _ : state) {
        QTemporaryDir target;
        const auto start = std::chrono::steady_clock::now();
        const platform::FileResult result =
            datafiles::CopyFolderTree(source, target.path() + QStringLiteral("/ours"), true);
        const auto middle = std::chrono::steady_clock::now();
        QProcess::execute(QStringLiteral("cp"), {QStringLiteral("-r"), source, target.path() + QStringLiteral("/cp")});
        const auto end = std::chrono::steady_clock::now();
        if (!result)
            state.SkipWithError(result.error.toUtf8().constData());
        ours += seconds(middle - start);
        cp += seconds(end - middle);
    }
    const double n = double(state.iterations());
    state.counters["ours_files_per_s"] = Files * n / ours;
    state.counters["cp_files_per_s"] = Files * n / cp;
    state.counters["ratio_ours_over_cp"] = cp / ours;
}
BENCHMARK(BM_CopyFolderTree)->Unit(benchmark::kMillisecond)->UseRealTime()->Iterations(3);

void BM_HostTreeCopyWindowPause(benchmark::State& state)
{
    const QString source = tree().root;
    double longest = 0;
    double whole = 0;
    for (auto _ : state) {
        QTemporaryDir target;
        // A timer of the window's event loop: the gap between its turns is how long the
        // window could not answer.
        QElapsedTimer sinceTurn;
        double longestHere = 0;
        QTimer turn;
        turn.setInterval(5);
        QObject::connect(&turn, &QTimer::timeout, [&] {
            longestHere = std::max(longestHere, double(sinceTurn.nsecsElapsed()) / 1e6);
            sinceTurn.restart();
        });
        turn.start();
        sinceTurn.start();
        QElapsedTimer copying;
        copying.start();
        const platform::FileResult result =
            shell::HostTreeCopy::copy(source, target.path() + QStringLiteral("/QVNET/RAzar"), nullptr);
        whole += double(copying.nsecsElapsed()) / 1e6;
        turn.stop();
        if (!result)
            state.SkipWithError(result.error.toUtf8().constData());
        longest = std::max(longest, longestHere);
    }
    state.counters["longest_pause_ms"] = longest;
    state.counters["copy_ms"] = whole / double(state.iterations());
}
BENCHMARK(BM_HostTreeCopyWindowPause)->Unit(benchmark::kMillisecond)->UseRealTime()->Iterations(3);

} // namespace
