#pragma once
// Generated folder trees for the file search tests, a gate that holds a search at a chosen
// folder until the test lets it go, and what it takes to meet an unreadable folder when the
// tests run as root.

#include <QByteArray>
#include <QString>
#include <QStringList>
#include <QTemporaryDir>
#include <atomic>
#include <functional>
#include <memory>
#include <semaphore>

namespace filesearchtest {

// A temporary folder tree, removed with everything in it (locked folders and paths longer
// than the system's limit included) when the test ends. Paths are given relative to its root,
// "/"-separated; folders on the way are made as needed.
class SearchTree {
public:
    SearchTree();
    ~SearchTree();
    SearchTree(const SearchTree&) = delete;
    SearchTree& operator=(const SearchTree&) = delete;

    // The root, without a trailing "/".
    QString root() const { return m_root; }
    QString path(const QString& relative) const { return m_root + QLatin1Char('/') + relative; }

    void folder(const QString& relative) const;
    void file(const QString& relative, const QByteArray& bytes = {}) const;
    void files(const QStringList& relatives) const;
    // A symbolic link at relative pointing to target (as written, relative or absolute).
    void link(const QString& relative, const QString& target) const;
    // Takes every permission off a folder (given back before the tree is removed).
    void lock(const QString& relative);
    // Removes a file or folder with everything below it.
    void remove(const QString& relative) const;
    // Makes folders below relative, each named with 200 letters, until the path of the
    // deepest is longer than the system allows, and puts a "deep.QVI" in it. Returns the path
    // of the first folder whose path is too long.
    QString tooLongBranch(const QString& relative) const;

private:
    QTemporaryDir m_dir;
    QString m_root;
    QStringList m_locked;
};

// Holds a search at the first folder whose path ends with the given text: the folder hook
// (run on the search's thread) blocks there until release(), or until the gate is destroyed.
class FolderGate {
public:
    explicit FolderGate(const QString& folderSuffix);
    ~FolderGate();
    FolderGate(const FolderGate&) = delete;
    FolderGate& operator=(const FolderGate&) = delete;

    // The hook to give the window or the run (it may outlive the gate).
    std::function<void(const QString&)> hook() const;
    // Blocks until the search has reached the folder and is held there.
    void waitUntilHeld();
    void release();

private:
    struct State {
        QString suffix;
        std::atomic<bool> used {false};
        std::binary_semaphore held {0};
        std::binary_semaphore go {0};
    };
    std::shared_ptr<State> m_state;
    bool m_released = false;
};

// Whether this process runs as root, where folder permissions do not keep it out.
bool runningAsRoot();

// Makes the calling thread meet folder permissions as an ordinary user would: as root it
// takes the file-system identity of "nobody" for this thread alone (which also drops the
// right to override permissions); otherwise nothing changes. The thread keeps it to its end.
void meetPermissionsOnThisThread();

// Whether the calling thread is kept out of the folder (opening it for listing fails).
bool keptOut(const QString& folder);

} // namespace filesearchtest
