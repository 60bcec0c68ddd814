#pragma once
// A copy of a folder tree that lands whole or not at all. The files are copied, without a
// flush for each, into a staging folder beside the destination that also holds the
// destination's own files (as links, so nothing of them is copied); the staging folder is
// then made durable at once and exchanged with the destination in one rename. A copy that
// fails or is killed leaves the destination as it was and at most a staging folder beside
// it, which a later copy removes once it is surely dead.

#include "platform/safefile.h"

#include <QString>
#include <functional>

namespace shell {

class StagedTreeCopy {
public:
    // Copies the files and sub-folders of source, at every depth, into destination, which
    // may exist already and keeps every file the copy does not replace; a file of the same
    // name is replaced (its permissions kept, a read-only one refused). Symbolic links in the
    // source are not followed and the temporary files of saves are not copied, as
    // datafiles::CopyFolderTree does. fileCopied is called, on the copying thread, after
    // each file.
    static platform::FileResult copy(const QString& source, const QString& destination,
                                     const std::function<void()>& fileCopied = {});

    // Whether a name in the destination's folder is one of the staging folders of a copy to
    // the folder named `destinationName`.
    static bool isStagingName(const QString& name, const QString& destinationName);
};

} // namespace shell
