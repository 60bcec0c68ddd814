#include "posting/filechangeset.h"

#include "platform/safefile.h"
#include "posting/journalfiles.h"
#include "posting/postingjournal.h"
#include "posting/writestephook.h"

#include <QFile>
#include <QFileInfo>
#include <QSet>
#include <algorithm>

namespace posting {

namespace {

platform::FileResult notWritten(const QString& path)
{
    return {false, QStringLiteral("The file \"%1\" could not be written.").arg(path)};
}

void removeAll(const std::vector<JournalEntry>& entries, const JournalFiles& files)
{
    for (const JournalEntry& entry : entries)
        files.removeReplacement(entry.path, entry.replacement);
}

} // namespace

void FileChangeSet::add(const QString& path, const QByteArray& bytes)
{
    const auto same = std::find_if(m_files.begin(), m_files.end(),
                                   [&](const File& file) { return file.path == path; });
    if (same != m_files.end()) {
        same->bytes = bytes;
        return;
    }
    m_files.push_back({path, bytes});
    m_order.push_back(path);
}

QByteArray FileChangeSet::bytesOf(const QString& path) const
{
    for (const File& file : m_files)
        if (file.path == path)
            return file.bytes;
    return {};
}

FileChangeSet::Result FileChangeSet::commit(const QString& folder, const std::function<bool()>& stillHeld) const
{
    WriteSteps steps;
    JournalFiles files(folder);
    std::vector<JournalEntry> entries;
    for (const File& file : m_files) {
        // A file below the shared folder is written there under its own name, through a handle
        // on the folder: a link anywhere on its way refuses the posting. A file outside it
        // (this computer's settings file, a transaction saved elsewhere) is the one its link
        // leads to, as any save of it keeps the link. The journal records what the file holds
        // now, under the lock: it is rolled forward only onto this.
        const bool below = !files.belowShare(file.path).isEmpty();
        const QString target = below ? file.path : platform::resolvedTarget(file.path);
        const JournalFiles::Digest before = files.digestOf(file.path);
        platform::FileResult written = notWritten(file.path);
        QString replacement;
        if (!before.digest)
            written = {false, before.message};
        else if (steps.next())
            written = files.writeReplacement(file.path, file.bytes, replacement);
        JournalEntry entry;
        if (written)
            written = PostingJournal::entryFor(folder, target, replacement, *before.digest,
                                               PostingJournal::digest(file.bytes), entry);
        if (!written) {
            if (!replacement.isEmpty())
                files.removeReplacement(target, replacement);
            removeAll(entries, files);
            return {Outcome::PutBack, written.error};
        }
        entries.push_back(entry);
    }

    const QString journalPath = PostingJournal::path(folder);
    platform::FileResult journal = notWritten(journalPath);
    QByteArray journalBytes;
    if (!stillHeld())
        journal = lockLostWhileWriting(folder);
    else if (steps.next())
        // The journal is written and flushed, and made visible only if the lock is still ours
        // at that moment: a holder stopped while writing it must not publish it after another
        // computer has taken the lock over and posted.
        journal = PostingJournal::publish(folder, entries, [&]() -> platform::FileResult {
            if (!steps.next())
                return notWritten(journalPath);
            return stillHeld() ? platform::FileResult{true, QString()} : lockLostWhileWriting(folder);
        }, journalBytes);
    if (!journal) {
        removeAll(entries, files);
        return {Outcome::PutBack, journal.error};
    }

    for (const JournalEntry& entry : entries) {
        platform::FileResult renamed = notWritten(entry.path);
        if (!stillHeld())
            renamed = lockLostWhileWriting(folder);
        else if (steps.next())
            renamed = files.rename(entry);
        if (!renamed)
            return {Outcome::Deferred, renamed.error};
    }
    files.flushFolders();

    // Every file is written; a journal that cannot be removed is completed again later,
    // which finds every rename done. Only this posting's own journal is removed.
    (void)PostingJournal::removeOwn(journalPath, journalBytes, [&steps] { return steps.next(); });
    return {Outcome::Written, QString()};
}

} // namespace posting
