#include "posting/postingjournal.h"

#include "datafiles/datafoldertree.h"
#include "datafiles/postinglock.h"
#include "posting/writestephook.h"

#include <QCryptographicHash>
#include <QDir>
#include <QDirIterator>
#include <QFile>
#include <QFileInfo>
#include <QSet>
#include <QtEndian>
#include <cerrno>
#include <cstring>
#include <functional>
#include <unistd.h>

namespace posting {

namespace {

const QByteArray Mark = QByteArrayLiteral("QVPOST2\n");
constexpr QCryptographicHash::Algorithm ChecksumKind = QCryptographicHash::Blake2b_256;
const QString Relative = QStringLiteral("R:");
const QString Absolute = QStringLiteral("A:");

qsizetype checksumSize()
{
    return QCryptographicHash::hashLength(ChecksumKind);
}

template <typename Number>
void appendNumber(QByteArray& out, Number value)
{
    char bytes[sizeof(Number)];
    qToBigEndian(value, bytes);
    out.append(bytes, qsizetype(sizeof(Number)));
}

void appendText(QByteArray& out, const QString& text)
{
    const QByteArray utf8 = text.toUtf8();
    appendNumber(out, quint32(utf8.size()));
    out += utf8;
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
    std::optional<QString> text()
    {
        const auto length = number<quint32>();
        const auto utf8 = length ? bytes(*length) : std::nullopt;
        if (!utf8)
            return std::nullopt;
        return QString::fromUtf8(*utf8);
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

QString damagedPath(const QString& journal)
{
    return journal + QStringLiteral(".damaged");
}

PendingPosting damaged(const QString& journal, const QString& why)
{
    QFile::remove(damagedPath(journal));
    QFile::rename(journal, damagedPath(journal));
    return {PendingPosting::State::Damaged,
            QStringLiteral("A posting that was cut short could not be completed: %1 Its journal was set aside "
                           "as \"%2\".").arg(why, damagedPath(journal))};
}

PendingPosting failed(const QString& error)
{
    return {PendingPosting::State::Failed,
            QStringLiteral("A posting that was cut short could not be completed; Quorvane tries again before "
                           "the next posting. %1").arg(error)};
}

// Renames what is left of the entries; the folders are flushed once at the end.
PendingPosting renameLeft(const std::vector<JournalEntry>& entries, const QString& journal, WriteSteps& steps)
{
    QSet<QString> folders;
    for (const JournalEntry& entry : entries) {
        const QString replacement = replacementPath(entry);
        if (!QFileInfo::exists(replacement)) {
            // Renamed before the cut, unless the file was changed or lost since.
            const QFileInfo done(entry.path);
            if (!done.exists() || done.size() != entry.size)
                return damaged(journal, QStringLiteral("the new content of \"%1\" is missing.").arg(entry.path));
            continue;
        }
        platform::FileResult renamed{false, QStringLiteral("The file \"%1\" could not be written.").arg(entry.path)};
        if (steps.next())
            renamed = platform::replaceWith(replacement, entry.path, false);
        if (!renamed)
            return failed(renamed.error);
        folders.insert(QFileInfo(entry.path).absolutePath());
    }
    for (const QString& folder : folders)
        platform::syncFolder(folder);
    return {PendingPosting::State::Completed, QString()};
}

// Completes one journal; entries of files only another computer reaches are handed to
// that computer's own journal.
PendingPosting completeJournal(const QString& folder, const QString& journal)
{
    if (!QFileInfo::exists(journal))
        return {};
    QByteArray bytes;
    if (auto read = platform::readWholeFile(journal, bytes); !read)
        return failed(read.error);
    const auto entries = PostingJournal::decode(folder, bytes);
    if (!entries)
        return damaged(journal, QStringLiteral("its journal \"%1\" is damaged.").arg(journal));
    const QString me = PostingJournal::computerKey();
    std::vector<JournalEntry> mine;
    std::map<QString, std::vector<JournalEntry>> others;
    for (const JournalEntry& entry : *entries) {
        if (entry.computer.isEmpty() || entry.computer == me)
            mine.push_back(entry);
        else
            others[entry.computer].push_back(entry);
    }
    WriteSteps steps;
    const PendingPosting done = renameLeft(mine, journal, steps);
    if (done.state != PendingPosting::State::Completed)
        return done;
    for (const auto& [computer, left] : others) {
        const QString theirs = inFolder(folder, QStringLiteral("posting.%1.jnl")
                                                    .arg(QString::fromLatin1(QCryptographicHash::hash(
                                                        computer.toUtf8(), QCryptographicHash::Sha1)
                                                                                  .toHex()
                                                                                  .left(12))));
        std::vector<JournalEntry> kept = left;
        QByteArray earlier;
        if (QFileInfo::exists(theirs) && platform::readWholeFile(theirs, earlier))
            if (const auto before = PostingJournal::decode(folder, earlier))
                kept.insert(kept.begin(), before->begin(), before->end());
        if (auto written = PostingJournal::write(folder, kept, theirs); !written)
            return failed(written.error);
    }
    platform::FileResult removed{false, QString()};
    if (steps.next())
        removed = PostingJournal::remove(journal);
    if (!removed)
        return {PendingPosting::State::Failed,
                QStringLiteral("A posting that was cut short was completed, but its journal \"%1\" could not be "
                               "removed. %2").arg(journal, removed.error)};
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

// Lets the posting lock complete what it finds, whoever takes it.
const bool completionInstalled = [] {
    datafiles::PostingLock::setPendingCompletion([](const QString& folder) {
        const PendingPosting pending = completeUnderLock(folder);
        return pending.state == PendingPosting::State::Failed || pending.state == PendingPosting::State::Damaged
            ? pending.message
            : QString();
    });
    return true;
}();

} // namespace

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
    return inFolder(folder, QStringLiteral("posting.%1.jnl")
                                .arg(QString::fromLatin1(
                                    QCryptographicHash::hash(computerKey().toUtf8(), QCryptographicHash::Sha1)
                                        .toHex()
                                        .left(12))));
}

QString PostingJournal::computerKey()
{
    QFile id(QStringLiteral("/etc/machine-id"));
    QByteArray machine;
    if (id.open(QIODevice::ReadOnly))
        machine = id.readLine().trimmed();
    return datafiles::PostingLock::self().computer + QLatin1Char(' ') + QString::fromLatin1(machine);
}

QByteArray PostingJournal::encode(const QString& folder, const std::vector<JournalEntry>& entries)
{
    const QString root = rootOf(folder);
    QByteArray out = Mark;
    appendNumber(out, quint32(entries.size()));
    for (const JournalEntry& entry : entries) {
        const QString path = cleanAbsolute(entry.path);
        const bool below = path.startsWith(root);
        appendText(out, below ? Relative + path.mid(root.size()) : Absolute + path);
        appendText(out, entry.replacement);
        appendNumber(out, qint64(entry.size));
        appendText(out, below ? QString() : (entry.computer.isEmpty() ? computerKey() : entry.computer));
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
        const auto size = replacement ? reader.number<qint64>() : std::nullopt;
        const auto computer = size ? reader.text() : std::nullopt;
        if (!computer || path->size() <= 2 || replacement->isEmpty() || replacement->contains(QLatin1Char('/')))
            return std::nullopt;
        JournalEntry entry;
        if (path->startsWith(Relative))
            entry.path = root + path->mid(2);
        else if (path->startsWith(Absolute))
            entry.path = path->mid(2);
        else
            return std::nullopt;
        entry.replacement = *replacement;
        entry.size = *size;
        entry.computer = *computer;
        entries.push_back(entry);
    }
    if (!reader.atEnd())
        return std::nullopt;
    return entries;
}

platform::FileResult PostingJournal::write(const QString& folder, const std::vector<JournalEntry>& entries,
                                           const QString& journal)
{
    return platform::writeFileAtomically(journal.isEmpty() ? path(folder) : journal, encode(folder, entries));
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
        QString replacement;
        if (auto written = platform::writeReplacement(file, bytes, replacement); !written)
            return written;
        entries.push_back({file, QFileInfo(replacement).fileName(), bytes.size(), QString()});
    }
    return write(folder, entries);
}

PendingPosting completeUnderLock(const QString& folder)
{
    PendingPosting pending = completeJournal(folder, PostingJournal::path(folder));
    if (pending.state != PendingPosting::State::None && pending.state != PendingPosting::State::Completed)
        return pending;
    const PendingPosting own = completeJournal(folder, PostingJournal::ownPath(folder));
    return own.state == PendingPosting::State::None ? pending : own;
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
    return completeUnderLock(folder);
}

int removeDeadReplacements(const QString& folder)
{
    int removed = 0;
    forEachReplacement(folder, [&removed](const QString& path) {
        if (QFile::remove(path))
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
    // This computer's own journal is named after the computer, which takes a while to find
    // out: the name is worked out only when the folder holds journals of that kind at all.
    QStringList journals;
    for (QDirIterator it(folder, QDir::Files | QDir::Hidden | QDir::System); it.hasNext();) {
        const QString name = it.nextFileInfo().fileName();
        if (name.startsWith(QLatin1String("posting.")) && name.endsWith(QLatin1String(".jnl")))
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
