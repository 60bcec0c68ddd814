#include "shell/filesearchrun.h"

#include <QMetaObject>
#include <system_error>
#include <thread>

namespace shell {

class FileSearchRun::Sink : public FileSearchSink {
public:
    explicit Sink(FileSearchRun& run) : m_run(run) {}

    void folderStarted(const QString& folder) override
    {
        if (m_run.m_hook)
            m_run.m_hook(folder);
    }

    void folderListed(const QString& folder, qint64 examined, const QStringList& matches) override
    {
        std::lock_guard lock(m_run.m_mutex);
        Handover& pending = m_run.m_pending;
        pending.examined += examined;
        if (!matches.isEmpty()) {
            for (const QString& name : matches)
                pending.found.append(folder + name);
            pending.lastMatchFolder = folder;
        }
        m_run.postLocked();
    }

    void badFolderName(const QString&) override
    {
        std::lock_guard lock(m_run.m_mutex);
        m_run.m_pending.badFolderName = true;
        m_run.postLocked();
    }

private:
    FileSearchRun& m_run;
};

std::shared_ptr<FileSearchRun> FileSearchRun::start(FileSearchWalk walk, QObject* receiver,
                                                    std::function<void()> notify, FolderHook hook)
{
    std::shared_ptr<FileSearchRun> run(
        new FileSearchRun(std::move(walk), receiver, std::move(notify), std::move(hook)));
    // The thread holds the run until the walk ends; whoever started it may drop it sooner.
    try {
        std::thread([run] { run->work(); }).detach();
    } catch (const std::system_error&) {
        run->work(); // no thread to be had: the search still runs, with the window waiting
    }
    return run;
}

FileSearchRun::FileSearchRun(FileSearchWalk walk, QObject* receiver, std::function<void()> notify,
                             FolderHook hook)
    : m_walk(std::move(walk))
    , m_hook(std::move(hook))
    , m_receiver(receiver)
    , m_notify(std::move(notify))
{
}

FileSearchRun::~FileSearchRun() = default;

void FileSearchRun::work()
{
    Sink sink(*this);
    m_walk.run(sink, m_stop);
    std::lock_guard lock(m_mutex);
    m_ended = true;
    m_pending.ended = true;
    postLocked();
    m_endedChanged.notify_all();
}

void FileSearchRun::postLocked()
{
    if (m_posted || !m_receiver || !m_notify)
        return;
    m_posted = true;
    // The receiver cannot go away meanwhile: abandoning the run, which the window does before
    // it is destroyed, needs this same lock.
    QMetaObject::invokeMethod(m_receiver, m_notify, Qt::QueuedConnection);
}

FileSearchRun::Handover FileSearchRun::take()
{
    std::lock_guard lock(m_mutex);
    Handover out = std::move(m_pending);
    m_pending = Handover {};
    m_pending.ended = m_ended;
    m_posted = false;
    return out;
}

void FileSearchRun::stop()
{
    m_stop.store(true, std::memory_order_relaxed);
}

void FileSearchRun::abandon()
{
    stop();
    std::lock_guard lock(m_mutex);
    m_receiver = nullptr;
    m_notify = nullptr;
}

void FileSearchRun::wait()
{
    std::unique_lock lock(m_mutex);
    m_endedChanged.wait(lock, [this] { return m_ended; });
}

bool FileSearchRun::ended() const
{
    std::lock_guard lock(m_mutex);
    return m_ended;
}

} // namespace shell
