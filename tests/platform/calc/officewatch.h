#pragma once
// Finds office processes that a given test process started, by the pipe name each carries
// on its command line.

#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QList>
#include <QString>
#include <QThread>
#include <csignal>
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

// Stops an office (SIGSTOP) and waits until every one of its threads has stopped: kill()
// returns before a busy machine has got round to stopping them all. Gives whether it stopped
// within the limit.
inline bool freezeOffice(pid_t pid, int timeoutMs = 60000)
{
    if (::kill(pid, SIGSTOP) != 0)
        return false;
    QElapsedTimer clock;
    clock.start();
    while (clock.elapsed() < timeoutMs) {
        bool allStopped = true;
        for (const QString& task : QDir(QStringLiteral("/proc/%1/task").arg(pid)).entryList(QDir::Dirs | QDir::NoDotAndDotDot)) {
            QFile stat(QStringLiteral("/proc/%1/task/%2/stat").arg(pid).arg(task));
            if (!stat.open(QIODevice::ReadOnly))
                continue;
            const QByteArray text = stat.readAll();
            const qsizetype close = text.lastIndexOf(')');
            const char state = close >= 0 && close + 2 < text.size() ? text.at(close + 2) : '?';
            if (state != 'T' && state != 't' && state != 'Z' && state != 'X')
                allStopped = false;
        }
        if (allStopped)
            return true;
        QThread::msleep(10);
    }
    return false;
}
