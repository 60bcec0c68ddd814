#pragma once
// What the file search window needs of the program around it: the settings store, the
// document window that ActiveList names, and the drives to offer. The shell's window registry
// implements it; tests give their own.

#include "platform/systeminfo.h"

#include <QString>
#include <QStringList>

namespace datafiles {
class SettingsStore;
}
namespace windows {
class FoundFileTarget;
}

namespace shell {

class FileSearchHost {
public:
    virtual ~FileSearchHost() = default;

    // The store with ActiveList, the network mode options and the window's placement fields
    // (frmFileSearchWindowState, frmFileSearchLeft, frmFileSearchTop, frmFileSearchHeight,
    // frmFileSearchWidth).
    virtual datafiles::SettingsStore& settings() = 0;

    // The document window of that name ("frmItems", "frmContacts" or "frmTransactions"),
    // created on first use; nullptr when there is none to be had.
    virtual windows::FoundFileTarget* documentWindow(const QString& name) = 0;

    // The drives of the drive list: the mount points of the real file systems, "/" first.
    virtual QStringList drives() { return platform::drives(); }
};

} // namespace shell
