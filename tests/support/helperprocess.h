#pragma once
// Another process of this test program, standing for another computer or another program
// that works on the same files at the same moment: it runs one "...Helper" test (which the
// test run itself leaves out), told what to do through environment variables. A helper does
// nothing when those are missing. Files in a folder both know serve as signals between them:
// the test waits for them as conditions, never for a fixed time.

#include <QCoreApplication>
#include <QFile>
#include <QFileInfo>
#include <QProcess>
#include <QProcessEnvironment>
#include <QString>
#include <QTest>
#include <chrono>
#include <initializer_list>
#include <thread>
#include <utility>

namespace testsupport {

// Starts `test` ("Suite.Name") in a child process with the variables given. A caller that
// does not wait for it closes it with the QProcess (which kills a child still running).
inline void startHelper(QProcess& child, const QString& test,
                        std::initializer_list<std::pair<const char*, QString>> variables,
                        const QStringList& wrapper = {})
{
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    for (const auto& [name, value] : variables)
        env.insert(QString::fromLatin1(name), value);
    child.setProcessEnvironment(env);
    child.setProcessChannelMode(QProcess::MergedChannels);
    const QStringList arguments{QStringLiteral("--gtest_filter=") + test};
    if (wrapper.isEmpty())
        child.start(QCoreApplication::applicationFilePath(), arguments);
    else
        child.start(wrapper.first(), wrapper.mid(1) + QStringList{QCoreApplication::applicationFilePath()} + arguments);
}

// Whether the helper ended (now or before) and passed.
inline bool helperPassed(QProcess& child, int timeoutMs = 120000)
{
    if (child.state() != QProcess::NotRunning && !child.waitForFinished(timeoutMs))
        return false;
    return child.error() != QProcess::FailedToStart && child.exitStatus() == QProcess::NormalExit
        && child.exitCode() == 0;
}

// In the test: waits until the file appears, or the helper has ended without it.
inline bool waitForSignal(const QString& file, const QProcess& helper, int timeoutMs = 120000)
{
    return QTest::qWaitFor([&] { return QFileInfo::exists(file) || helper.state() == QProcess::NotRunning; },
                           timeoutMs)
        && QFileInfo::exists(file);
}

// In either: makes the file that the other waits for.
inline void signalWith(const QString& file)
{
    QFile f(file);
    (void)f.open(QIODevice::WriteOnly);
}

// In a helper: waits until the test makes the file.
inline void awaitSignal(const QString& file)
{
    while (!QFileInfo::exists(file))
        std::this_thread::sleep_for(std::chrono::milliseconds(1));
}

} // namespace testsupport
