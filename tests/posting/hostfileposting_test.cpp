// The host's own writing of its host file (its settings, "Update Network") while another
// computer posts into the share: the host file is written only under the posting lock, so
// the balance and counters that posting writes are never written over, and a host that
// cannot have the lock in time is told so and writes nothing.

#include "datafiles/datafoldertree.h"
#include "datafiles/datafilewriter.h"
#include "datafiles/hostfile.h"
#include "datafiles/postinglock.h"
#include "datafiles/settingsfile.h"
#include "datafiles/settingsstore.h"
#include "platform/clock.h"
#include "platform/programfolder.h"
#include "platform/safefile.h"
#include "postingfiles.h"
#include "posting/transactionposting.h"
#include "posting/writestephook.h"
#include "support/childprompts.h"
#include "support/helperprocess.h"
#include "support/pinnedclock.h"
#include "support/qtprinters.h"
#include "support/scopedprompts.h"
#include "support/tempprogramfolder.h"

#include <QDir>
#include <gtest/gtest.h>

using datafiles::PostingLock;

namespace {

} // namespace

// Run as another computer, a user of the host, by the tests below: it posts a transaction
// of 250 from the own company to Ana, and stops at its first write step, the posting lock
// held and the shared values read, until "go" appears.
TEST(HostFilePostingHelper, PostsAndStopsAtItsFirstWrite)
{
    const QString programFolder = qEnvironmentVariable("QUORVANE_POSTING_PROGRAM");
    if (programFolder.isEmpty())
        GTEST_SKIP() << "only run as the child of the tests below";
    const QString signalFolder = qEnvironmentVariable("QUORVANE_POSTING_SIGNALS");
    platform::setProgramFolder(programFolder);
    testsupport::NoPrompts prompts;
    platform::setPrompts(&prompts);
    PostingLock::pretendComputer(QStringLiteral("Other"), QStringLiteral("Other boot"));
    PostingLock::setTiming({600000, 600000, 50, 600000});
    datafiles::SettingsStore store;
    store.setNetworkPathTest(postingtest::onShare);
    datafiles::LoadSettingsFile(store);
    bool stopped = false;
    posting::setWriteStepHook([&](int) {
        if (!stopped) {
            stopped = true;
            testsupport::signalWith(signalFolder + QStringLiteral("/stopped"));
            testsupport::awaitSignal(signalFolder + QStringLiteral("/go"));
        }
        return true;
    });
    datafiles::TransactionHeader h;
    h.Value.Caption = QStringLiteral("250");
    h.FromMyCompany = {QStringLiteral("Firma"), true};
    h.ToMyCompany = {QStringLiteral("Firma"), false};
    h.tocompany = {datafiles::DataRoot(store) + QStringLiteral("Contacts/Bank.QVC"), true};
    h.tocontact = {QStringLiteral("Ana"), true};
    h.tocompanyiselected.Caption = QStringLiteral("1");
    const QString path = datafiles::DataRoot(store) + QStringLiteral("Transactions/42.QVT");
    posting::TransactionPosting posting(store);
    const posting::TransactionResult result =
        posting.post({posting::SaveKind::SaveAs, h, path, postingtest::lineItemBytes(path)});
    posting::setWriteStepHook({});
    ASSERT_EQ(result.outcome, posting::Outcome::Posted) << result.notice.text.toStdString();
}

namespace {

// This machine hosts the share; the other computer is a user of it, in a program folder of
// its own.
class HostFilePostingTest : public ::testing::Test {
protected:
    HostFilePostingTest()
    {
        postingtest::fillFirma(host);
        EXPECT_TRUE(postingtest::makeHost(host, share()));
        EXPECT_TRUE(postingtest::writeCompanyFile(share() + "QVNET/RAzar/Contacts/Bank.QVC", {{"Ana", "7"}}));
        EXPECT_TRUE(postingtest::makeUserOf(program.filePath("other"), share()));
        program.makeFolder("signals");
    }
    ~HostFilePostingTest() override
    {
        PostingLock::setTiming({});
        datafiles::setDataFileWriter({});
    }

    QString share() const { return program.filePath("share/"); }
    QString hostFile() const { return share() + QStringLiteral("Firma.QVNET"); }
    QString signal(const char* name) const { return program.filePath("signals/") + name; }
    // The host file's balance, invoice number and company name as they rest.
    QStringList published() const
    {
        const QStringList lines = postingtest::hostLines(hostFile());
        return {lines.value(1), lines.value(2), lines.value(3)};
    }

    // The other computer's posting, stopped with the lock held.
    void otherComputerStartsPosting(QProcess& other)
    {
        testsupport::startHelper(other, QStringLiteral("HostFilePostingHelper.PostsAndStopsAtItsFirstWrite"),
                                 {{"QUORVANE_POSTING_PROGRAM", program.filePath("other")},
                                  {"QUORVANE_POSTING_SIGNALS", program.filePath("signals")}});
        ASSERT_TRUE(testsupport::waitForSignal(signal("stopped"), other)) << other.readAll().toStdString();
    }

    testsupport::TempProgramFolder program;
    testsupport::PinnedClock clock{QDateTime(QDate(2026, 12, 10), QTime(12, 0, 0))};
    testsupport::ScopedPrompts prompts;
    datafiles::SettingsStore host;
};

} // namespace

// The other computer keeps the lock past the wait: the host's new company name is not
// written, the host is told who posts, and the posting's balance and number are as it wrote
// them. (Were the host file written anyway, the posting would end before it lands, as it
// does when its computer carries on at that moment, and be written over.)
TEST_F(HostFilePostingTest, AHostFacingAnotherComputersPostingWritesNothingAndIsToldWhoPosts)
{
    QProcess other;
    otherComputerStartsPosting(other);
    host.CompanyName = QStringLiteral("Firma Nova");
    PostingLock::setTiming({300, 600000, 2000, 0});
    datafiles::setDataFileWriter([&](const QString& path, const QByteArray& bytes) {
        testsupport::signalWith(signal("go"));
        EXPECT_TRUE(testsupport::helperPassed(other));
        const platform::FileResult written = platform::writeFileAtomically(path, bytes);
        return datafiles::DataFileWrite{written.ok, false, written.error};
    });
    prompts->queueAnswer(platform::Answer::OK);

    EXPECT_FALSE(datafiles::WriteHostFile(host));
    testsupport::signalWith(signal("go"));
    ASSERT_TRUE(testsupport::helperPassed(other)) << other.readAll().toStdString();
    EXPECT_EQ(published(), (QStringList{"750", "42", "Firma"}));
    ASSERT_EQ(prompts->texts().size(), 1);
    const QString message = prompts->texts().first();
    EXPECT_TRUE(message.startsWith(QStringLiteral("Other "))) << message.toStdString();
    EXPECT_TRUE(message.contains(hostFile() + QStringLiteral("\" was not written"))) << message.toStdString();
    EXPECT_EQ(prompts->recorded().first().style, platform::MsgStyle::Critical);
}

// The posting ends within the wait: the host file is written after it, on top of its values.
TEST_F(HostFilePostingTest, AHostFileWrittenAfterAnotherComputersPostingKeepsWhatThePostingWrote)
{
    QProcess other;
    otherComputerStartsPosting(other);
    host.CompanyName = QStringLiteral("Firma Nova");
    PostingLock::setTiming({600000, 600000, 2000, 0});
    testsupport::signalWith(signal("go"));

    EXPECT_TRUE(datafiles::WriteHostFile(host));
    ASSERT_TRUE(testsupport::helperPassed(other)) << other.readAll().toStdString();
    EXPECT_EQ(published(), (QStringList{"750", "42", "Firma Nova"}));
}
