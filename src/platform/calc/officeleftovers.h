#pragma once
// What an office leaves behind when it is killed or its program dies: its profile folder
// and the named pipes in /tmp. Found by the pid they carry, and removed.

#include <QDateTime>
#include <QString>

namespace platform::calc {

class OfficeLeftovers {
public:
    // The template of a private profile folder, carrying our pid so that it can be told
    // apart from those of programs still running.
    static QString profileTemplate();

    // Removes profile folders and pipes of programs that are gone.
    static void sweep();

    // The local socket an office started with this pipe name listens on.
    static QString pipePath(const QString& pipeName);
    // Whether an office takes connections on that pipe now. A connection that is only
    // opened and closed again is dropped by the office as one whose first message never came.
    static bool listens(const QString& pipeName);

    // After a forced end: the office's accepting pipe, and its single-instance pipe (named
    // after a hash of its profile path) among those made since it started that nobody
    // listens on any more.
    static void removePipes(const QString& pipeName, const QDateTime& startedAt);
};

} // namespace platform::calc
