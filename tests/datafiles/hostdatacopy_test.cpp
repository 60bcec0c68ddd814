// The copy of this machine's data tree into a host's shared folder: it runs only under the
// share's posting lock, the lock of another computer's posting held against it by another
// process, and it leaves this machine's own posting lock and journals behind.

#include "datafiles/hostdatacopy.h"
#include "datafiles/postinglock.h"
#include "support/helperprocess.h"
#include "support/qtprinters.h"
#include "support/tempprogramfolder.h"
#include "testfiles.h"

#include <QDir>
#include <gtest/gtest.h>

using datafiles::HostDataCopy;
using datafiles::PostingLock;
using datafilestest::treeOf;

// Run as another computer by the tests below: takes the posting lock of the folder, signals
// "held" and keeps the lock (counting its lease up) until "release" appears. A short lease
// lets it take over a lock whose holder stopped counting.
TEST(PostingLockHolderHelper, HoldsTheLockUntilReleased)
{
    const QString folder = qEnvironmentVariable("QUORVANE_LOCK_FOLDER");
    if (folder.isEmpty())
        GTEST_SKIP() << "only run as the child of the tests below";
    const QString signalFolder = qEnvironmentVariable("QUORVANE_LOCK_SIGNALS");
    PostingLock::pretendComputer(QStringLiteral("Other"), QStringLiteral("Other boot"));
    PostingLock::setTiming({600000, qEnvironmentVariableIntValue("QUORVANE_LOCK_LEASE_MS"), 50, 600000});
    PostingLock lock(folder);
    ASSERT_EQ(lock.acquire(), PostingLock::Status::Held);
    testsupport::signalWith(signalFolder + QStringLiteral("/held"));
    testsupport::awaitSignal(signalFolder + QStringLiteral("/release"));
}

namespace {

// The share's files, without the lock of whoever holds it now.
std::map<QString, QByteArray> dataOf(const QString& shared)
{
    std::map<QString, QByteArray> tree = treeOf(shared);
    tree.erase(PostingLock::fileName());
    return tree;
}

class HostDataCopyTest : public ::testing::Test {
protected:
    HostDataCopyTest()
    {
        folder.writeFile("System/RAzar/Items/Oak.QVI", "ours");
        folder.writeFile("System/RAzar/Contacts/Bank.QVC", "our bank");
        folder.writeFile("share/QVNET/RAzar/Items/Elm.QVI", "saved by a user");
        folder.makeFolder("signals");
    }
    ~HostDataCopyTest() override
    {
        PostingLock::setTiming({});
        datafiles::setTreeCopyStepHook({});
    }

    // Another computer, holding the share's lock once "held" is there.
    void holdTheLock(QProcess& other, int leaseMs = 600000)
    {
        testsupport::startHelper(other, QStringLiteral("PostingLockHolderHelper.HoldsTheLockUntilReleased"),
                                 {{"QUORVANE_LOCK_FOLDER", shared},
                                  {"QUORVANE_LOCK_SIGNALS", folder.filePath("signals")},
                                  {"QUORVANE_LOCK_LEASE_MS", QString::number(leaseMs)}});
    }
    void release(QProcess& other)
    {
        testsupport::signalWith(folder.filePath("signals/release"));
        EXPECT_TRUE(testsupport::helperPassed(other)) << other.readAll().toStdString();
    }

    testsupport::TempProgramFolder folder;
    QString local = folder.filePath("System/RAzar");
    QString shared = folder.filePath("share/QVNET/RAzar");
};

} // namespace

// While another computer posts into the share, the copy waits as a posting does; when that
// posting ends within the wait the copy is made, and when it does not, nothing is copied and
// the user is told who holds the share.
TEST_F(HostDataCopyTest, TheCopyWaitsForAnotherComputersPostingAndCopiesNothingWhileItHolds)
{
    for (const bool endsWithinTheWait : {false, true}) {
        SCOPED_TRACE(endsWithinTheWait ? "the posting ends within the wait" : "the posting goes on");
        QFile::remove(folder.filePath("signals/release"));
        QFile::remove(folder.filePath("signals/held"));
        QProcess other;
        holdTheLock(other);
        ASSERT_TRUE(testsupport::waitForSignal(folder.filePath("signals/held"), other))
            << other.readAll().toStdString();
        const std::map<QString, QByteArray> before = dataOf(shared);
        PostingLock::setTiming({endsWithinTheWait ? 600000 : 300, 600000, 2000, 0});
        if (endsWithinTheWait)
            testsupport::signalWith(folder.filePath("signals/release"));

        const platform::FileResult result = HostDataCopy::copy(local, shared, {});
        if (endsWithinTheWait) {
            ASSERT_TRUE(result) << result.error.toStdString();
            EXPECT_EQ(datafilestest::contentOf(shared + "/Items/Oak.QVI"), "ours");
            EXPECT_EQ(datafilestest::contentOf(shared + "/Items/Elm.QVI"), "saved by a user");
            EXPECT_FALSE(QFileInfo::exists(shared + "/posting.lock"));
        } else {
            EXPECT_FALSE(result);
            EXPECT_TRUE(result.error.startsWith(QStringLiteral("Other "))) << result.error.toStdString();
            EXPECT_TRUE(result.error.contains(shared)) << result.error.toStdString();
            EXPECT_EQ(dataOf(shared), before);
        }
        release(other);
    }
}

// A holder stopped for longer than its lease loses the lock to another computer's posting;
// its copy must then not take the share's place over what that posting writes.
TEST_F(HostDataCopyTest, ACopyWhoseLockWasTakenOverLeavesTheShareAsItWas)
{
    ASSERT_TRUE(QDir().mkpath(shared));
    const std::map<QString, QByteArray> before = treeOf(shared);
    // This copy never counts its lease up, as a stopped one would not.
    PostingLock::setTiming({600000, 600000, 600000, 600000});
    QProcess other;
    datafiles::setTreeCopyStepHook([&](datafiles::TreeCopyStep step) {
        if (step != datafiles::TreeCopyStep::SourceCopied)
            return;
        holdTheLock(other, 300);
        EXPECT_TRUE(testsupport::waitForSignal(folder.filePath("signals/held"), other))
            << other.readAll().toStdString();
    });
    const platform::FileResult result = HostDataCopy::copy(local, shared, {});
    EXPECT_FALSE(result);
    EXPECT_TRUE(result.error.contains(QStringLiteral("taken over"))) << result.error.toStdString();
    release(other);
    EXPECT_EQ(treeOf(shared), before);
}

// This machine's own posting lock, journals and break markers belong to its postings, not
// to its data: copied into the share they would lock it, or be completed there.
TEST_F(HostDataCopyTest, ThisMachinesPostingLockAndJournalsStayBehind)
{
    for (const char* name : {"posting.lock", "posting.jnl", "posting.PC.jnl", ".posting.lock.broken-1f"})
        folder.writeFile(QStringLiteral("System/RAzar/") + name, "this machine's");
    folder.writeFile("System/RAzar/Items/posting.QVI", "a document");
    const platform::FileResult result = HostDataCopy::copy(local, shared, {});
    ASSERT_TRUE(result) << result.error.toStdString();
    std::map<QString, QByteArray> expected{{"Items", "/"},
                                           {"Items/Oak.QVI", "ours"},
                                           {"Items/Elm.QVI", "saved by a user"},
                                           {"Items/posting.QVI", "a document"},
                                           {"Contacts", "/"},
                                           {"Contacts/Bank.QVC", "our bank"}};
    EXPECT_EQ(treeOf(shared), expected);
}
