// The window's Save of a contact company file and another copy of the program posting into
// that file, as real processes on one data folder (single-machine mode: no edit lock keeps
// the posting away). A posting cut short by a crash is completed before the save writes, so
// that its completion can never later rename its stale content over the user's edit; a
// posting in progress keeps the save out until it is done; and the balance a posting changed
// meanwhile stays, beside the user's edit.

#include "contactsfixture.h"

#include "datafiles/datafoldertree.h"
#include "datafiles/postinglock.h"
#include "datafiles/settingsfile.h"
#include "posting/postingjournal.h"

#include <QProcess>
#include <QTest>
#include <gmock/gmock.h>

namespace contactstest {
namespace {

using datafiles::PostingLock;
using platform::Answer;

class ConcurrentSave : public ContactsWindow {
protected:
    void SetUp() override
    {
        // The window waits a moment for a posting in progress, then tells the user; the
        // posting child is alive all the while, so it is never taken for dead.
        PostingLock::setTiming({300, 600000, 100, 600000});
        // The settings as the other copy finds them when it starts.
        datafiles::CreateDataFolders();
        datafiles::SettingsStore settings;
        settings.CompanyName = QStringLiteral("Firma");
        settings.Balance = QStringLiteral("1000");
        settings.InvoiceNumber = QStringLiteral("41");
        ASSERT_TRUE(datafiles::SaveSettingsFile(settings));
        writeCompany(bank, {{"Ana", "100"}, {"Bor", "5"}});
    }
    void TearDown() override
    {
        if (child.state() != QProcess::NotRunning) {
            QFile go(marker + QStringLiteral(".go"));
            (void)go.open(QIODevice::WriteOnly);
            child.waitForFinished(60000);
        }
        PostingLock::setTiming({});
    }

    // Another copy posts 30 to Ana (row 1) of the bank's company file.
    void startPosting(const char* mode)
    {
        child.setProgram(QStringLiteral(CONTACTS_POSTING_CHILD));
        child.setArguments({folder.path(), bank, QStringLiteral("1"), QStringLiteral("Ana"), QStringLiteral("30"),
                            QString::fromLatin1(mode), marker});
        child.setProcessChannelMode(QProcess::ForwardedErrorChannel);
        child.start();
        ASSERT_TRUE(child.waitForStarted(60000));
    }
    void expectPosted()
    {
        ASSERT_TRUE(child.waitForFinished(600000));
        EXPECT_EQ(child.exitStatus(), QProcess::NormalExit);
        EXPECT_EQ(child.exitCode(), 0);
    }
    void openBank()
    {
        prompts->queueOpen(bank);
        window.cmdOpen_Click();
        ASSERT_EQ(window.windowTitle(), QStringLiteral("Company [ Bank.QVC ]"));
        prompts->clear();
    }
    void renameBor()
    {
        window.List1().ChangeItem(2, 1, QStringLiteral("Bor d.o.o."));
        ASSERT_EQ(window.lblChangeStatus(), QStringLiteral("1"));
    }
    // Whatever the posting left unfinished is completed, as the next posting or start does.
    void completeWhatIsLeft()
    {
        const auto pending = posting::CompletePendingPosting(dataFolder());
        EXPECT_EQ(pending.state, posting::PendingPosting::State::None) << pending.message.toStdString();
    }
    QString dataFolder() const { return folder.path() + QStringLiteral("/System/RAzar/"); }
    void expectOnDisk(const QString& ana, const QString& bor)
    {
        EXPECT_EQ(cellOnDisk(bank, 1, 1), QStringLiteral("Ana"));
        EXPECT_EQ(cellOnDisk(bank, 1, 2), ana);
        EXPECT_EQ(cellOnDisk(bank, 2, 1), bor);
        EXPECT_EQ(cellOnDisk(bank, 2, 2), QStringLiteral("5"));
    }

    const QString bank = contacts(QStringLiteral("Bank.QVC"));
    const QString marker = folder.path() + QStringLiteral("/child");
    QProcess child;
};

// The posting died with its new content of the company file written beside it. The window's
// save completes it first and keeps its balance beside the user's edit; nothing is left that
// could later take the edit back.
TEST_F(ConcurrentSave, APostingCutShortIsCompletedBeforeTheSaveWrites)
{
    openBank();
    startPosting("crash");
    ASSERT_TRUE(child.waitForFinished(600000));
    ASSERT_EQ(child.exitStatus(), QProcess::CrashExit);
    ASSERT_TRUE(posting::PostingJournal::exists(dataFolder()));
    ASSERT_EQ(cellOnDisk(bank, 1, 2), QStringLiteral("100"));

    renameBor();
    EXPECT_TRUE(window.cmdSave_Click());
    EXPECT_TRUE(prompts->recorded().isEmpty()) << prompts->recorded().last().text.toStdString();
    EXPECT_FALSE(posting::PostingJournal::exists(dataFolder()));
    expectOnDisk(QStringLiteral("130"), QStringLiteral("Bor d.o.o."));
    EXPECT_EQ(window.List1().GetItem(1, 2), QStringLiteral("130"));
    EXPECT_EQ(window.lblChangeStatus(), QStringLiteral("0"));

    completeWhatIsLeft();
    expectOnDisk(QStringLiteral("130"), QStringLiteral("Bor d.o.o."));
}

// Save As onto a company file whose posting was cut short: the posting is completed first,
// and the list the user chose to write over it stands afterwards.
TEST_F(ConcurrentSave, SaveAsOntoACompanyFileWithAPostingCutShortKeepsTheUsersList)
{
    startPosting("crash");
    ASSERT_TRUE(child.waitForFinished(600000));
    ASSERT_EQ(child.exitStatus(), QProcess::CrashExit);

    window.List1().ChangeItem(1, 1, QStringLiteral("Ana"));
    window.List1().ChangeItem(1, 2, QStringLiteral("7"));
    window.List1().ChangeItem(2, 1, QStringLiteral("Bor d.o.o."));
    window.List1().ChangeItem(2, 2, QStringLiteral("5"));
    prompts->queueSave(bank);
    prompts->queueAnswer(Answer::Yes); // replace the file
    EXPECT_TRUE(window.saveas_Click());
    EXPECT_FALSE(posting::PostingJournal::exists(dataFolder()));
    expectOnDisk(QStringLiteral("7"), QStringLiteral("Bor d.o.o."));

    completeWhatIsLeft();
    expectOnDisk(QStringLiteral("7"), QStringLiteral("Bor d.o.o."));
}

// The posting has read the file and holds the posting lock, its new content written beside
// the file. The save waits, tells the user and writes nothing; once the posting is done the
// next save keeps both the posted balance and the edit, without asking.
TEST_F(ConcurrentSave, APostingInProgressKeepsTheSaveOutUntilItIsDone)
{
    openBank();
    startPosting("pause");
    ASSERT_TRUE(QTest::qWaitFor(
        [&] { return QFileInfo::exists(marker + QStringLiteral(".paused")) || child.state() == QProcess::NotRunning; },
        600000));
    ASSERT_EQ(child.state(), QProcess::Running) << "the posting ended before it reached its pause";

    renameBor();
    prompts->queueAnswer(Answer::OK);
    EXPECT_FALSE(window.cmdSave_Click());
    const testsupport::RecordedPrompt& told = prompts->recorded().last();
    EXPECT_THAT(told.text.toStdString(),
                testing::AllOf(testing::HasSubstr(QStringLiteral("process %1").arg(child.processId()).toStdString()),
                               testing::EndsWith(QStringLiteral(" is saving another posting into \"%1\" right now. "
                                                                "Nothing was changed; please save this company "
                                                                "file again in a moment.")
                                                     .arg(dataFolder())
                                                     .toStdString())));
    EXPECT_EQ(told.style, platform::MsgStyle::Critical);
    EXPECT_EQ(window.lblChangeStatus(), QStringLiteral("1"));
    EXPECT_EQ(window.List1().GetItem(2, 1), QStringLiteral("Bor d.o.o."));

    QFile go(marker + QStringLiteral(".go"));
    ASSERT_TRUE(go.open(QIODevice::WriteOnly));
    go.close();
    expectPosted();
    expectOnDisk(QStringLiteral("130"), QStringLiteral("Bor"));

    prompts->clear();
    EXPECT_TRUE(window.cmdSave_Click());
    EXPECT_TRUE(prompts->recorded().isEmpty()) << prompts->recorded().last().text.toStdString();
    expectOnDisk(QStringLiteral("130"), QStringLiteral("Bor d.o.o."));
    EXPECT_EQ(window.List1().GetItem(1, 2), QStringLiteral("130"));
    EXPECT_EQ(window.lblChangeStatus(), QStringLiteral("0"));
}

} // namespace
} // namespace contactstest
