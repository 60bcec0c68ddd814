#include "datafiles/datafoldertree.h"
#include "postingfixture.h"
#include "posting/postingjournal.h"
#include "posting/transactionposting.h"
#include "support/qtprinters.h"

#include <QDir>
#include <QFile>
#include <functional>

using namespace postingtest;
using namespace posting;

namespace {

class PostingJournalTest : public PostingTest {
protected:
    void leaveJournal(const std::vector<JournalEntry>& entries)
    {
        ASSERT_TRUE(PostingJournal::write(entries));
    }
};

TEST_F(PostingJournalTest, OnlyAWholeJournalReadsBack)
{
    const std::vector<JournalEntry> entries{{"/a/b.QVC", QByteArray("\x00\x01\xff", 3)}, {"/a/c", QByteArray()}};
    const QByteArray bytes = PostingJournal::encode(entries);
    EXPECT_EQ(PostingJournal::decode(bytes), entries);

    const std::vector<std::pair<const char*, std::function<QByteArray(QByteArray)>>> spoilers{
        {"cut short", [](QByteArray b) { return b.chopped(1); }},
        {"one byte changed", [](QByteArray b) { b[20] = char(b[20] ^ 1); return b; }},
        {"something after it", [](QByteArray b) { return b + 'x'; }},
        {"empty", [](QByteArray) { return QByteArray(); }},
        {"another file", [](QByteArray b) { b[0] = 'X'; return b; }},
    };
    for (const auto& [name, spoil] : spoilers)
        EXPECT_FALSE(PostingJournal::decode(spoil(bytes))) << name;
}

TEST_F(PostingJournalTest, ACompletedJournalWritesEachFileAndGoes)
{
    EXPECT_EQ(CompletePendingPosting().state, PendingPosting::State::None);
    const QString one = program.filePath("one.QVC");
    const QString two = contactsFolder() + "two.QVC";
    QFile(one).open(QIODevice::WriteOnly);
    leaveJournal({{one, "new one"}, {two, "new two"}});

    EXPECT_EQ(CompletePendingPosting().state, PendingPosting::State::Completed);
    EXPECT_EQ(contentOf(one), "new one");
    EXPECT_EQ(contentOf(two), "new two");
    EXPECT_FALSE(PostingJournal::exists());
    EXPECT_EQ(CompletePendingPosting().state, PendingPosting::State::None);
}

TEST_F(PostingJournalTest, ADamagedJournalIsSetAsideAndWritesNothing)
{
    const QString one = program.filePath("one.QVC");
    QFile file(PostingJournal::path());
    ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    file.write(PostingJournal::encode({{one, "new one"}}).chopped(3));
    file.close();

    const PendingPosting pending = CompletePendingPosting();
    EXPECT_EQ(pending.state, PendingPosting::State::Damaged);
    EXPECT_TRUE(pending.message.contains(PostingJournal::path()));
    EXPECT_FALSE(QFile::exists(one));
    EXPECT_FALSE(PostingJournal::exists());
    EXPECT_TRUE(QFile::exists(PostingJournal::path() + ".damaged"));
}

// A journal that cannot be completed blocks every further posting until it can; a posting
// never reads files that an earlier one left half written.
TEST_F(PostingJournalTest, AnUnfinishedPostingIsCompletedBeforeTheNextOne)
{
    // A posting cut short after its journal: the journal moves Ana to 10, and its second file
    // lies in a folder that is not there now.
    const QString bank = company(QStringLiteral("Bank.QVC"), {{"Ana", "10"}});
    const QByteArray ten = contentOf(bank);
    ASSERT_TRUE(writeCompanyFile(bank, {{"Ana", "7"}}));
    const QString gone = program.filePath("gone/x.QVC");
    leaveJournal({{bank, ten}, {gone, "x"}});

    auto h = header(QStringLiteral("5"));
    fromOwnCompany(h);
    toContact(h, bank, 1, QStringLiteral("Ana"));
    TransactionPosting posting(store);
    const QString path = transactionsFolder() + "42.QVT";
    const TransactionResult blocked = posting.post({SaveKind::SaveAs, h, path, lineItemBytes(path)});
    EXPECT_EQ(blocked.refusal, Refusal::PendingPostingUnfinished);
    EXPECT_TRUE(blocked.notice.text.contains(gone)) << blocked.notice.text.toStdString();
    EXPECT_EQ(store.Balance.value(), "1000");
    EXPECT_TRUE(PostingJournal::exists());

    QDir().mkpath(program.filePath("gone"));
    const TransactionResult posted = posting.post({SaveKind::SaveAs, h, path, lineItemBytes(path)});
    ASSERT_EQ(posted.outcome, Outcome::Posted) << posted.notice.text.toStdString();
    EXPECT_EQ(balanceOf(bank, 1), "15"); // from the 10 the earlier posting left
    EXPECT_EQ(contentOf(gone), "x");
    EXPECT_FALSE(PostingJournal::exists());
}

} // namespace
