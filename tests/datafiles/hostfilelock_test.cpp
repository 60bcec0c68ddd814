// A host stopped between taking the share's posting lock and writing its host file, for
// longer than its lease: another computer takes the lock over and posts, and the host must
// then write nothing over that posting's balance and counters.

#include "datafiles/hostfile.h"
#include "datafiles/postinglock.h"
#include "datafiles/settingsstore.h"
#include "recordingshell.h"
#include "support/helperprocess.h"
#include "support/pinnedclock.h"
#include "support/scopedprompts.h"
#include "support/tempprogramfolder.h"
#include "testfiles.h"

#include <gtest/gtest.h>

using datafiles::PostingLock;

TEST(HostFileLock, AHostWhoseLockWasTakenOverBeforeItWroteWritesNothing)
{
    testsupport::TempProgramFolder program;
    testsupport::PinnedClock clock{QDateTime(QDate(2026, 12, 10), QTime(12, 0, 0))};
    testsupport::ScopedPrompts prompts;
    datafiles::SettingsStore store;
    datafilestest::RecordingShell shell(store);
    program.makeFolder("share/QVNET/RAzar");
    const QString signalFolder = program.makeFolder("signals");
    const QString hostFile = program.filePath("share/Firma.QVNET");
    store.setNetworkPathTest([](const QString&) { return true; });
    store.OptionHost = true;
    store.MyHostName = hostFile;
    store.MyHostSystem = program.filePath("share/");
    store.CompanyName = QStringLiteral("Firma");
    ASSERT_TRUE(datafiles::WriteHostFile(store));
    const QByteArray before = datafilestest::contentOf(hostFile);

    // This host never counts its lease up, as a stopped one would not; the other computer
    // takes the lock over once the host has it, before the host writes.
    PostingLock::setTiming({600000, 600000, 600000, 600000});
    QProcess other;
    PostingLock::setPendingCompletion([&](const PostingLock& lock) {
        testsupport::startHelper(other, QStringLiteral("PostingLockHolderHelper.HoldsTheLockUntilReleased"),
                                 {{"QUORVANE_LOCK_FOLDER", lock.folder()},
                                  {"QUORVANE_LOCK_SIGNALS", signalFolder},
                                  {"QUORVANE_LOCK_LEASE_MS", QStringLiteral("300")}});
        EXPECT_TRUE(testsupport::waitForSignal(signalFolder + QStringLiteral("/held"), other))
            << other.readAll().toStdString();
        return QString();
    });
    store.CompanyName = QStringLiteral("Firma Nova");
    prompts->queueAnswer(platform::Answer::OK);
    const bool written = datafiles::WriteHostFile(store);
    PostingLock::setPendingCompletion({});
    PostingLock::setTiming({});
    testsupport::signalWith(signalFolder + QStringLiteral("/release"));
    EXPECT_TRUE(testsupport::helperPassed(other)) << other.readAll().toStdString();

    EXPECT_FALSE(written);
    EXPECT_EQ(datafilestest::contentOf(hostFile), before);
    ASSERT_EQ(prompts->texts().size(), 1);
    EXPECT_TRUE(prompts->texts().first().contains(QStringLiteral("taken over"))) << prompts->texts().first().toStdString();
    EXPECT_TRUE(prompts->texts().first().contains(hostFile)) << prompts->texts().first().toStdString();
}
