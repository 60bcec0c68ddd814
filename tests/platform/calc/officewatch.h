#pragma once
// Finds office processes that a given test process started, by the pipe name each carries
// on its command line.

#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QList>
#include <QString>
#include <QThread>
#include <sys/types.h>

inline QList<pid_t> officePidsStartedBy(pid_t pid)
{
    const QByteArray mark = "pipe,name=quorvane_" + QByteArray::number(pid) + '_';
    QList<pid_t> pids;
    for (const QString& entry : QDir(QStringLiteral("/proc")).entryList(QDir::Dirs)) {
        bool isPid = false;
        entry.toInt(&isPid);
        if (!isPid)
            continue;
        QFile cmdline(QStringLiteral("/proc/%1/cmdline").arg(entry));
        if (cmdline.open(QIODevice::ReadOnly) && cmdline.readAll().contains(mark))
            pids.append(pid_t(entry.toInt()));
    }
    return pids;
}

inline int officeProcessesStartedBy(pid_t pid)
{
    return int(officePidsStartedBy(pid).size());
}

// Waits up to timeoutMs for the offices that pid started to be gone (one killed by the
// kernel takes a moment to leave /proc); gives how many still run. The wait ends as soon as they
// are gone, so a test that expects them gone gives a limit a loaded machine cannot reach.
inline int officesLeftAfter(pid_t pid, int timeoutMs)
{
    QElapsedTimer clock;
    clock.start();
    while (officeProcessesStartedBy(pid) > 0 && clock.elapsed() < timeoutMs)
        QThread::msleep(50);
    return officeProcessesStartedBy(pid);
}
