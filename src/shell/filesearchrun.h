#pragma once
// One file search on a worker thread of its own, so the window stays responsive however long
// the walk takes or however slowly a folder answers. The walk hands each listed folder over as
// it comes; the window is told (by a call posted to its thread) that something waits, and
// takes everything handed over so far in one go, in the order found. A stopped run ends at the
// next entry it looks at; an abandoned one also tells the window nothing more, so a window
// that starts a new search or closes never sees an old search's results. The worker keeps the
// run alive on its own, so nobody has to wait for it.

#include "shell/filesearchwalk.h"

#include <QObject>
#include <QString>
#include <QStringList>
#include <atomic>
#include <condition_variable>
#include <functional>
#include <memory>
#include <mutex>

namespace shell {

class FileSearchRun : public std::enable_shared_from_this<FileSearchRun> {
public:
    // Runs on the worker thread before each folder is listed (tests pause or stop a search
    // there, at a known point of the walk).
    using FolderHook = std::function<void(const QString& folder)>;

    // What has come since the last take.
    struct Handover {
        qint64 examined = 0;     // entries examined
        QStringList found;       // full paths of the matching files, in order
        QString lastMatchFolder; // the folder of the last of them, ending with "/"
        bool badFolderName = false; // a folder's path was refused as a name
        bool ended = false;      // the walk has ended, to its end or stopped
    };

    // Starts the walk on a new thread. notify runs on the receiver's thread whenever something
    // new waits to be taken (not again until it has been taken), never after abandon() and
    // never once the receiver is gone. A receiver abandons its runs before it is destroyed.
    static std::shared_ptr<FileSearchRun> start(FileSearchWalk walk, QObject* receiver,
                                                std::function<void()> notify, FolderHook hook = {});

    ~FileSearchRun();
    FileSearchRun(const FileSearchRun&) = delete;
    FileSearchRun& operator=(const FileSearchRun&) = delete;

    Handover take();
    // Asks the walk to end at the next entry it looks at.
    void stop();
    // Stops the run and silences it: nothing more is posted to the receiver.
    void abandon();
    // Blocks until the walk has ended (tests and benchmarks; the window never waits).
    void wait();
    bool ended() const;

private:
    class Sink;

    FileSearchRun(FileSearchWalk walk, QObject* receiver, std::function<void()> notify, FolderHook hook);
    void work();
    void postLocked(); // with m_mutex held

    const FileSearchWalk m_walk;
    const FolderHook m_hook;
    std::atomic<bool> m_stop {false};

    mutable std::mutex m_mutex;
    std::condition_variable m_endedChanged;
    QObject* m_receiver; // read and cleared only with m_mutex held
    std::function<void()> m_notify;
    bool m_posted = false;
    bool m_ended = false;
    Handover m_pending;
};

} // namespace shell
