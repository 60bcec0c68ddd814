#include "datafiles/postinglock.h"

#include "datafiles/datafoldertree.h"
#include "datafiles/stagedtreecopy.h"
#include "platform/safefile.h"
#include "platform/systeminfo.h"

#include <QCryptographicHash>
#include <QDir>
#include <QDirIterator>
#include <QFile>
#include <QFileInfo>
#include <QMap>
#include <QRandomGenerator>
#include <QStringList>
#include <cerrno>
#include <cstring>
#include <chrono>
#include <csignal>
#include <ctime>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace datafiles {

namespace {

const QByteArray Mark = QByteArrayLiteral("Quorvane posting lock");
const QByteArray LeasePrefix = QByteArrayLiteral("lease ");
constexpr int LeaseDigits = 16;

// A clock that never goes back and counts a suspended machine's sleep too: a laptop closed
// for an hour must find on waking that its lease went unrenewed for an hour.
qint64 steadyMs()
{
    timespec now {};
    ::clock_gettime(CLOCK_BOOTTIME, &now);
    return qint64(now.tv_sec) * 1000 + now.tv_nsec / 1000000;
}

QByteArray firstLineOf(const QString& path)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return {};
    return file.readLine().trimmed();
}

// The start of a process in clock ticks since the boot (field 22 of its stat line); 0 when
// unknown.
quint64 processStart(qint64 pid)
{
    QFile file(QStringLiteral("/proc/%1/stat").arg(pid));
    if (!file.open(QIODevice::ReadOnly))
        return 0;
    const QByteArray line = file.readAll();
    const qsizetype close = line.lastIndexOf(')'); // the command may hold blanks
    if (close < 0)
        return 0;
    const QList<QByteArray> fields = line.mid(close + 2).split(' ');
    // Fields after the command start at field 3.
    return fields.size() > 19 ? fields.at(19).toULongLong() : 0;
}

bool processAlive(qint64 pid, quint64 started)
{
    if (pid <= 0)
        return false;
    if (::kill(pid_t(pid), 0) != 0 && errno == ESRCH)
        return false;
    const quint64 now = processStart(pid);
    return now == 0 || started == 0 || now == started;
}

QString thisBoot()
{
    const QByteArray boot = firstLineOf(QStringLiteral("/proc/sys/kernel/random/boot_id"));
    const QString space = QFileInfo(QStringLiteral("/proc/self/ns/pid")).symLinkTarget();
    return QString::fromLatin1(boot) + QLatin1Char(' ') + space;
}

struct Pretended {
    QString computer;
    QString boot;
};

Pretended& pretended()
{
    static Pretended p;
    return p;
}

PostingLock::Timing& timingSetting()
{
    static PostingLock::Timing t;
    return t;
}

PostingLock::PendingCompletion& completionSetting()
{
    static PostingLock::PendingCompletion c;
    return c;
}

PostingLock::BreakStepHook& breakStepHook()
{
    static PostingLock::BreakStepHook hook;
    return hook;
}

const QString MarkerPrefix = QStringLiteral(".posting.lock.broken-");
// Where a breaker or a holder letting go puts the lock while it looks at it.
const QString TakenPrefix = QStringLiteral(".posting.lock.taken-");
// Generations of markers for one dead lock: each needs a breaker killed at one exact step,
// so a few are plenty; past them the waiter waits out its limit.
constexpr int MarkerGenerations = 8;

// What this process saw of a lock it waits for: its bytes and since when, by the steady
// clock. Kept over attempts, so that repeated tries add up to the lease time.
struct Sighting {
    QByteArray bytes;
    qint64 since = 0;
};

std::mutex& sightingsMutex()
{
    static std::mutex m;
    return m;
}

QMap<QString, Sighting>& sightings()
{
    static QMap<QString, Sighting> s;
    return s;
}

bool readLock(const QString& path, QByteArray& bytes)
{
    return platform::readWholeFile(path, bytes).ok;
}

} // namespace

QString LockHolder::describe() const
{
    QStringList parts;
    if (!user.isEmpty())
        parts << QStringLiteral("user %1").arg(user);
    if (process > 0)
        parts << QStringLiteral("process %1").arg(process);
    const QString who = computer.isEmpty() ? QStringLiteral("another computer") : computer;
    return parts.isEmpty() ? who : who + QStringLiteral(" (") + parts.join(QStringLiteral(", ")) + QLatin1Char(')');
}

QString PostingLock::folderFor(const SettingsStore& store)
{
    return DataRoot(store);
}

void PostingLock::setTiming(const Timing& timing)
{
    timingSetting() = timing;
}

PostingLock::Timing PostingLock::timing()
{
    return timingSetting();
}

void PostingLock::pretendComputer(const QString& computer, const QString& boot)
{
    pretended() = {computer, boot};
}

LockHolder PostingLock::self()
{
    LockHolder h;
    h.computer = pretended().computer.isEmpty() ? platform::computerName() : pretended().computer;
    h.user = platform::userName();
    h.process = ::getpid();
    h.boot = pretended().boot.isEmpty() ? thisBoot() : pretended().boot;
    h.started = processStart(h.process);
    return h;
}

QString PostingLock::machineId()
{
    return QString::fromLatin1(firstLineOf(QStringLiteral("/etc/machine-id")));
}

bool PostingLock::hasEnded(const LockHolder& holder)
{
    if (holder.boot != self().boot)
        return true;
    return !processAlive(holder.process, holder.started);
}

void PostingLock::setPendingCompletion(PendingCompletion completion)
{
    completionSetting() = std::move(completion);
}

QByteArray PostingLock::encode(const LockHolder& h, quint64 lease)
{
    QByteArray out = Mark + "\r\n";
    for (const QString& line : {h.computer, h.user, QString::number(h.process), h.boot,
                                QString::number(h.started), h.token})
        out += line.toUtf8() + "\r\n";
    out += LeasePrefix + QByteArray::number(lease, 16).rightJustified(LeaseDigits, '0');
    return out;
}

std::optional<LockHolder> PostingLock::decode(const QByteArray& bytes)
{
    const QList<QByteArray> lines = bytes.split('\n');
    if (lines.size() < 8 || lines.at(0).trimmed() != Mark)
        return std::nullopt;
    const auto text = [&](int i) { return QString::fromUtf8(lines.at(i).trimmed()); };
    LockHolder h;
    h.computer = text(1);
    h.user = text(2);
    h.process = text(3).toLongLong();
    h.boot = text(4);
    h.started = text(5).toULongLong();
    h.token = text(6);
    return h;
}

PostingLock::PostingLock(const QString& folder) : m_folder(folder) {}

PostingLock::~PostingLock()
{
    release();
}

QString PostingLock::path() const
{
    return m_folder + (m_folder.endsWith(QLatin1Char('/')) ? QString() : QStringLiteral("/")) + fileName();
}

PostingLock::Status PostingLock::acquire()
{
    if (m_held)
        return Status::Held;
    m_self = self();
    m_self.token = QString::number(QRandomGenerator::global()->generate64(), 16)
        + QString::number(QRandomGenerator::global()->generate64(), 16);
    const Timing t = timing();
    const qint64 deadline = steadyMs() + t.waitMs;
    int pause = 2;
    const auto wait = [&pause] {
        std::this_thread::sleep_for(std::chrono::milliseconds(pause + QRandomGenerator::global()->bounded(pause)));
        pause = std::min(pause * 2, 50);
    };
    // Every way round the loop that does not take the lock passes the deadline check, so
    // nothing left in the folder keeps a waiter past its limit.
    for (;;) {
        QString takeError;
        if (tryTake(takeError))
            break;
        QByteArray bytes;
        if (!readLock(path(), bytes) && !QFileInfo::exists(path())) {
            // No lock stands there, yet none could be made: gone between the two looks, or
            // none can be made in this folder at all.
            if (steadyMs() >= deadline) {
                m_error = takeError.isEmpty() ? QStringLiteral("The posting lock \"%1\" could not be made.").arg(path())
                                              : takeError;
                return Status::Failed;
            }
            wait();
            continue;
        }
        const std::optional<LockHolder> holder = decode(bytes);
        if (isDead(path(), bytes, holder) && breakDeadLock(bytes, holder) && steadyMs() < deadline)
            continue; // gone: take it at once
        if (steadyMs() >= deadline) {
            m_holder = holder.value_or(LockHolder{});
            return Status::Busy;
        }
        wait();
    }

    m_held = true;
    m_lapsed = false;
    m_lastRenewal = steadyMs();
    m_stopping = false;
    m_refresher = std::thread([this] { refreshLoop(); });
    revokeStagedWork();
    if (const PendingCompletion& complete = completionSetting(); complete && m_completes) {
        const QString problem = complete(*this);
        if (!problem.isEmpty()) {
            m_error = problem;
            return Status::Unfinished;
        }
    }
    return Status::Held;
}

bool PostingLock::tryTake(QString& error)
{
    const QByteArray bytes = encode(m_self, 0);
    if (auto made = platform::createExclusive(path(), bytes); !made) {
        error = made.error;
        return false;
    }
    // The lock is held open, so that its lease can be counted up in place.
    m_fd = ::open(QFile::encodeName(path()).constData(), O_RDWR | O_CLOEXEC);
    QByteArray found;
    if (m_fd < 0 || !readLock(path(), found) || found != bytes) {
        if (m_fd >= 0)
            ::close(m_fd);
        m_fd = -1;
        return false;
    }
    return true;
}

// A lock, or a breaker's marker, is dead when its writer's process has ended (same computer,
// same boot) or when its bytes have stood unchanged for the lease time by our own clock.
bool PostingLock::isDead(const QString& file, const QByteArray& bytes, const std::optional<LockHolder>& holder) const
{
    if (holder && holder->boot == m_self.boot && !holder->boot.isEmpty()
        && !processAlive(holder->process, holder->started))
        return true;
    const std::lock_guard guard(sightingsMutex());
    Sighting& seen = sightings()[file];
    const qint64 now = steadyMs();
    if (seen.bytes != bytes) {
        seen = {bytes, now};
        return false;
    }
    return now - seen.since >= timing().leaseMs;
}

// True when the dead lock is gone (broken here, or by another waiter meanwhile); false when
// a live breaker is at it, so that the caller waits.
bool PostingLock::breakDeadLock(const QByteArray& bytes, const std::optional<LockHolder>& holder)
{
    reachStep(BreakStep::JudgedDead);
    // Only the waiter that takes a marker named after this lock may remove this lock.
    const QString token = holder && !holder->token.isEmpty()
        ? holder->token
        : QString::fromLatin1(QCryptographicHash::hash(bytes, QCryptographicHash::Sha1).toHex());
    const QString base = m_folder + QLatin1Char('/') + MarkerPrefix + token;
    QStringList markers;
    bool taken = false;
    for (int generation = 1; generation <= MarkerGenerations && !taken; ++generation) {
        const QString marker = generation == 1 ? base : base + QLatin1Char('.') + QString::number(generation);
        markers << marker;
        if (platform::createExclusive(marker, encode(m_self, 0))) {
            taken = true;
            break;
        }
        QByteArray markerBytes;
        if (!readLock(marker, markerBytes))
            return !QFileInfo::exists(marker); // gone meanwhile: its breaker is done, look again
        // A breaker holds its marker for a moment; one that stays belongs to a breaker that
        // was killed at it, and the next generation takes over.
        if (!isDead(marker, markerBytes, decode(markerBytes)))
            return false;
    }
    if (!taken)
        return false;
    reachStep(BreakStep::MarkerTaken);
    QByteArray now;
    bool gone = !readLock(path(), now) && !QFileInfo::exists(path());
    if (!gone && now == bytes) {
        reachStep(BreakStep::LockReread);
        // Only the dead lock is removed: one that a waiter took after it was broken
        // meanwhile (this breaker slept past its marker's lease) is put back.
        const QString aside = asidePath();
        const platform::Taken taken = platform::takeIfStill(path(), aside, [&bytes](const QString& file) {
            QByteArray there;
            return readLock(file, there) && there == bytes;
        });
        if (taken == platform::Taken::Taken || taken == platform::Taken::LeftAside)
            ::unlink(QFile::encodeName(aside).constData());
        gone = taken == platform::Taken::Taken || taken == platform::Taken::Missing;
        if (taken == platform::Taken::PutBack || taken == platform::Taken::LeftAside)
            now.clear(); // another's lock: wait for it
    }
    for (const QString& marker : markers) {
        ::unlink(QFile::encodeName(marker).constData());
        const std::lock_guard guard(sightingsMutex());
        sightings().remove(marker);
    }
    const std::lock_guard guard(sightingsMutex());
    sightings().remove(path());
    return gone || (!now.isEmpty() && now != bytes);
}

bool PostingLock::isBreakMarkerName(const QString& fileName)
{
    return fileName.startsWith(MarkerPrefix) || fileName.startsWith(TakenPrefix);
}

QString PostingLock::asidePath() const
{
    return m_folder + QLatin1Char('/') + TakenPrefix + m_self.token;
}

QString PostingLock::shareOf(const QString& folder)
{
    return QDir::cleanPath(folder + QStringLiteral("/../..")) + QLatin1Char('/');
}

// Takes away what an earlier holder prepared under this lock and has not put in place: its
// fenced replacements in the lock's folder and in the share (the host file lies there), the
// journal it was about to make visible, and its staged copy of the data tree beside the
// lock's folder. Such a holder lost the lock (it died, or slept past its lease, or its lock
// was removed under it), and what it does on waking must find nothing to rename. Nothing of
// it was in place yet; what was is seen by this holder, which reads the files after this.
void PostingLock::revokeStagedWork() const
{
    for (const QString& folder : {m_folder, shareOf(m_folder)}) {
        const QByteArray base = QFile::encodeName(QDir::cleanPath(folder)) + '/';
        for (QDirIterator it(folder, QDir::Files | QDir::Hidden | QDir::System); it.hasNext();) {
            const QString name = it.nextFileInfo().fileName();
            if (platform::isFencedFileName(name) || platform::isTemporaryFileOf(name, QStringLiteral("posting.jnl")))
                ::unlink((base + QFile::encodeName(name)).constData());
        }
    }
    const QFileInfo lockFolder(QDir::cleanPath(m_folder));
    StagedTreeCopy::revokeStaging(lockFolder.absolutePath(), lockFolder.fileName());
}

int PostingLock::removeBreakMarkers() const
{
    if (!m_held)
        return 0;
    int removed = 0;
    for (QDirIterator it(m_folder, QDir::Files | QDir::Hidden | QDir::System); it.hasNext();) {
        const QFileInfo marker = it.nextFileInfo();
        if (isBreakMarkerName(marker.fileName()) && QFile::remove(marker.filePath()))
            ++removed;
    }
    return removed;
}

void PostingLock::setBreakStepHook(BreakStepHook hook)
{
    breakStepHook() = std::move(hook);
}

void PostingLock::reachStep(BreakStep step)
{
    if (const BreakStepHook& hook = breakStepHook())
        hook(step);
}

// Counts the lease up every few seconds. A count that comes later than the holder trusts
// its last one (the process was stopped, the machine slept, the share hung) is not made: a
// waiter may have judged the lock dead meanwhile, so the lock is lost for good.
void PostingLock::refreshLoop()
{
    quint64 lease = 0;
    const QByteArray start = encode(m_self, 0);
    const qint64 offset = start.size() - LeaseDigits;
    std::unique_lock lock(m_mutex);
    while (!m_stop.wait_for(lock, std::chrono::milliseconds(timing().refreshMs), [this] { return m_stopping; })) {
        const qint64 counting = steadyMs();
        if (!leaseTrusted()) {
            m_lapsed = true;
            return;
        }
        reachStep(BreakStep::Renewing);
        ++lease;
        const QByteArray digits = QByteArray::number(lease, 16).rightJustified(LeaseDigits, '0');
        if (::pwrite(m_fd, digits.constData(), size_t(digits.size()), offset) != qint64(digits.size())
            || ::fdatasync(m_fd) != 0)
            continue;
        // The look above is no fence: stopped between it and the write for longer than the
        // lease, the holder would count up a lease a waiter may have judged dead meanwhile,
        // and take it for renewed. A count that lands later than trusted renews nothing.
        if (!leaseTrusted()) {
            m_lapsed = true;
            return;
        }
        // Renewed as of the moment the count began: it showed no earlier than that.
        m_lastRenewal = counting;
    }
}

// Whether the lease was counted up lately enough that no waiter can have judged it dead.
bool PostingLock::leaseTrusted() const
{
    const Timing t = timing();
    return !m_lapsed && steadyMs() - m_lastRenewal <= (t.trustMs > 0 ? t.trustMs : t.leaseMs / 2);
}

bool PostingLock::stillHeld() const
{
    if (!m_held)
        return false;
    if (!leaseTrusted())
        return false;
    QByteArray bytes;
    if (!readLock(path(), bytes))
        return false;
    const auto holder = decode(bytes);
    return holder && holder->token == m_self.token;
}

void PostingLock::release()
{
    if (!m_held)
        return;
    {
        const std::lock_guard guard(m_mutex);
        m_stopping = true;
    }
    m_stop.notify_all();
    if (m_refresher.joinable())
        m_refresher.join();
    // Only our own lock is removed: one broken meanwhile belongs to another now. Our own is
    // the very file we hold open; it is looked at under a name only we use, so that a lock
    // another took while we slept here is put back, never removed.
    QByteArray bytes;
    if (readLock(path(), bytes)) {
        const auto holder = decode(bytes);
        if (holder && holder->token == m_self.token) {
            reachStep(BreakStep::Releasing);
            const QString aside = asidePath();
            const platform::Taken taken = platform::takeIfStill(path(), aside, [this](const QString& file) {
                struct stat there {}, ours {};
                return ::stat(QFile::encodeName(file).constData(), &there) == 0 && ::fstat(m_fd, &ours) == 0
                    && there.st_dev == ours.st_dev && there.st_ino == ours.st_ino;
            });
            // A lock left aside belongs to a holder whose place was taken meanwhile: it lost.
            if (taken == platform::Taken::Taken || taken == platform::Taken::LeftAside)
                ::unlink(QFile::encodeName(aside).constData());
        }
    }
    if (m_fd >= 0)
        ::close(m_fd);
    m_fd = -1;
    m_held = false;
}

} // namespace datafiles
