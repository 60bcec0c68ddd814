#include "posting/filechangeset.h"

#include "platform/safefile.h"
#include "posting/postingjournal.h"
#include "posting/writestephook.h"

#include <QFile>
#include <QFileInfo>
#include <algorithm>

namespace posting {

namespace {

platform::FileResult notWritten(const QString& path)
{
    return {false, QStringLiteral("The file \"%1\" could not be written.").arg(path)};
}

} // namespace

void FileChangeSet::add(const QString& path, const QByteArray& bytes,
                        const std::optional<QByteArray>& before)
{
    const auto same = std::find_if(m_files.begin(), m_files.end(),
                                   [&](const File& file) { return file.path == path; });
    if (same != m_files.end()) {
        same->bytes = bytes;
        return;
    }
    m_files.push_back({path, bytes, before});
    m_order.push_back(path);
}

QByteArray FileChangeSet::bytesOf(const QString& path) const
{
    for (const File& file : m_files)
        if (file.path == path)
            return file.bytes;
    return {};
}

FileChangeSet::Result FileChangeSet::commit() const
{
    std::vector<Before> before;
    std::vector<JournalEntry> entries;
    for (const File& file : m_files) {
        QByteArray old;
        if (file.known)
            before.emplace_back(file.known);
        else if (!QFileInfo::exists(file.path))
            before.emplace_back(std::nullopt);
        else if (auto read = platform::readWholeFile(file.path, old))
            before.emplace_back(old);
        else
            return {Outcome::PutBack, read.error};
        entries.push_back({file.path, file.bytes});
    }

    WriteSteps steps;
    platform::FileResult journal = notWritten(PostingJournal::path());
    if (steps.next())
        journal = PostingJournal::write(entries);
    if (!journal)
        return {Outcome::PutBack, journal.error};

    for (size_t i = 0; i < m_files.size(); ++i) {
        platform::FileResult written = notWritten(m_files[i].path);
        if (steps.next())
            written = platform::writeFileAtomically(m_files[i].path, m_files[i].bytes);
        if (!written) {
            const bool putBackWhole = putBack(before, i) && PostingJournal::remove();
            return {putBackWhole ? Outcome::PutBack : Outcome::Deferred, written.error};
        }
    }

    // Every file is written; a journal that cannot be removed is completed again later,
    // which writes the same contents once more.
    if (steps.next())
        (void)PostingJournal::remove();
    return {Outcome::Written, QString()};
}

bool FileChangeSet::putBack(const std::vector<Before>& before, size_t written) const
{
    bool whole = true;
    for (size_t i = written; i-- > 0;) {
        const QString& path = m_files[i].path;
        if (before[i])
            whole = platform::writeFileAtomically(path, *before[i]).ok && whole;
        else
            whole = QFile::remove(path) && whole;
    }
    return whole;
}

} // namespace posting
