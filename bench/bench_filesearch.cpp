// The file search on a generated tree of 100,000 files in 5,000 folders, searched for
// "*.QVI", against GNU find on the same tree in the same run: every iteration times our
// search and then `find <tree> -type f -iname '*.QVI'`, and the counters give the files of
// the tree searched per second for both and their ratio (ours over find; above 1 is faster).
// Two forms of ours: the walk alone, and the whole window (worker thread, hand-over and the
// result list filled), from pressing Find to "Done".

#include "datafiles/settingsstore.h"
#include "shell/filesearchhost.h"
#include "shell/filesearchwalk.h"
#include "shell/frmfilesearch.h"

#include <QDir>
#include <QFile>
#include <QLabel>
#include <QListWidget>
#include <QProcess>
#include <QPushButton>
#include <QTemporaryDir>
#include <benchmark/benchmark.h>
#include <chrono>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace {

constexpr int TopFolders = 50;
constexpr int SubFoldersEach = 99;  // 50 + 50 * 99 = 5,000 folders
constexpr int FilesPerFolder = 20;  // 100,000 files
constexpr int Files = (TopFolders + TopFolders * SubFoldersEach) * FilesPerFolder;
const char* const Extensions[] = {".QVI", ".qvi", ".QVC", ".QVT", ".QVTH", ".txt", ".QVI.bak", ".xls"};
// ".QVI" and ".qvi": file numbers 0, 1, 8, 9, 16 and 17 of each folder.
constexpr int Matches = (Files / FilesPerFolder) * 6;

void fillFolder(const QByteArray& folder)
{
    for (int i = 0; i < FilesPerFolder; ++i) {
        const QByteArray name = folder + "/file" + QByteArray::number(i) + Extensions[i % 8];
        const int fd = ::open(name.constData(), O_WRONLY | O_CREAT | O_CLOEXEC, 0644);
        if (fd >= 0)
            ::close(fd);
    }
}

struct Tree {
    QTemporaryDir dir;
    QString root;
    Tree()
    {
        root = dir.path();
        const QByteArray base = QFile::encodeName(root);
        for (int t = 0; t < TopFolders; ++t) {
            const QByteArray top = base + "/group" + QByteArray::number(t);
            ::mkdir(top.constData(), 0755);
            fillFolder(top);
            for (int s = 0; s < SubFoldersEach; ++s) {
                const QByteArray sub = top + "/folder" + QByteArray::number(s);
                ::mkdir(sub.constData(), 0755);
                fillFolder(sub);
            }
        }
    }
};

Tree& tree()
{
    static Tree t;
    return t;
}

// The baseline: GNU find over the same tree, its output read and its lines counted.
int runFind(const QString& root)
{
    QProcess find;
    find.start(QStringLiteral("find"), {root, QStringLiteral("-type"), QStringLiteral("f"),
                                        QStringLiteral("-iname"), QStringLiteral("*.QVI")});
    if (!find.waitForFinished(-1) || find.exitCode() != 0)
        return -1;
    return int(find.readAllStandardOutput().count('\n'));
}

class CountingSink : public shell::FileSearchSink {
public:
    qint64 found = 0;
    void folderListed(const QString&, qint64, const QStringList& matches) override { found += matches.size(); }
};

class BenchHost : public shell::FileSearchHost {
public:
    datafiles::SettingsStore store;
    QStringList driveList;
    datafiles::SettingsStore& settings() override { return store; }
    windows::FoundFileTarget* documentWindow(const QString&) override { return nullptr; }
    QStringList drives() override { return driveList; }
};

using Clock = std::chrono::steady_clock;

double secondsSince(Clock::time_point start)
{
    return std::chrono::duration<double>(Clock::now() - start).count();
}

// Times one of our searches and then find, per iteration; the iteration's time is ours.
template <typename Search>
void searchBesideFind(benchmark::State& state, Search search)
{
    const QString root = tree().root;
    if (const int listed = runFind(root); listed != Matches) { // also brings the tree into the page cache
        state.SkipWithError(("find listed " + std::to_string(listed) + " files, not " + std::to_string(Matches)).c_str());
        return;
    }
    double ours = 0;
    double theirs = 0;
    for (auto _ : state) {
        Clock::time_point start = Clock::now();
        const qint64 found = search(root);
        const double oursNow = secondsSince(start);
        start = Clock::now();
        const int findFound = runFind(root);
        theirs += secondsSince(start);
        ours += oursNow;
        state.SetIterationTime(oursNow);
        if (found != Matches || findFound != Matches) {
            state.SkipWithError("a search did not list the expected files");
            return;
        }
    }
    const double runs = double(state.iterations());
    state.counters["files/s"] = benchmark::Counter(Files * runs / ours);
    state.counters["find files/s"] = benchmark::Counter(Files * runs / theirs);
    state.counters["ours/find"] = benchmark::Counter(theirs / ours);
}

void BM_SearchWalkBesideFind(benchmark::State& state)
{
    searchBesideFind(state, [](const QString& root) {
        CountingSink sink;
        std::atomic<bool> stop {false};
        shell::FileSearchWalk(root, QStringLiteral("*.QVI")).run(sink, stop);
        return sink.found;
    });
}
BENCHMARK(BM_SearchWalkBesideFind)->Unit(benchmark::kMillisecond)->Iterations(5)->UseManualTime();

void BM_SearchWindowBesideFind(benchmark::State& state)
{
    BenchHost host;
    host.driveList = {tree().root};
    host.store.ActiveList = QStringLiteral("frmItems");
    shell::frmFileSearch window(host);
    searchBesideFind(state, [&](const QString&) {
        window.Find->click();
        window.waitForSearches();
        return qint64(window.FileList->count());
    });
}
BENCHMARK(BM_SearchWindowBesideFind)->Unit(benchmark::kMillisecond)->Iterations(5)->UseManualTime();

} // namespace
