#pragma once
// The walk behind the file search: one folder tree searched depth first for the files whose
// names match a pattern. A folder's own matches come before those of its sub-folders, and
// both are taken in name order (letter case ignored), so every search of the same tree gives
// the same list. The walk stays on the file system of its root, as a drive search stays on
// its drive: it does not enter another file system's mount point, follows no symbolic link to
// a folder and lists no folder twice, so link loops end. Hidden entries (names starting with
// ".") are neither counted, listed nor entered. A folder that cannot be opened or listed is
// passed over without a word; the walk goes on with the next one.

#include <QByteArray>
#include <QSet>
#include <QString>
#include <QStringList>
#include <atomic>

namespace shell {

// What the walk hands over, in the order it finds it, on the thread that runs it.
class FileSearchSink {
public:
    virtual ~FileSearchSink() = default;
    // A folder (its path ending with "/") is about to be listed.
    virtual void folderStarted(const QString& folder) { (void)folder; }
    // A folder has been listed to its end: the entries examined in it ("." and ".."
    // included) and the names of its matching files, in name order.
    virtual void folderListed(const QString& folder, qint64 examined, const QStringList& matches) = 0;
    // A folder whose path the system refuses as a name (longer than the system allows).
    virtual void badFolderName(const QString& folder) { (void)folder; }
};

class FileSearchWalk {
public:
    // root: the folder to search, "/" appended when it does not end with one; pattern: as
    // matchesSearchPattern takes it. The mount points are read from the system's table.
    FileSearchWalk(const QString& root, const QString& pattern);

    // The folders (without trailing "/") where other file systems are mounted; the walk does
    // not enter them. Tests set their own.
    void setMountPoints(QSet<QByteArray> mountPoints) { m_mountPoints = std::move(mountPoints); }

    const QString& root() const { return m_rootText; }
    const QString& pattern() const { return m_pattern; }

    enum class End { Finished, Stopped };
    // Walks the whole tree, or until stop is set (looked at before every folder and entry;
    // a folder cut short hands nothing over).
    End run(FileSearchSink& sink, const std::atomic<bool>& stop) const;

private:
    QByteArray m_root;
    QString m_rootText;
    QString m_pattern;
    QSet<QByteArray> m_mountPoints;
};

} // namespace shell
