#pragma once
// The copy of this machine's data tree into a new host's shared data folder. A data tree
// holds thousands of documents and the share may be slow, so the files are copied on a
// worker thread while the window that asked keeps answering and shows how far the copy has
// come; the call returns when the copy has ended, as a plain copy would.

#include "platform/safefile.h"

#include <QString>
#include <functional>

class QWidget;

namespace shell {

class HostTreeCopy {
public:
    // Called on the user-interface thread, each time the window is updated, with the files
    // copied so far and the files to copy (-1 while they are still being counted).
    using ProgressSeen = std::function<void(int copied, int total)>;

    // Copies the folder tree (files of the same name replaced, the others kept) and returns
    // how it went; the destination gets the whole copy or, when it fails, stays as it was
    // (see StagedTreeCopy). A
    // destination inside the source is refused before anything is copied: the copy would
    // go on copying its own copies. While the copy runs, a progress window in front of
    // `parent` keeps the user from changing the settings half way.
    static platform::FileResult copy(const QString& source, const QString& destination, QWidget* parent,
                                     const ProgressSeen& seen = {});

    // The files below a folder, at every depth, as the copy counts them.
    static int countFiles(const QString& folder);
};

} // namespace shell
