#pragma once
// The small file and machine procedures every window uses: existence tests, path
// splitters, the lock-file attribute calls, copying a folder tree, the user name and the
// processor speed. None of them shows a message.

#include "platform/safefile.h"

#include <QString>
#include <functional>

namespace datafiles {

// True when an entry matches the path: a file, a folder named without a trailing separator,
// or, when the last component holds "*" or "?", anything matching that pattern (letter case
// ignored). A path ending in a separator, and "", give false.
bool FileExists(const QString& path);

// True when the path names a folder that can be listed, with or without a trailing
// separator; false for a file or a missing folder.
bool FolderExists(const QString& path);

// The last component of the path (name and extension); "/" and "\" both separate.
QString GetFileNameOnly(const QString& path);

// The path up to and including its last separator ("/" or "\"); "-1" when it has none.
QString GetFolderOfPath(const QString& path);

// Lock files are meant to be hidden from the user; Linux has no hidden attribute, so these
// change nothing, and in particular never a document's permissions.
void HideFile(const QString& path);
void UnhideFile(const QString& path);

// Copies the files and sub-folders of source, at every depth, into destination (which may
// exist already); with overwrite an existing file of the same name is replaced, without it
// that is a failure. The destination gets the whole copy or, when it fails, stays as it was,
// and keeps what others write into it meanwhile (see StagedTreeCopy). Symbolic links are not
// followed, and the temporary files of saves in progress or of saves that died are not
// copied. The result names what failed. fileCopied, when given, is called after each file is
// copied (on the thread that copies), so that a long copy can show how far it has come.
platform::FileResult CopyFolderTree(const QString& source, const QString& destination,
                                    bool overwrite,
                                    const std::function<void()>& fileCopied = {});

// The login name of the user running the program; "" when there is none.
QString GetWindowsUserName();

// The processor speed in MHz; 0 when the machine does not tell.
int GetProcessorSpeed();

} // namespace datafiles
