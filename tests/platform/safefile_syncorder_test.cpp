// The order in which the safe writer hands its work to the disk, seen from outside: the
// writer runs in a child process under strace, which records its writes, flushes and
// renames with the paths of their file descriptors. A power cut must find either the old
// file or the whole new one, so the new bytes are flushed before the rename puts them in
// place, and the folder is flushed after it, so that the rename itself is kept.

#include "support/stracelog.h"

#include <QFile>
#include <QFileInfo>
#include <QProcess>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <gtest/gtest.h>

#include <vector>

using testsupport::isFlush;
using testsupport::listed;
using Call = testsupport::TracedCall;

TEST(SafeFileSyncOrder, TheBytesAreFlushedBeforeTheRenameAndTheFolderAfterIt)
{
    const QString strace = QStandardPaths::findExecutable(QStringLiteral("strace"));
    ASSERT_FALSE(strace.isEmpty()) << "strace is missing (scripts/setup.sh installs it)";
    QTemporaryDir dir;
    ASSERT_TRUE(dir.isValid());
    const QString folder = QFileInfo(dir.path()).canonicalFilePath();
    const QString target = folder + QStringLiteral("/Bank.QVC");
    const QString log = folder + QStringLiteral("/strace.log");
    {
        QFile old(target);
        ASSERT_TRUE(old.open(QIODevice::WriteOnly) && old.write("old bytes\r\n") == 11);
    }

    QProcess child;
    child.setProcessChannelMode(QProcess::MergedChannels);
    child.start(strace, {QStringLiteral("-f"), QStringLiteral("-qq"), QStringLiteral("-y"), QStringLiteral("-s"),
                         QStringLiteral("4096"), QStringLiteral("-e"),
                         QStringLiteral("trace=write,fsync,fdatasync,rename,renameat,renameat2"),
                         QStringLiteral("-e"), QStringLiteral("signal=none"), QStringLiteral("-o"), log,
                         QStringLiteral(QUORVANE_SAFEWRITECHILD), target, QStringLiteral("new bytes")});
    ASSERT_TRUE(child.waitForFinished(-1));
    ASSERT_EQ(child.exitStatus(), QProcess::NormalExit);
    ASSERT_EQ(child.exitCode(), 0) << child.readAll().toStdString();
    QFile written(target);
    ASSERT_TRUE(written.open(QIODevice::ReadOnly));
    EXPECT_EQ(written.readAll(), QByteArray("new bytes"));

    QFile traced(log);
    ASSERT_TRUE(traced.open(QIODevice::ReadOnly));
    const std::vector<Call> calls = testsupport::tracedCalls(traced.readAll());
    SCOPED_TRACE("the writer's calls:\n" + listed(calls));

    // The rename that puts the temporary file over the target.
    const QString temporaryStart = folder + QStringLiteral("/.Bank.QVC.~");
    std::ptrdiff_t rename = -1;
    for (std::size_t i = 0; i < calls.size(); ++i)
        if (calls[i].name.startsWith(QLatin1String("rename")) && calls[i].path == target
            && calls[i].from.startsWith(temporaryStart))
            rename = std::ptrdiff_t(i);
    ASSERT_GE(rename, 0) << "no rename of a temporary file over the target";
    const QString temporary = calls[std::size_t(rename)].from;

    std::ptrdiff_t lastWrite = -1;
    for (std::ptrdiff_t i = 0; i < rename; ++i)
        if (calls[std::size_t(i)].name == QLatin1String("write") && calls[std::size_t(i)].path == temporary)
            lastWrite = i;
    ASSERT_GE(lastWrite, 0) << "the bytes were not written to the temporary file before the rename";

    bool bytesFlushed = false;
    for (std::ptrdiff_t i = lastWrite + 1; i < rename; ++i)
        bytesFlushed |= isFlush(calls[std::size_t(i)]) && calls[std::size_t(i)].path == temporary;
    EXPECT_TRUE(bytesFlushed) << "the temporary file was not flushed between its last write and the rename";

    bool folderFlushed = false;
    for (std::size_t i = std::size_t(rename) + 1; i < calls.size(); ++i)
        folderFlushed |= isFlush(calls[i]) && calls[i].path == folder;
    EXPECT_TRUE(folderFlushed) << "the folder was not flushed after the rename";
}
