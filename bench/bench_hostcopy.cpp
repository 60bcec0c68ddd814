// Creating a host copies this machine's data tree into the shared folder. On a generated
// tree of 5,000 small documents in 50 folders and four files of 64 MiB:
// - BM_HostCopyBesideCpAndSync: the copy as host creation runs it (into a staging folder,
//   made durable once, then put in place by a rename), beside `cp -r` of the same tree
//   followed by `sync -f` of its copy, in every iteration; ratio is ours over theirs.
// - BM_HostCopyAgainBesideCpAndSync: the same copy again over the share it made before, as a
//   host that takes its own host over does (the share's files linked, every one replaced,
//   and the share looked at for what others wrote meanwhile), beside `cp -r` of the tree
//   over its earlier copy followed by `sync -f`.
// - BM_HostTreeCopyWindowPause: the copy as host creation runs it, on its worker thread
//   while the window shows its progress; the counter longest_pause_ms is the longest time the
//   window's event loop did not turn during the copy (what the user would feel as a frozen
//   window), beside copy_ms, the whole copy, which is the pause the window would suffer if
//   the copy ran on its own thread.

#include "besidebaseline.h"
#include "shell/hosttreecopy.h"

#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QProcess>
#include <QTemporaryDir>
#include <QTimer>
#include <benchmark/benchmark.h>
#include <functional>
#include <optional>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace {

constexpr int Folders = 50;
constexpr int FilesPerFolder = 100; // 5,000 files
constexpr int Files = Folders * FilesPerFolder;
constexpr int BigFiles = 4;
constexpr int BigFileBytes = 64 << 20;

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
        const QByteArray block(1 << 20, '\x5a');
        for (int b = 0; b < BigFiles; ++b) {
            const QByteArray name = base + "/folder" + QByteArray::number(b) + "/archive" + QByteArray::number(b) + ".QVT";
            const int fd = ::open(name.constData(), O_WRONLY | O_CREAT | O_CLOEXEC, 0644);
            if (fd < 0)
                continue;
            for (int written = 0; written < BigFileBytes; written += block.size())
                (void)!::write(fd, block.constData(), size_t(block.size()));
            ::close(fd);
        }
    }
};

Tree& tree()
{
    static Tree t;
    return t;
}

// Runs a program and tells whether it ended well.
bool run(const QString& program, const QStringList& arguments)
{
    return QProcess::execute(program, arguments) == 0;
}

// Where one turn copies: `cp -r` from cpFrom to theirs, our copy of the tree to ours.
struct Turn {
    QString cpFrom;
    QString theirs;
    QString ours;
};

// Times `cp -r` followed by `sync -f` of its copy, and our copy, by turns.
void besideCpAndSync(benchmark::State& state, const std::function<Turn()>& nextTurn)
{
    BesideBaseline figures;
    for (auto _ : state) {
        const Turn turn = nextTurn();
        platform::FileResult result{true, QString()};
        const bool ok = figures.turn(
            state,
            [&] {
                return run(QStringLiteral("cp"), {QStringLiteral("-r"), turn.cpFrom, turn.theirs})
                    && run(QStringLiteral("sync"), {QStringLiteral("-f"), turn.theirs});
            },
            [&] {
                result = shell::HostTreeCopy::copy(tree().root, turn.ours, nullptr);
                return bool(result);
            });
        if (!ok) {
            state.SkipWithError(result ? "cp or sync failed" : result.error.toUtf8().constData());
            break;
        }
    }
    figures.report(state);
    state.counters["files"] = Files + BigFiles;
}

void BM_HostCopyBesideCpAndSync(benchmark::State& state)
{
    std::optional<QTemporaryDir> target;
    besideCpAndSync(state, [&] {
        target.emplace();
        return Turn{tree().root, target->path() + QStringLiteral("/cp"), target->path() + QStringLiteral("/QVNET/RAzar")};
    });
}
BENCHMARK(BM_HostCopyBesideCpAndSync)->Unit(benchmark::kMillisecond)->Iterations(5)->UseManualTime();

void BM_HostCopyAgainBesideCpAndSync(benchmark::State& state)
{
    QTemporaryDir target;
    const Turn again{tree().root + QStringLiteral("/."), target.path() + QStringLiteral("/cp"),
                     target.path() + QStringLiteral("/QVNET/RAzar")};
    if (!run(QStringLiteral("cp"), {QStringLiteral("-r"), tree().root, again.theirs})
        || !shell::HostTreeCopy::copy(tree().root, again.ours, nullptr)) {
        state.SkipWithError("the first copy failed");
        return;
    }
    besideCpAndSync(state, [&] { return again; });
}
BENCHMARK(BM_HostCopyAgainBesideCpAndSync)->Unit(benchmark::kMillisecond)->Iterations(5)->UseManualTime();

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
