// Office processes that never become usable: a launch that does not answer in time leaves
// nothing running, visible launches for the user included.

#include "officewatch.h"

#include "platform/calc/officeprocess.h"

#include <QElapsedTimer>
#include <QFile>
#include <QTemporaryDir>
#include <QThread>
#include <gtest/gtest.h>

#include <cerrno>
#include <csignal>
#include <unistd.h>

using platform::calc::OfficeProcess;

namespace {

// A launcher that never answers, with a helper process of its own whose pid it writes down.
QString writeSilentLauncher(const QTemporaryDir& dir)
{
    const QString path = dir.filePath(QStringLiteral("silent-office"));
    QFile script(path);
    if (!script.open(QIODevice::WriteOnly))
        return QString();
    script.write("#!/bin/sh\nsleep 300 &\necho $! > \"$0.helper\"\nwait\n");
    script.close();
    script.setPermissions(QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
    return path;
}

bool processGone(pid_t pid)
{
    QElapsedTimer clock;
    clock.start();
    while (clock.elapsed() < 60000) { // only a guard against a hang: a busy machine may take its time
        if (::kill(pid, 0) != 0 && errno == ESRCH)
            return true;
        QThread::msleep(20);
    }
    return false;
}

} // namespace

TEST(OfficeProcess, ALaunchThatDoesNotAnswerInTimeLeavesNothingRunning)
{
    for (const bool visible : {false, true}) {
        QTemporaryDir dir;
        OfficeProcess::Launch launch;
        launch.program = writeSilentLauncher(dir);
        ASSERT_FALSE(launch.program.isEmpty());
        launch.headless = !visible;
        launch.owned = !visible;
        launch.profileDir = visible ? dir.filePath(QStringLiteral("profile")) : QString();
        launch.timeoutMs = 1500;
        OfficeProcess office;
        QString error;
        EXPECT_FALSE(office.start(launch, error)) << visible;
        EXPECT_FALSE(error.isEmpty());
        EXPECT_EQ(officeProcessesStartedBy(::getpid()), 0) << "visible: " << visible;
        QFile helper(launch.program + QStringLiteral(".helper"));
        ASSERT_TRUE(helper.open(QIODevice::ReadOnly));
        const pid_t helperPid = pid_t(helper.readAll().trimmed().toInt());
        ASSERT_GT(helperPid, 0);
        EXPECT_TRUE(processGone(helperPid)) << "visible: " << visible;
    }
}
