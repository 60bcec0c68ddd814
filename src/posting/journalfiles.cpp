#include "posting/journalfiles.h"

#include <QFile>
#include <QFileInfo>
#include <cerrno>
#include <sys/stat.h>

namespace posting {

namespace {

// The name below the share of the folder that holds a name below it ("" for the share itself).
QString folderOf(const QString& relative)
{
    const qsizetype cut = relative.lastIndexOf(QLatin1Char('/'));
    return cut < 0 ? QString() : relative.left(cut);
}

QString besideIt(const QString& relative, const QString& name)
{
    const QString folder = folderOf(relative);
    return folder.isEmpty() ? name : folder + QLatin1Char('/') + name;
}

// The digest of a file outside the share, read by its path; a failure names it as `named`.
JournalFiles::Digest pathDigest(const QString& path, const QString& named)
{
    JournalFiles::Digest d;
    d.digest = PostingJournal::digestOf(path);
    if (!d.digest) {
        d.error = EIO;
        d.message = QStringLiteral("The file \"%1\" could not be read.").arg(named);
    }
    return d;
}

} // namespace

JournalFiles::JournalFiles(const QString& folder) : m_share(PostingJournal::shareOf(folder)) {}

JournalFiles::Digest JournalFiles::digestBelow(const QString& relative, const QString& path) const
{
    Digest d;
    platform::FileHandle file;
    int error = m_share.openForReading(relative, file);
    if (error == ENOENT || error == ENOTDIR) {
        d.digest = QByteArray(); // no file there
        return d;
    }
    if (error == 0) {
        d.digest = PostingJournal::digestOfOpen(file.fd());
        if (d.digest)
            return d;
        error = EIO;
    }
    d.error = error;
    d.message = platform::ConfinedFolder::failure(path, QStringLiteral("read"), error);
    return d;
}

JournalFiles::Digest JournalFiles::digestOf(const JournalEntry& entry) const
{
    const QString relative = belowShare(entry.path);
    return relative.isEmpty() ? pathDigest(entry.path, entry.path) : digestBelow(relative, entry.path);
}

JournalFiles::Digest JournalFiles::replacementDigestOf(const JournalEntry& entry) const
{
    const QString path = QFileInfo(entry.path).absolutePath() + QLatin1Char('/') + entry.replacement;
    const QString relative = belowShare(entry.path);
    if (relative.isEmpty())
        return QFileInfo::exists(path) ? pathDigest(path, path) : Digest{QByteArray(), 0, QString()};
    return digestBelow(besideIt(relative, entry.replacement), path);
}

JournalFiles::Digest JournalFiles::digestOf(const QString& path) const
{
    const QString relative = belowShare(path);
    return relative.isEmpty() ? pathDigest(platform::resolvedTarget(path), path) : digestBelow(relative, path);
}

platform::FileResult JournalFiles::writeReplacement(const QString& path, const QByteArray& bytes,
                                                    QString& replacement) const
{
    const QString relative = belowShare(path);
    if (relative.isEmpty()) {
        QString written;
        platform::FileResult result = platform::writeReplacement(path, bytes, written);
        if (result)
            replacement = QFileInfo(written).fileName();
        return result;
    }
    platform::FileHandle folder;
    QByteArray leaf;
    QByteArray made;
    int error = m_share.openParent(relative, folder, leaf);
    if (error == 0)
        error = platform::writeReplacementIn(folder.fd(), leaf, bytes, made);
    if (error != 0)
        return {false, platform::ConfinedFolder::failure(path, QStringLiteral("written"), error)};
    replacement = QFile::decodeName(made);
    return {true, QString()};
}

platform::FileResult JournalFiles::rename(const JournalEntry& entry)
{
    const QString relative = belowShare(entry.path);
    if (relative.isEmpty()) {
        platform::FileResult renamed = platform::replaceWith(
            QFileInfo(entry.path).absolutePath() + QLatin1Char('/') + entry.replacement, entry.path, false);
        if (renamed)
            m_changedOutside.insert(QFileInfo(entry.path).absolutePath());
        return renamed;
    }
    platform::FileHandle folder;
    QByteArray leaf;
    int error = m_share.openParent(relative, folder, leaf);
    if (error == 0)
        error = platform::replaceIn(folder.fd(), QFile::encodeName(entry.replacement), leaf);
    if (error != 0) {
        platform::FileResult failed{false, platform::ConfinedFolder::failure(entry.path, QStringLiteral("written"), error)};
        failed.missingSource = error == ENOENT;
        return failed;
    }
    const QString changed = folderOf(relative);
    if (!m_changed.contains(changed))
        m_changed.emplace(changed, std::move(folder));
    return {true, QString()};
}

void JournalFiles::removeReplacement(const QString& path, const QString& replacement) const
{
    const QString relative = belowShare(path);
    if (relative.isEmpty()) {
        QFile::remove(QFileInfo(path).absolutePath() + QLatin1Char('/') + replacement);
        return;
    }
    platform::FileHandle folder;
    QByteArray leaf;
    if (m_share.openParent(relative, folder, leaf) == 0)
        (void)platform::removeIn(folder.fd(), QFile::encodeName(replacement));
}

void JournalFiles::flushFolders()
{
    for (const auto& [name, folder] : m_changed)
        platform::syncFolderHandle(folder.fd());
    m_changed.clear();
    for (const QString& folder : m_changedOutside)
        platform::syncFolder(folder);
    m_changedOutside.clear();
}

bool JournalFiles::removeBelowShare(const QString& path) const
{
    const QString relative = belowShare(path);
    platform::FileHandle folder;
    QByteArray leaf;
    if (relative.isEmpty() || m_share.openParent(relative, folder, leaf) != 0)
        return false;
    return platform::removeIn(folder.fd(), leaf) == 0;
}

} // namespace posting
