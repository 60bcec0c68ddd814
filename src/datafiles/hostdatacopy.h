#pragma once
// The copy of this machine's data tree into a host's shared data folder. It runs under the
// posting lock of that folder, as a posting does, so that no posting of another computer is
// cut in two by it; a file someone saved there that is newer than this machine's copy is
// replaced only when the user agreed; and what this machine's own postings keep beside its
// data (their lock, journals and markers) is no data and stays behind.

#include "datafiles/stagedtreecopy.h"

#include <QString>
#include <functional>
#include <vector>

namespace datafiles {

class HostDataCopy {
public:
    // The shared files newer than this machine's files of the same name, newest first.
    // Listed before the user is asked, without the lock: the copy itself replaces only those
    // still as they were listed.
    static std::vector<NewerFile> newerShared(const QString& local, const QString& shared);

    // Makes the shared folder when it is missing, takes its posting lock (waiting for a
    // posting of another computer as a posting does, and completing one cut short) and
    // copies. A shared file newer than this machine's is replaced only when it is among
    // `replaced`; every other file of the same name is replaced. While the lock is kept by
    // another, or once it is no longer ours, nothing is copied and the result says why.
    static platform::FileResult copy(const QString& local, const QString& shared,
                                     const std::vector<NewerFile>& replaced,
                                     const std::function<void()>& fileCopied = {});

    // Whether a path of a data tree (relative, "/" between folders) is the posting lock's or
    // its journals' rather than data.
    static bool isPostingBookkeeping(const QString& relative);
};

} // namespace datafiles
