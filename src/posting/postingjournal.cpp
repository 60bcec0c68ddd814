#include "posting/postingjournal.h"

#include "datafiles/datafoldertree.h"
#include "posting/writestephook.h"

#include <QCryptographicHash>
#include <QFile>
#include <QFileInfo>
#include <QtEndian>
#include <cerrno>
#include <cstring>
#include <fcntl.h>
#include <unistd.h>

namespace posting {

namespace {

const QByteArray Mark = QByteArrayLiteral("QVPOST1\n");
constexpr QCryptographicHash::Algorithm ChecksumKind = QCryptographicHash::Blake2b_256;

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
    bool atEnd() const { return m_pos == m_end; }

private:
    const QByteArray& m_bytes;
    qsizetype m_end;
    qsizetype m_pos = 0;
};

// A removal lasts only once the folder that held the name is on the disk.
void syncFolder(const QString& folder)
{
    const int fd = ::open(QFile::encodeName(folder).constData(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (fd >= 0) {
        ::fsync(fd);
        ::close(fd);
    }
}

QString damagedPath()
{
    return PostingJournal::path() + QStringLiteral(".damaged");
}

} // namespace

QString PostingJournal::path()
{
    return datafiles::programPath(QStringLiteral("System/RAzar/sys/posting.jnl"));
}

bool PostingJournal::exists()
{
    return QFileInfo::exists(path());
}

QByteArray PostingJournal::encode(const std::vector<JournalEntry>& entries)
{
    qsizetype size = Mark.size() + qsizetype(sizeof(quint32)) + checksumSize();
    for (const JournalEntry& entry : entries)
        size += qsizetype(sizeof(quint32) + sizeof(quint64)) + entry.path.size() * 3 + entry.bytes.size();
    QByteArray out;
    out.reserve(size); // the files' contents are large: appended once each, never moved again
    out += Mark;
    appendNumber(out, quint32(entries.size()));
    for (const JournalEntry& entry : entries) {
        const QByteArray name = entry.path.toUtf8();
        appendNumber(out, quint32(name.size()));
        out += name;
        appendNumber(out, quint64(entry.bytes.size()));
        out += entry.bytes;
    }
    out += QCryptographicHash::hash(out, ChecksumKind);
    return out;
}

std::optional<std::vector<JournalEntry>> PostingJournal::decode(const QByteArray& bytes)
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
    std::vector<JournalEntry> entries;
    for (quint32 i = 0; i < *count; ++i) {
        const auto nameLength = reader.number<quint32>();
        const auto name = nameLength ? reader.bytes(*nameLength) : std::nullopt;
        const auto length = name ? reader.number<quint64>() : std::nullopt;
        const auto content = length ? reader.bytes(*length) : std::nullopt;
        if (!content || name->isEmpty())
            return std::nullopt;
        entries.push_back({QString::fromUtf8(*name), *content});
    }
    if (!reader.atEnd())
        return std::nullopt;
    return entries;
}

platform::FileResult PostingJournal::write(const std::vector<JournalEntry>& entries)
{
    return platform::writeFileAtomically(path(), encode(entries));
}

platform::FileResult PostingJournal::remove()
{
    const QString journal = path();
    if (::unlink(QFile::encodeName(journal).constData()) != 0 && errno != ENOENT)
        return {false, QStringLiteral("The file \"%1\" could not be removed: %2.")
                           .arg(journal, QString::fromLocal8Bit(std::strerror(errno)))};
    syncFolder(QFileInfo(journal).absolutePath());
    return {true, QString()};
}

PendingPosting CompletePendingPosting()
{
    if (!PostingJournal::exists())
        return {};
    QByteArray bytes;
    if (auto read = platform::readWholeFile(PostingJournal::path(), bytes); !read)
        return {PendingPosting::State::Failed,
                QStringLiteral("A posting that was cut short could not be completed. %1").arg(read.error)};
    const auto entries = PostingJournal::decode(bytes);
    if (!entries) {
        // Its files are untouched: they are replaced only once the whole journal is on disk.
        QFile::remove(damagedPath());
        QFile::rename(PostingJournal::path(), damagedPath());
        return {PendingPosting::State::Damaged,
                QStringLiteral("The journal of a posting that was cut short, \"%1\", is damaged, so "
                               "that posting was not completed. It was set aside as \"%2\".")
                    .arg(PostingJournal::path(), damagedPath())};
    }
    WriteSteps steps;
    for (const JournalEntry& entry : *entries) {
        platform::FileResult written{false, QStringLiteral("The file \"%1\" could not be written.").arg(entry.path)};
        if (steps.next())
            written = platform::writeFileAtomically(entry.path, entry.bytes);
        if (!written)
            return {PendingPosting::State::Failed,
                    QStringLiteral("A posting that was cut short could not be completed; Quorvane "
                                   "tries again at its next start. %1").arg(written.error)};
    }
    platform::FileResult removed{false, QString()};
    if (steps.next())
        removed = PostingJournal::remove();
    if (!removed)
        return {PendingPosting::State::Failed,
                QStringLiteral("A posting that was cut short was completed, but its journal \"%1\" "
                               "could not be removed. %2").arg(PostingJournal::path(), removed.error)};
    return {PendingPosting::State::Completed, QString()};
}

} // namespace posting
