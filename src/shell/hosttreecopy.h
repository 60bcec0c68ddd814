#pragma once
// The copy of this machine's data tree into a host's shared data folder. A data tree
// holds thousands of documents and the share may be slow, so the files are looked at and
// copied on a worker thread while the window that asked keeps answering and shows how far
// the copy has come; the call returns when the copy has ended, as a plain copy would. Files
// that others saved in the share and that are newer than this machine's copies are replaced
// only when the user says so; the copy itself runs under the share's posting lock (see
// datafiles::HostDataCopy).

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
    // how it went; the destination gets the whole copy or, when it fails, stays as it was.
    // When the destination holds files newer than the source's of the same name, the user
    // is asked first whether to replace them; No, the default, keeps them. A destination
    // inside the source is refused before anything is copied: the copy would go on copying
    // its own copies. While the copy runs, a progress window in front of `parent` keeps the
    // user from changing the settings half way.
    static platform::FileResult copy(const QString& source, const QString& destination, QWidget* parent,
                                     const ProgressSeen& seen = {});

    // The files below a folder, at every depth, as the copy counts them.
    static int countFiles(const QString& folder);
};

} // namespace shell
