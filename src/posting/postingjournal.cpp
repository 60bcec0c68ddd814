#include "posting/postingjournal.h"

#include "datafiles/datafoldertree.h"
#include "datafiles/postinglock.h"
#include "posting/installationkey.h"
#include "posting/journalfiles.h"
#include "posting/writestephook.h"

#include <QCryptographicHash>
#include <QDir>
#include <QDirIterator>
#include <QFile>
#include <QFileInfo>
#include <QRandomGenerator>
#include <QSet>
#include <QtEndian>
#include <cerrno>
#include <cstring>
#include <functional>
#include <map>
#include <sys/stat.h>
#include <unistd.h>

// The hash is built into this file alone: no library is loaded for it at the start.
#define XXH_INLINE_ALL
#include <xxhash.h>

namespace posting {

namespace {

const QByteArray Mark = QByteArrayLiteral("QVPOST3\n");
constexpr QCryptographicHash::Algorithm ChecksumKind = QCryptographicHash::Blake2b_256;
const QString Relative = QStringLiteral("R:");
const QString Absolute = QStringLiteral("A:");

qsizetype checksumSize()
{
    return QCryptographicHash::hashLength(ChecksumKind);
}

// A digest tells one content of a file from another, so that a completion knows what each
// file holds: it guards against files that moved on, not against forgery (whoever can write
// the journal can write the files too), so a fast 128-bit hash serves. Its bytes are the
// hash's canonical form, the same on every computer.
qsizetype digestSize()
{
    return qsizetype(sizeof(XXH128_canonical_t));
}

QByteArray canonical(XXH128_hash_t hash)
{
    XXH128_canonical_t bytes;
    XXH128_canonicalFromHash(&bytes, hash);
    return QByteArray(reinterpret_cast<const char*>(bytes.digest), qsizetype(sizeof bytes.digest));
}

template <typename Number>
void appendNumber(QByteArray& out, Number value)
{
    char bytes[sizeof(Number)];
    qToBigEndian(value, bytes);
    out.append(bytes, qsizetype(sizeof(Number)));
}

void appendBytes(QByteArray& out, const QByteArray& bytes)
{
    appendNumber(out, quint32(bytes.size()));
    out += bytes;
}

void appendText(QByteArray& out, const QString& text)
{
    appendBytes(out, text.toUtf8());
}

// Reads the journal's fields in order; any read past the end spoils the whole reading.
class Reader {
public:
    Reader(const QByteArray& bytes, qsizetype end) : m_bytes(bytes), m_end(end) {}

    template <typename Number>
    std::optional<Number> number()
    {
        if (m_end - m_pos < qsizetype(sizeof(Number)))
            return std::nullopt;
        const Number value = qFromBigEndian<Number>(m_bytes.constData() + m_pos);
        m_pos += qsizetype(sizeof(Number));
        return value;
    }
    std::optional<QByteArray> bytes(quint64 length)
    {
        if (quint64(m_end - m_pos) < length)
            return std::nullopt;
        const QByteArray out = m_bytes.mid(m_pos, qsizetype(length));
        m_pos += qsizetype(length);
        return out;
    }
    std::optional<QByteArray> counted()
    {
        const auto length = number<quint32>();
        return length ? bytes(*length) : std::nullopt;
    }
    std::optional<QString> text()
    {
        const auto utf8 = counted();
        return utf8 ? std::optional<QString>(QString::fromUtf8(*utf8)) : std::nullopt;
    }
    bool atEnd() const { return m_pos == m_end; }

private:
    const QByteArray& m_bytes;
    qsizetype m_end;
    qsizetype m_pos = 0;
};

// The shared folder of a lock's folder: the folder two levels up ("QVNET/RAzar/" lies in
// the host's folder; "System/RAzar/" in the program folder), with a trailing "/".
QString rootOf(const QString& folder)
{
    return QDir::cleanPath(folder + QStringLiteral("/../..")) + QLatin1Char('/');
}

QString cleanAbsolute(const QString& path)
{
    return QDir::cleanPath(QFileInfo(path).absoluteFilePath());
}

QString inFolder(const QString& folder, const QString& name)
{
    return folder + (folder.endsWith(QLatin1Char('/')) ? QString() : QStringLiteral("/")) + name;
}

QString replacementPath(const JournalEntry& entry)
{
    return QFileInfo(entry.path).absolutePath() + QLatin1Char('/') + entry.replacement;
}

// The name of a journal of one installation: posting.<12 hex digits>.jnl.
QString journalOf(const QString& folder, const QString& installation)
{
    return inFolder(folder, QStringLiteral("posting.%1.jnl")
                                .arg(QString::fromLatin1(
                                    QCryptographicHash::hash(installation.toUtf8(), QCryptographicHash::Sha1)
                                        .toHex()
                                        .left(12))));
}

bool isJournalName(const QString& name)
{
    return name.startsWith(QLatin1String("posting.")) && name.endsWith(QLatin1String(".jnl"));
}

// A name relative to the shared folder that stays inside it: no empty, "." or ".." part.
bool staysInside(const QString& relative)
{
    if (relative.isEmpty())
        return false;
    for (const QString& part : relative.split(QLatin1Char('/')))
        if (part.isEmpty() || part == QLatin1String(".") || part == QLatin1String(".."))
            return false;
    return true;
}

// What an installation seals of an entry: everything the completion acts on.
QByteArray sealed(const JournalEntry& entry)
{
    QByteArray out;
    appendText(out, entry.path);
    appendText(out, entry.replacement);
    appendBytes(out, entry.before);
    appendBytes(out, entry.after);
    appendText(out, entry.computer);
    return out;
}

PendingPosting failed(const QString& error)
{
    return {PendingPosting::State::Failed,
            QStringLiteral("A posting that was cut short could not be completed; Quorvane tries again before "
                           "the next posting. %1").arg(error)};
}

QString setAsidePath(const QString& journal, const char* why)
{
    return journal + QLatin1Char('.') + QLatin1String(why);
}

const QString TakenJournalStart = QStringLiteral("posting.taken-");

// A name in the journal's folder that only this caller uses, where a journal lies while it
// is looked at before its removal: a completion finds journals there too, so that one put
// there by a holder that lost the lock meanwhile is never hidden for good.
QString takenJournalPath(const QString& journal)
{
    return QFileInfo(journal).absolutePath() + QLatin1Char('/') + TakenJournalStart
        + QString::number(QRandomGenerator::global()->generate64(), 16) + QStringLiteral(".jnl");
}

bool isTakenJournalName(const QString& name)
{
    return name.startsWith(TakenJournalStart) && name.endsWith(QLatin1String(".jnl"));
}

// A journal that counts more entries than any posting writes.
bool countsTooMany(const QByteArray& bytes)
{
    if (bytes.size() < Mark.size() + 4 || !bytes.startsWith(Mark))
        return false;
    return qFromBigEndian<quint32>(bytes.constData() + Mark.size()) > PostingJournal::MaxEntries;
}

enum class JournalRead { Read, Missing, TooLarge, Linked, Failed };

// Reads a journal of a lock's folder (or one taken aside there) through a handle on the shared
// folder. One larger than any posting writes, in bytes (told by its size, before it is read)
// or in entries, is refused: anybody who can write to the share can put one there, and every
// computer reads it at every start and every posting.
JournalRead readJournal(const QString& journal, QByteArray& bytes, QString* error = nullptr)
{
    const platform::ConfinedFolder share(rootOf(QFileInfo(journal).absolutePath()));
    switch (const int read = share.readWhole(share.relativeName(journal), PostingJournal::MaxBytes, bytes)) {
    case 0:
        return countsTooMany(bytes) ? JournalRead::TooLarge : JournalRead::Read;
    case ENOENT:
    case ENOTDIR:
        return JournalRead::Missing;
    case EFBIG:
        return JournalRead::TooLarge;
    case ELOOP:
    case EXDEV:
        return JournalRead::Linked;
    default:
        if (error)
            *error = platform::ConfinedFolder::failure(journal, QStringLiteral("read"), read);
        return JournalRead::Failed;
    }
}

bool isBeyondAnyPosting(const QString& file)
{
    QByteArray there;
    return readJournal(file, there) == JournalRead::TooLarge;
}

bool isLinked(const QString& file)
{
    QByteArray there;
    return readJournal(file, there) == JournalRead::Linked;
}

// Takes the journal away from its name while it is still the one judged: whatever stands
// there now that is not is another holder's, and stays (or is put back). True when it was
// taken; it then lies at `taken`.
bool takeJournalIf(const QString& journal, const QString& taken, const std::function<bool(const QString&)>& isTheOne)
{
    return platform::takeIfStill(journal, taken, isTheOne) == platform::Taken::Taken;
}

// Whether a journal still holds `bytes`: the one judged.
std::function<bool(const QString&)> holding(const QByteArray& bytes)
{
    return [&bytes](const QString& file) {
        QByteArray there;
        return readJournal(file, there) == JournalRead::Read && there == bytes;
    };
}

// The same, for the journal that still holds `bytes`.
bool takeJournal(const QString& journal, const QByteArray& bytes, const QString& taken)
{
    return takeJournalIf(journal, taken, holding(bytes));
}

// Sets the journal aside as "<journal>.<why>", only while it is still the one judged, and
// gives that name; an empty text when another holder's journal stands at the name by now
// (this one lost the lock).
QString setAside(const QString& journal, const char* why, const std::function<bool(const QString&)>& isTheOne)
{
    const QString aside = setAsidePath(journal, why);
    const QString taken = takenJournalPath(journal);
    // A holder can sleep here past its lease, while another computer takes the lock and
    // shows its own journal under this name.
    if (WriteSteps steps; !steps.next() || !takeJournalIf(journal, taken, isTheOne))
        return QString();
    if (!QFile::rename(taken, aside)) {
        QFile::remove(aside);
        QFile::rename(taken, aside);
    }
    platform::syncFolder(QFileInfo(journal).absolutePath());
    return aside;
}

PendingPosting damaged(const QString& folder, const QString& journal, const QByteArray& bytes, const QString& why)
{
    const QString aside = setAside(journal, "damaged", holding(bytes));
    if (aside.isEmpty())
        return failed(lockLostWhileWriting(folder).error);
    return {PendingPosting::State::Damaged,
            QStringLiteral("A posting that was cut short could not be completed: %1 Its journal was set aside "
                           "as \"%2\".").arg(why, aside)};
}

// A journal larger than any posting writes is set aside as it is, unread; the user is told
// in one sentence.
PendingPosting beyondAnyPosting(const QString& folder, const QString& journal)
{
    const QString aside = setAside(journal, "damaged", isBeyondAnyPosting);
    if (aside.isEmpty())
        return failed(lockLostWhileWriting(folder).error);
    return {PendingPosting::State::Damaged,
            QStringLiteral("The posting journal \"%1\" is larger than any posting writes, so nothing of it was "
                           "written and it was set aside as \"%2\".").arg(journal, aside)};
}

// A journal that is a link (or lies behind one) is not followed: it is set aside as it is.
PendingPosting linkedJournal(const QString& folder, const QString& journal)
{
    const QString aside = setAside(journal, "damaged", isLinked);
    if (aside.isEmpty())
        return failed(lockLostWhileWriting(folder).error);
    return {PendingPosting::State::Damaged,
            QStringLiteral("A posting that was cut short could not be completed: its journal \"%1\" is a symbolic "
                           "link or lies behind one, and Quorvane follows none in a shared folder. It was set aside "
                           "as \"%2\".").arg(journal, aside)};
}

PendingPosting stale(const QString& folder, const QString& journal, const QByteArray& bytes, const QStringList& files)
{
    const QString aside = setAside(journal, "stale", holding(bytes));
    if (aside.isEmpty())
        return failed(lockLostWhileWriting(folder).error);
    return {PendingPosting::State::Stale,
            QStringLiteral("A posting that was cut short was not completed, because the files it was written "
                           "for have changed since (%1): another posting was saved after it. Nothing of it was "
                           "written. Its journal was set aside as \"%2\".").arg(files.join(QStringLiteral(", ")), aside)};
}


// Where each file of a journal stands now.
struct Survey {
    std::vector<JournalEntry> toRename; // still as found, its replacement beside it
    QStringList moved;                  // neither as found nor replaced: the journal is stale
    QStringList lost;                   // still as found, but its replacement is gone
    QString problem;                    // an entry that must not be acted on, or a read error
    bool unreadable = false;            // a file could not be read now; try again later
};

// Why a file named relative to the shared folder is not acted on: a link stands at its name
// or in its path, or the name leaves the folder.
QString notInside(const QString& root, const JournalEntry& entry, const JournalFiles::Digest& found)
{
    if (found.error == EXDEV)
        return QStringLiteral("its journal names \"%1\", which lies outside \"%2\".").arg(entry.path, root);
    return QStringLiteral("its journal names \"%1\", which is a symbolic link or lies behind one; Quorvane "
                          "follows none in a shared folder.").arg(entry.path);
}

Survey survey(const QString& folder, const std::vector<JournalEntry>& entries, const JournalFiles& files)
{
    Survey s;
    const QString root = rootOf(folder);
    std::optional<QByteArray> key;
    for (const JournalEntry& entry : entries) {
        // A file below the shared folder is read through a handle on it, and no link is
        // followed anywhere on its way; one outside it was written by this installation.
        if (!entry.computer.isEmpty()) {
            if (!key)
                key = InstallationKey::read();
            if (!key || InstallationKey::seal(*key, sealed(entry)) != entry.seal) {
                s.problem = QStringLiteral("its journal names \"%1\" as a file of this computer, but this "
                                           "computer did not write that.").arg(entry.path);
                return s;
            }
        }
        const JournalFiles::Digest found = files.digestOf(entry);
        const JournalFiles::Digest newContent = found.digest ? files.replacementDigestOf(entry) : found;
        for (const JournalFiles::Digest& read : {found, newContent}) {
            if (read.digest)
                continue;
            s.unreadable = !read.linked();
            s.problem = read.linked() ? notInside(root, entry, read) : read.message;
            return s;
        }
        const QByteArray& now = *found.digest;
        if (!newContent.digest->isEmpty()) { // the replacement stands
            if (*newContent.digest != entry.after) {
                s.problem = QStringLiteral("the new content of \"%1\" is damaged.").arg(entry.path);
                return s;
            }
            if (now == entry.before || now == entry.after)
                s.toRename.push_back(entry);
            else
                s.moved << entry.path;
        } else if (now != entry.after) {
            (now == entry.before ? s.lost : s.moved) << entry.path;
        }
    }
    return s;
}

// Renames what is left of the entries; the folders are flushed once at the end.
PendingPosting renameLeft(const QString& folder, const std::vector<JournalEntry>& entries, WriteSteps& steps,
                          const std::function<bool()>& stillHeld, JournalFiles& files)
{
    for (const JournalEntry& entry : entries) {
        platform::FileResult renamed{false, QStringLiteral("The file \"%1\" could not be written.").arg(entry.path)};
        if (steps.next())
            renamed = stillHeld() ? files.rename(entry) : lockLostWhileWriting(folder);
        if (!renamed)
            return failed(renamed.error);
    }
    files.flushFolders();
    return {PendingPosting::State::Completed, QString()};
}

// Writes a journal of another installation under the lock, fenced: a holder that slept past
// its lease between its last check and the rename finds its replacement taken away by the
// lock's new holder, and puts no older journal over one that holder wrote. It is written
// through a handle on the shared folder: a link at its name, or in its way, refuses it.
platform::FileResult writeFenced(const QString& path, const QByteArray& bytes, const QString& folder, WriteSteps& steps,
                                 const std::function<bool()>& stillHeld)
{
    const platform::ConfinedFolder share(rootOf(folder));
    platform::FileHandle parent;
    QByteArray name;
    QByteArray replacement;
    int error = share.openParent(share.relativeName(path), parent, name);
    if (error == 0)
        error = platform::writeReplacementIn(parent.fd(), name, bytes, replacement, true);
    if (error != 0)
        return {false, platform::ConfinedFolder::failure(path, QStringLiteral("written"), error)};
    platform::FileResult renamed = lockLostWhileWriting(folder);
    // The step comes after the last check: a holder that sleeps there past its lease finds
    // its replacement taken away by the lock's new holder when it wakes.
    if (stillHeld()) {
        if (!steps.next()) {
            renamed = {false, QStringLiteral("The file \"%1\" could not be written.").arg(path)};
        } else {
            error = platform::replaceIn(parent.fd(), replacement, name);
            if (error == ENOENT)
                return lockLostWhileWriting(folder); // the lock's new holder took the replacement away
            renamed = {error == 0, error == 0 ? QString()
                                              : platform::ConfinedFolder::failure(path, QStringLiteral("written"), error)};
        }
    }
    if (!renamed)
        (void)platform::removeIn(parent.fd(), replacement);
    else
        platform::syncFolderHandle(parent.fd());
    return renamed;
}

// An entry that names this computer and a file of this installation, but a key other than
// the one this installation holds now: its key file was cut short, replaced or cannot be
// read. It cannot be vouched for, so it is not applied; nor is it taken for another
// installation's, which would leave it unreported for good.
bool isOwnButUnvouched(const JournalEntry& entry)
{
    const QString thisComputer = datafiles::PostingLock::self().computer + QLatin1Char(' ')
        + datafiles::PostingLock::machineId() + QLatin1Char(' ');
    const QString ownFolder = QDir::cleanPath(datafiles::programPath(QString())) + QLatin1Char('/');
    return entry.computer.startsWith(thisComputer) && entry.path.startsWith(ownFolder);
}

// Completes one journal; entries of files only another installation reaches are handed to
// that installation's own journal.
PendingPosting completeJournal(const QString& folder, const QString& journal, const std::function<bool()>& stillHeld)
{
    QByteArray bytes;
    QString error;
    switch (readJournal(journal, bytes, &error)) {
    case JournalRead::Missing:
        return {};
    case JournalRead::Failed:
        return failed(error);
    case JournalRead::TooLarge:
        return beyondAnyPosting(folder, journal);
    case JournalRead::Linked:
        return linkedJournal(folder, journal);
    case JournalRead::Read:
        break;
    }
    const auto entries = PostingJournal::decode(folder, bytes);
    if (!entries)
        return damaged(folder, journal, bytes, QStringLiteral("its journal \"%1\" is damaged.").arg(journal));
    const QString me = PostingJournal::computerKey();
    std::vector<JournalEntry> mine;
    std::map<QString, std::vector<JournalEntry>> others;
    for (const JournalEntry& entry : *entries) {
        if (entry.computer.isEmpty() || entry.computer == me)
            mine.push_back(entry);
        else
            others[entry.computer].push_back(entry);
    }
    // Every file is looked at before any is renamed: a journal is applied whole or not at all.
    JournalFiles files(folder);
    const Survey found = survey(folder, mine, files);
    if (found.unreadable)
        return failed(found.problem);
    if (!found.problem.isEmpty())
        return damaged(folder, journal, bytes, found.problem);
    if (!found.moved.isEmpty())
        return stale(folder, journal, bytes, found.moved);
    if (!found.lost.isEmpty())
        return damaged(folder, journal, bytes, QStringLiteral("the new content of %1 is missing.")
                                    .arg(QLatin1Char('"') + found.lost.join(QStringLiteral("\", \"")) + QLatin1Char('"')));

    WriteSteps steps;
    const PendingPosting done = renameLeft(folder, found.toRename, steps, stillHeld, files);
    if (done.state != PendingPosting::State::Completed)
        return done;
    QStringList unvouched;
    QString parked;
    for (const auto& [computer, left] : others) {
        const QString theirs = journalOf(folder, computer);
        std::vector<JournalEntry> kept = left;
        QByteArray earlier;
        if (readJournal(theirs, earlier) == JournalRead::Read)
            if (const auto before = PostingJournal::decode(folder, earlier))
                kept.insert(kept.begin(), before->begin(), before->end());
        if (auto written = writeFenced(theirs, PostingJournal::encode(folder, kept), folder, steps, stillHeld); !written)
            return failed(written.error);
        for (const JournalEntry& entry : left)
            if (isOwnButUnvouched(entry)) {
                unvouched << entry.path;
                parked = theirs;
            }
    }
    platform::FileResult removed = PostingJournal::removeOwn(journal, bytes, [&steps] { return steps.next(); });
    if (!removed)
        return {PendingPosting::State::Failed,
                QStringLiteral("A posting that was cut short was completed, but its journal \"%1\" could not be "
                               "removed. %2").arg(journal, removed.error)};
    if (!unvouched.isEmpty())
        return {PendingPosting::State::Damaged,
                QStringLiteral("A posting that was cut short was not completed on this computer: its changes to "
                               "\"%1\" were sealed with this installation's key \"%2\", which %3. They were not "
                               "applied; they are kept in the journal \"%4\" until that key is back.")
                    .arg(unvouched.join(QStringLiteral("\", \"")), InstallationKey::path(),
                         InstallationKey::read() ? QStringLiteral("has been replaced since")
                                                 : QStringLiteral("cannot be read now"),
                         parked)};
    return {PendingPosting::State::Completed, QString()};
}

// Calls `visit` with the path of each replacement file below the folder's shared folder: in
// the data tree ("QVNET/" or "System/") and beside it (the host file), until it returns false.
void forEachReplacement(const QString& folder, const std::function<bool(const QString& path)>& visit)
{
    const auto walk = [&visit](const QString& where, QDirIterator::IteratorFlags flags) {
        QDirIterator it(where, QDir::Files | QDir::Hidden | QDir::System, flags);
        while (it.hasNext()) {
            it.next();
            if (platform::isReplacementFileName(it.fileName()) && !visit(it.filePath()))
                return false;
        }
        return true;
    };
    if (walk(QDir::cleanPath(folder + QStringLiteral("/..")), QDirIterator::Subdirectories))
        (void)walk(rootOf(folder), QDirIterator::NoIteratorFlags);
}

// The replacement files that the readable journals of the folder name.
QSet<QString> namedReplacements(const QString& folder)
{
    QSet<QString> named;
    if (!QFileInfo(folder).isDir())
        return named;
    for (QDirIterator it(folder, QDir::Files | QDir::Hidden | QDir::System); it.hasNext();) {
        const QFileInfo journal = it.nextFileInfo();
        if (!isJournalName(journal.fileName()))
            continue;
        QByteArray bytes;
        if (readJournal(journal.filePath(), bytes) != JournalRead::Read)
            continue;
        if (const auto entries = PostingJournal::decode(folder, bytes))
            for (const JournalEntry& entry : *entries)
                named.insert(cleanAbsolute(replacementPath(entry)));
    }
    return named;
}

// Lets the posting lock complete what it finds, whoever takes it.
const bool completionInstalled = [] {
    datafiles::PostingLock::setPendingCompletion([](const datafiles::PostingLock& lock) {
        const PendingPosting pending = completeUnderLock(lock.folder(), [&lock] { return lock.stillHeld(); });
        switch (pending.state) {
        case PendingPosting::State::Failed:
        case PendingPosting::State::Damaged:
        case PendingPosting::State::Stale:
            return pending.message;
        default:
            return QString();
        }
    });
    return true;
}();

} // namespace

platform::FileResult lockLostWhileWriting(const QString& folder)
{
    return {false, QStringLiteral("The posting lock in \"%1\" was lost while the files were written.").arg(folder)};
}

QString PostingJournal::localFolder()
{
    (void)completionInstalled;
    return datafiles::programPath(QStringLiteral("System/RAzar/"));
}

QString PostingJournal::path(const QString& folder)
{
    return inFolder(folder, QStringLiteral("posting.jnl"));
}

bool PostingJournal::exists(const QString& folder)
{
    return QFileInfo::exists(path(folder));
}

QString PostingJournal::ownPath(const QString& folder)
{
    return journalOf(folder, computerKey());
}

QString PostingJournal::computerKey()
{
    return datafiles::PostingLock::self().computer + QLatin1Char(' ') + datafiles::PostingLock::machineId()
        + QLatin1Char(' ') + InstallationKey::fingerprint();
}

QByteArray PostingJournal::digest(const QByteArray& bytes)
{
    return canonical(XXH3_128bits(bytes.constData(), size_t(bytes.size())));
}

std::optional<QByteArray> PostingJournal::digestOf(const QString& path)
{
    QFile file(path);
    if (!file.exists())
        return QByteArray();
    if (!file.open(QIODevice::ReadOnly))
        return std::nullopt;
    XXH3_state_t state;
    XXH3_128bits_reset(&state);
    char buffer[1 << 16];
    for (;;) {
        const qint64 got = file.read(buffer, sizeof buffer);
        if (got < 0)
            return std::nullopt;
        if (got == 0)
            break;
        XXH3_128bits_update(&state, buffer, size_t(got));
    }
    return canonical(XXH3_128bits_digest(&state));
}

std::optional<QByteArray> PostingJournal::digestOfOpen(int fd)
{
    XXH3_state_t state;
    XXH3_128bits_reset(&state);
    char buffer[1 << 16];
    for (;;) {
        const ssize_t got = ::read(fd, buffer, sizeof buffer);
        if (got < 0 && errno == EINTR)
            continue;
        if (got < 0)
            return std::nullopt;
        if (got == 0)
            break;
        XXH3_128bits_update(&state, buffer, size_t(got));
    }
    return canonical(XXH3_128bits_digest(&state));
}

QString PostingJournal::shareOf(const QString& folder)
{
    return rootOf(folder);
}

platform::FileResult PostingJournal::entryFor(const QString& folder, const QString& path, const QString& replacement,
                                              const QByteArray& before, const QByteArray& after, JournalEntry& entry)
{
    entry = {cleanAbsolute(path), replacement, before, after, QString(), QByteArray()};
    if (entry.path.startsWith(rootOf(folder)))
        return {true, QString()};
    QByteArray key;
    if (auto made = InstallationKey::ensure(key); !made)
        return made;
    entry.computer = computerKey();
    entry.seal = InstallationKey::seal(key, sealed(entry));
    return {true, QString()};
}

QByteArray PostingJournal::encode(const QString& folder, const std::vector<JournalEntry>& entries)
{
    const QString root = rootOf(folder);
    QByteArray out = Mark;
    appendNumber(out, quint32(entries.size()));
    for (const JournalEntry& entry : entries) {
        const QString path = cleanAbsolute(entry.path);
        const bool below = entry.computer.isEmpty() && path.startsWith(root);
        appendText(out, below ? Relative + path.mid(root.size()) : Absolute + path);
        appendText(out, entry.replacement);
        appendBytes(out, entry.before);
        appendBytes(out, entry.after);
        appendText(out, below ? QString() : entry.computer);
        appendBytes(out, below ? QByteArray() : entry.seal);
    }
    out += QCryptographicHash::hash(out, ChecksumKind);
    return out;
}

std::optional<std::vector<JournalEntry>> PostingJournal::decode(const QString& folder, const QByteArray& bytes)
{
    if (bytes.size() < Mark.size() + checksumSize() || !bytes.startsWith(Mark))
        return std::nullopt;
    const qsizetype body = bytes.size() - checksumSize();
    if (QCryptographicHash::hash(QByteArrayView(bytes).first(body), ChecksumKind) != bytes.mid(body))
        return std::nullopt;
    Reader reader(bytes, body);
    reader.bytes(quint64(Mark.size()));
    const auto count = reader.number<quint32>();
    if (!count)
        return std::nullopt;
    const QString root = rootOf(folder);
    std::vector<JournalEntry> entries;
    for (quint32 i = 0; i < *count; ++i) {
        const auto path = reader.text();
        const auto replacement = path ? reader.text() : std::nullopt;
        const auto before = replacement ? reader.counted() : std::nullopt;
        const auto after = before ? reader.counted() : std::nullopt;
        const auto computer = after ? reader.text() : std::nullopt;
        const auto seal = computer ? reader.counted() : std::nullopt;
        if (!seal || path->toUtf8().size() > MaxPathBytes)
            return std::nullopt;
        JournalEntry entry{QString(), *replacement, *before, *after, *computer, *seal};
        if (path->startsWith(Relative)) {
            const QString relative = path->mid(Relative.size());
            if (!staysInside(relative) || !computer->isEmpty() || !seal->isEmpty())
                return std::nullopt;
            entry.path = root + relative;
        } else if (path->startsWith(Absolute)) {
            const QString absolute = path->mid(Absolute.size());
            if (!absolute.startsWith(QLatin1Char('/')) || QDir::cleanPath(absolute) != absolute
                || computer->isEmpty() || seal->isEmpty())
                return std::nullopt;
            entry.path = absolute;
        } else {
            return std::nullopt;
        }
        // The replacement is one of this file's, beside it: a journal renames nothing else.
        const QString start = QLatin1Char('.') + QFileInfo(entry.path).fileName() + QLatin1String(".~p");
        if (!replacement->startsWith(start) || !platform::isReplacementFileName(*replacement)
            || replacement->contains(QLatin1Char('/')))
            return std::nullopt;
        if (after->size() != digestSize() || (!before->isEmpty() && before->size() != digestSize()))
            return std::nullopt;
        entries.push_back(entry);
    }
    if (!reader.atEnd())
        return std::nullopt;
    return entries;
}

platform::FileResult PostingJournal::publish(const QString& folder, const std::vector<JournalEntry>& entries,
                                             const std::function<platform::FileResult()>& beforeVisible,
                                             QByteArray& written)
{
    written = encode(folder, entries);
    const QString journal = path(folder);
    bool allowed = false;
    const auto lastCheck = [&]() -> platform::FileResult {
        platform::FileResult check{true, QString()};
        if (beforeVisible)
            check = beforeVisible();
        allowed = check.ok;
        return check;
    };
    const platform::FileResult made = platform::createExclusive(journal, written, {0666, lastCheck});
    if (!made && allowed && QFileInfo::exists(journal))
        return {false, QStringLiteral("The journal of another posting, \"%1\", stands in the way.").arg(journal)};
    // The journal is made by its path, which a link put in the folder's place at that very
    // moment would lead elsewhere: it is looked for where it belongs, through the share, and a
    // posting whose journal is not there is not saved. Told as cut short instead, it would
    // wait for a completion that never finds its journal.
    if (made) {
        QByteArray there;
        if (readJournal(journal, there) != JournalRead::Read || there != written)
            return {false, QStringLiteral("The journal \"%1\" could not be written: a symbolic link stands in its "
                                          "path, and in a shared folder Quorvane follows none.").arg(journal)};
    }
    if (made)
        platform::syncFolder(QFileInfo(journal).absolutePath());
    return made;
}

platform::FileResult PostingJournal::write(const QString& folder, const std::vector<JournalEntry>& entries,
                                           const QString& journal)
{
    return platform::writeFileAtomically(journal.isEmpty() ? path(folder) : journal, encode(folder, entries));
}

platform::FileResult PostingJournal::removeOwn(const QString& journal, const QByteArray& bytes,
                                              const std::function<bool()>& beforeRemoval)
{
    // A holder stopped past its lease may find another holder's journal at the name: it is
    // left alone (whoever holds the lock now completed this one's, or will). The look is no
    // fence, as the holder may sleep right after it: the journal is taken from its name to
    // one only this holder uses and looked at again there, and one that is not its own is
    // put back (or, when yet another stands at the name by then, left where a completion
    // finds it).
    QByteArray now;
    if (readJournal(journal, now) != JournalRead::Read)
        return {true, QString()};
    if (now != bytes)
        return {true, QString()};
    if (beforeRemoval && !beforeRemoval())
        return {false, QStringLiteral("The file \"%1\" could not be removed.").arg(journal)};
    const QString taken = takenJournalPath(journal);
    if (!takeJournal(journal, bytes, taken))
        return {true, QString()};
    return remove(taken);
}

platform::FileResult PostingJournal::remove(const QString& journal)
{
    if (::unlink(QFile::encodeName(journal).constData()) != 0 && errno != ENOENT)
        return {false, QStringLiteral("The file \"%1\" could not be removed: %2.")
                           .arg(journal, QString::fromLocal8Bit(std::strerror(errno)))};
    platform::syncFolder(QFileInfo(journal).absolutePath());
    return {true, QString()};
}

platform::FileResult PostingJournal::stage(const QString& folder,
                                           const std::vector<std::pair<QString, QByteArray>>& files)
{
    std::vector<JournalEntry> entries;
    for (const auto& [file, bytes] : files) {
        const std::optional<QByteArray> before = digestOf(file);
        if (!before)
            return {false, QStringLiteral("The file \"%1\" could not be read.").arg(file)};
        QString replacement;
        if (auto written = platform::writeReplacement(file, bytes, replacement); !written)
            return written;
        JournalEntry entry;
        if (auto made = entryFor(folder, file, QFileInfo(replacement).fileName(), *before, digest(bytes), entry);
            !made)
            return made;
        entries.push_back(entry);
    }
    return write(folder, entries);
}

PendingPosting completeUnderLock(const QString& folder, const std::function<bool()>& stillHeld)
{
    // A journal half written by a holder killed (or stopped past its lease) before it made it
    // visible was taken away as the lock was taken: nothing was renamed for it.
    PendingPosting pending = completeJournal(folder, PostingJournal::path(folder), stillHeld);
    if (pending.state == PendingPosting::State::Failed)
        return pending;
    // Journals that a holder was removing when it lost the lock lie under a name of its own.
    for (QDirIterator it(folder, QDir::Files | QDir::Hidden | QDir::System); it.hasNext();) {
        const QFileInfo file = it.nextFileInfo();
        if (!isTakenJournalName(file.fileName()))
            continue;
        const PendingPosting taken = completeJournal(folder, file.filePath(), stillHeld);
        if (taken.state == PendingPosting::State::Failed)
            return taken;
        if (pending.state == PendingPosting::State::None
            || (pending.state == PendingPosting::State::Completed && taken.state != PendingPosting::State::Completed))
            pending = taken;
    }
    // A journal set aside leaves the folder clear for this installation's own, which does
    // not depend on it; what was set aside is still told.
    const PendingPosting own = completeJournal(folder, PostingJournal::ownPath(folder), stillHeld);
    if (own.state == PendingPosting::State::None
        || (own.state == PendingPosting::State::Completed && pending.state != PendingPosting::State::None))
        return pending;
    return own;
}

PendingPosting CompletePendingPosting(const QString& folder)
{
    if (!QFileInfo(folder).isDir())
        return {};
    datafiles::PostingLock lock(folder);
    lock.setCompletes(false);
    switch (lock.acquire()) {
    case datafiles::PostingLock::Status::Held:
    case datafiles::PostingLock::Status::Unfinished:
        break;
    case datafiles::PostingLock::Status::Busy:
        return {PendingPosting::State::Busy,
                QStringLiteral("%1 is posting into \"%2\" right now.").arg(lock.holder().describe(), folder)};
    case datafiles::PostingLock::Status::Failed:
        // Without a lock nothing may be completed; a journal there stays for later.
        return PostingJournal::exists(folder) ? failed(lock.error()) : PendingPosting{};
    }
    return completeUnderLock(folder, [&lock] { return lock.stillHeld(); });
}

int removeDeadReplacements(const QString& folder, const QStringList& otherFolders)
{
    QSet<QString> named = namedReplacements(folder);
    for (const QString& other : otherFolders)
        named.unite(namedReplacements(other));
    // Removed through a handle on the shared folder: a folder of the share turned into a link
    // meanwhile makes the removal fail, and nothing outside the share is removed.
    const JournalFiles files(folder);
    WriteSteps steps;
    int removed = 0;
    forEachReplacement(folder, [&removed, &named, &files, &steps](const QString& path) {
        if (!named.contains(cleanAbsolute(path)) && steps.next() && files.removeBelowShare(path))
            ++removed;
        return true;
    });
    return removed;
}

bool hasPostingLeftovers(const QString& folder)
{
    for (const QString& path : {inFolder(folder, datafiles::PostingLock::fileName()), PostingJournal::path(folder)})
        if (QFileInfo::exists(path))
            return true;
    // This installation's own journal is named after it, which takes a while to find out:
    // the name is worked out only when the folder holds journals of that kind at all.
    QStringList journals;
    for (QDirIterator it(folder, QDir::Files | QDir::Hidden | QDir::System); it.hasNext();) {
        const QString name = it.nextFileInfo().fileName();
        if (datafiles::PostingLock::isBreakMarkerName(name)
            || platform::isTemporaryFileOf(name, QStringLiteral("posting.jnl")))
            return true;
        if (isTakenJournalName(name))
            return true;
        if (isJournalName(name))
            journals << name;
    }
    if (!journals.isEmpty() && journals.contains(QFileInfo(PostingJournal::ownPath(folder)).fileName()))
        return true;
    bool found = false;
    forEachReplacement(folder, [&found](const QString&) {
        found = true;
        return false;
    });
    return found;
}

} // namespace posting
