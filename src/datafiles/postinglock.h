#pragma once
// The posting lock: one writer at a time of the own balance, the counters and the balances
// of the contacts, over every computer and every copy of the program that shares the data.
// It is the file "posting.lock" in the folder that holds the data (the data root of the
// network mode: the host's shared folder, or the data folder of a single machine), taken
// in one step that fails when it exists (the bytes are written first, then linked to the
// name), and naming its holder: computer, user, process and one random token per taking.
//
// A holder that died must not block the others for good, and a slow one must not be taken
// for dead. Two signs tell them apart:
// - The same computer in the same boot and process namespace: the holder's process is
//   alive or not (its id and start time, so a reused id is no holder).
// - Any holder: while it holds the lock a thread of the holder counts up the lock's lease
//   line in place, every few seconds. A lock whose bytes have not changed for the lease
//   time, by the waiter's own steady clock (the computers' clocks may differ), belongs to
//   a holder that stopped. Caches of a network file system are passed by reading the lock
//   afresh each time (close-to-open).
// A dead lock is broken by one waiter only: it first takes a marker named after the dead
// lock's token, in the same exclusive step, then removes the lock only when its bytes are
// still those it judged dead. A breaker killed while it holds its marker leaves the marker
// behind; such a marker is judged as a lock is (its breaker's process, or unchanged for the
// lease time), and a dead one hands the break on to the marker of the next generation, so
// nothing left in the folder makes a waiter wait past its limit. Neither a breaker nor a
// holder letting go unlinks the lock by its name after looking at it: one that slept between
// the look and the unlink would remove the next holder's lock. The lock is first renamed to a
// name only that process uses and looked at there; what is not the one meant is put back.
//
// A check of the lock is no fence: a holder can sleep between its last check and its write.
// So whoever takes the lock first takes away what an earlier holder prepared and has not put
// in place yet (its fenced replacements, its half-made journal, its staged copy of the data
// tree): a holder that wakes after a takeover finds its rename's source gone and changes
// nothing, and one whose rename came first has its change seen by the new holder, which
// reads the files only after this. The holder itself checks
// before each write that the lock still carries its token and that its own lease was
// renewed lately enough (half the lease time): a holder whose lease went unrenewed longer
// than that (stopped, asleep, cut off) has lost the lock for good and writes nothing more,
// since a waiter may be breaking it already.
//
// Whoever takes the lock first completes a posting that was cut short in that folder (the
// completion installed by the posting, see setPendingCompletion).

#include <QByteArray>
#include <QString>
#include <atomic>
#include <condition_variable>
#include <functional>
#include <memory>
#include <mutex>
#include <optional>
#include <thread>

namespace datafiles {

class SettingsStore;

// A holder as its lock file names it.
struct LockHolder {
    QString computer;
    QString user;
    qint64 process = 0;
    QString boot;        // this boot of the computer and the process namespace
    quint64 started = 0; // the process's start, in clock ticks since the boot
    QString token;       // one taking of the lock
    // "NAME (user bob, process 1234)".
    QString describe() const;
};

class PostingLock {
public:
    static QString fileName() { return QStringLiteral("posting.lock"); }
    // The folder of the lock for the store's network mode: its data root.
    static QString folderFor(const SettingsStore& store);

    struct Timing {
        int waitMs = 3000;     // how long a waiter waits for a live holder
        int leaseMs = 30000;   // unchanged this long, a holder is taken for dead
        int refreshMs = 2000;  // how often a holder counts its lease up
        // How long a holder trusts its last count before it stops writing; 0 is half the
        // lease. Tests of a dead holder shorten the lease without making live ones doubt.
        int trustMs = 0;
    };
    static void setTiming(const Timing& timing); // tests
    static Timing timing();

    // Tests make a process look like another computer.
    static void pretendComputer(const QString& computer, const QString& boot);
    // This process as a lock names it (without a token).
    static LockHolder self();
    // This computer's machine id ("" when unknown), telling computers of one name apart.
    static QString machineId();
    // For a holder of this computer: whether its process has ended (in this boot, by its id
    // and start time; a holder of an earlier boot has ended for sure).
    static bool hasEnded(const LockHolder& holder);

    // Completes what a posting cut short left in the lock's folder; called with the lock held.
    // An empty result is success; otherwise a sentence for the user.
    using PendingCompletion = std::function<QString(const PostingLock& lock)>;
    static void setPendingCompletion(PendingCompletion completion);

    enum class Status {
        Held,       // the lock is ours, and nothing is left unfinished in its folder
        Unfinished, // the lock is ours, but a posting cut short could not be completed
        Busy,       // a live holder kept it through the wait; holder() names it
        Failed,     // the lock could not be made; error() names the file
    };

    explicit PostingLock(const QString& folder);
    ~PostingLock();
    PostingLock(const PostingLock&) = delete;
    PostingLock& operator=(const PostingLock&) = delete;

    // Whether acquire completes what it finds unfinished (yes, unless told).
    void setCompletes(bool completes) { m_completes = completes; }
    [[nodiscard]] Status acquire();
    // Whether the lock is still ours and safe to write under.
    bool stillHeld() const;
    // Whether the lease went uncounted for longer than trusted while held: the lock was lost
    // for good. Final once release() has returned.
    bool lapsed() const { return m_lapsed; }
    void release();

    const QString& folder() const { return m_folder; }
    QString path() const;
    const LockHolder& holder() const { return m_holder; }
    const QString& error() const { return m_error; }

    static QByteArray encode(const LockHolder& holder, quint64 lease);
    static std::optional<LockHolder> decode(const QByteArray& bytes);

    // The markers that breakers of dead locks take, in the lock's folder.
    static bool isBreakMarkerName(const QString& fileName);
    // Removes every break marker in the folder of a lock held now: each belongs to a lock
    // that is gone. Returns how many.
    int removeBreakMarkers() const;

    // The share whose files a holder of this lock writes: the folder two levels up
    // ("QVNET/RAzar/" lies in the host's folder, beside the host file; "System/RAzar/" in the
    // program folder), with a trailing "/".
    static QString shareOf(const QString& folder);

    // The moments of breaking a dead lock, of letting go of one and of writing under one,
    // where tests stop or kill a process: each is the last moment before the call that acts.
    enum class BreakStep {
        JudgedDead,      // the lock was judged dead; no marker is taken yet
        MarkerTaken,     // this waiter holds the marker; the lock is not read again yet
        LockReread,      // the lock still holds the bytes judged dead; it is not removed yet
        Releasing,       // the holder found its own lock at the name; it is not removed yet
        HostFileChecked, // the host file's writer checked the lock last; it renames next
        PostingRead,     // a posting read the files it changes; it writes them next
        Renewing,        // the holder found its lease trusted; it counts it up next
    };
    using BreakStepHook = std::function<void(BreakStep)>;
    static void setBreakStepHook(BreakStepHook hook); // tests
    static void reachStep(BreakStep step);

private:
    bool tryTake(QString& error);
    bool isDead(const QString& path, const QByteArray& bytes, const std::optional<LockHolder>& holder) const;
    bool breakDeadLock(const QByteArray& bytes, const std::optional<LockHolder>& holder);
    void revokeStagedWork() const;
    QString asidePath() const;
    void refreshLoop();
    bool leaseTrusted() const;

    QString m_folder;
    LockHolder m_self;
    LockHolder m_holder;
    QString m_error;
    int m_fd = -1;
    bool m_held = false;
    bool m_completes = true;
    std::atomic<qint64> m_lastRenewal{0};
    std::atomic<bool> m_lapsed{false}; // the lease went unrenewed too long: the lock is lost
    std::thread m_refresher;
    std::mutex m_mutex;
    std::condition_variable m_stop;
    bool m_stopping = false;
};

} // namespace datafiles
