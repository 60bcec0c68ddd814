// Two copies of the program on one machine: each holds the own balance and the counters in
// its settings store, and writes the settings file at shut-down and from the settings
// window. A copy that did not change a value since it read it never writes it back over what
// the other copy's posting wrote since; one the user typed in is written.

#include "datafiles/settingsfile.h"
#include "postingfixture.h"
#include "posting/transactionposting.h"
#include "support/qtprinters.h"

#include <QFileInfo>

using namespace postingtest;
using namespace posting;

namespace {

class StaleCopyTest : public PostingTest {
protected:
    // The other copy, started from the same settings file, posts 100.1 to Ana.
    void otherCopyPosts()
    {
        datafiles::SettingsStore other;
        datafiles::LoadSettingsFile(other);
        const QString bank = contactsFolder() + "Bank.QVC";
        if (!QFileInfo::exists(bank))
            company(QStringLiteral("Bank.QVC"), {{"Ana", "7"}});
        datafiles::TransactionHeader h = header(QStringLiteral("100.1"));
        fromOwnCompany(h);
        toContact(h, bank, 1, QStringLiteral("Ana"));
        TransactionPosting posting(other);
        posting.reloadSharedValues();
        const QString path = transactionsFolder() + posting.nextFileName();
        ASSERT_EQ(posting.post({SaveKind::SaveAs, h, path, lineItemBytes(path)}).outcome, Outcome::Posted);
        m_posted = other.Balance.value();
    }

    QString m_posted;
};

TEST_F(StaleCopyTest, AShutDownSaveKeepsWhatAnotherCopyPostedSince)
{
    datafiles::SettingsStore mine;
    datafiles::LoadSettingsFile(mine);
    otherCopyPosts();
    ASSERT_NE(m_posted, "1000");

    mine.frmItemsLeft = QStringLiteral("500"); // this copy's own change
    ASSERT_TRUE(datafiles::SaveSettingsFile(mine));
    EXPECT_EQ(storedSetting(47), m_posted);
    EXPECT_EQ(storedSetting(48), "42");
    EXPECT_EQ(storedSetting(61), "7");
    EXPECT_EQ(storedSetting(4), "500");
    EXPECT_EQ(mine.Balance.value(), m_posted) << "the copy shows what it wrote";

    // A posting of this copy then starts from the other's, too.
    otherCopyPosts();
    EXPECT_EQ(storedSetting(48), "43");
}

TEST_F(StaleCopyTest, AValueTypedInTheSettingsWindowIsWritten)
{
    datafiles::SettingsStore mine;
    datafiles::LoadSettingsFile(mine);
    otherCopyPosts();
    mine.Balance = QStringLiteral("1000.01"); // the user's correction
    ASSERT_TRUE(datafiles::SaveSettingsFile(mine));
    EXPECT_EQ(storedSetting(47), "1000.01");
    EXPECT_EQ(storedSetting(48), "42");
}

} // namespace
