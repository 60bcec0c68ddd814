#include "datafiles/datafoldertree.h"
#include "postingfixture.h"
#include "posting/postingjournal.h"
#include "posting/transactionposting.h"
#include "support/qtprinters.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <functional>

using namespace postingtest;
using namespace posting;

namespace {

class PostingJournalTest : public PostingTest {
protected:
    QString folder() const { return PostingJournal::localFolder(); }
};

// A file below the shared folder is named relative to it, so another computer finds it under
// its own path; one outside keeps its path and the computer it belongs to.
TEST_F(PostingJournalTest, OnlyAWholeJournalReadsBack)
{
    const std::vector<JournalEntry> entries{
        {contactsFolder() + "b.QVC", ".b.QVC.~p1f", PostingJournal::digest("old"), PostingJournal::digest("new"),
         QString(), QByteArray()},
        {"/elsewhere/c.QVT", ".c.QVT.~p2e", QByteArray(), PostingJournal::digest("new"), QStringLiteral("Other abc"),
         QByteArray(32, 's')}};
    const QByteArray bytes = PostingJournal::encode(folder(), entries);
    EXPECT_EQ(PostingJournal::decode(folder(), bytes), entries);
    EXPECT_FALSE(bytes.contains(program.path().toUtf8()));
    const auto moved = PostingJournal::decode("/mnt/other/System/RAzar/", bytes);
    ASSERT_TRUE(moved);
    EXPECT_EQ(moved->at(0).path, "/mnt/other/System/RAzar/Contacts/b.QVC");
    EXPECT_EQ(moved->at(1).path, "/elsewhere/c.QVT");

    const std::vector<std::pair<const char*, std::function<QByteArray(QByteArray)>>> spoilers{
        {"cut short", [](QByteArray b) { return b.chopped(1); }},
        {"one byte changed", [](QByteArray b) { b[20] = char(b[20] ^ 1); return b; }},
        {"something after it", [](QByteArray b) { return b + 'x'; }},
        {"empty", [](QByteArray) { return QByteArray(); }},
        {"another file", [](QByteArray b) { b[0] = 'X'; return b; }},
    };
    for (const auto& [name, spoil] : spoilers)
        EXPECT_FALSE(PostingJournal::decode(folder(), spoil(bytes))) << name;
}

TEST_F(PostingJournalTest, ACompletedJournalRenamesEachFileAndGoes)
{
    EXPECT_EQ(CompletePendingPosting().state, PendingPosting::State::None);
    const QString one = program.filePath("one.QVC");
    const QString two = contactsFolder() + "two.QVC";
    QFile(one).open(QIODevice::WriteOnly);
    ASSERT_TRUE(PostingJournal::stage(folder(), {{one, "new one"}, {two, "new two"}}));
    EXPECT_EQ(contentOf(one), "");

    EXPECT_EQ(CompletePendingPosting().state, PendingPosting::State::Completed);
    EXPECT_EQ(contentOf(one), "new one");
    EXPECT_EQ(contentOf(two), "new two");
    EXPECT_FALSE(PostingJournal::exists());
    EXPECT_EQ(CompletePendingPosting().state, PendingPosting::State::None);
    EXPECT_EQ(contentOf(two), "new two");
}

TEST_F(PostingJournalTest, ADamagedJournalIsSetAsideAndWritesNothing)
{
    const QString one = program.filePath("one.QVC");
    QFile file(PostingJournal::path());
    ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    file.write(PostingJournal::encode(folder(), {{one, ".one.QVC.~p1", QByteArray(), PostingJournal::digest("x"),
                                                  QString(), QByteArray()}})
                   .chopped(3));
    file.close();

    const PendingPosting pending = CompletePendingPosting();
    EXPECT_EQ(pending.state, PendingPosting::State::Damaged);
    EXPECT_TRUE(pending.message.contains(PostingJournal::path()));
    EXPECT_FALSE(QFile::exists(one));
    EXPECT_FALSE(PostingJournal::exists());
    EXPECT_TRUE(QFile::exists(PostingJournal::path() + ".damaged"));
}

// The start-up takes the posting lock (a file written and flushed, a thread) only when the
// folder shows something to complete or remove; each file below is looked at on its own.
TEST_F(PostingJournalTest, LeftoversAreWhatACompletionAtTheStartWouldActOn)
{
    EXPECT_TRUE(QFile::exists(contactsFolder()));
    EXPECT_FALSE(hasPostingLeftovers(folder()));
    const QString otherComputers = QStringLiteral("posting.0123456789ab.jnl");
    ASSERT_NE(QFileInfo(PostingJournal::ownPath(folder())).fileName(), otherComputers);
    const struct {
        const char* what;
        QString path;
        bool leftover;
    } cases[] = {
        {"the lock of a posting going on or dead", folder() + "posting.lock", true},
        {"a journal", PostingJournal::path(), true},
        {"this computer's own journal", PostingJournal::ownPath(folder()), true},
        {"another computer's own journal", folder() + otherComputers, false},
        {"a journal set aside as damaged", PostingJournal::path() + ".damaged", false},
        {"a replacement deep in the data tree", contactsFolder() + ".Bank.QVC.~p1f", true},
        {"a replacement beside the data tree", program.filePath(".Firma.QVNET.~p2e"), true},
        {"a safe write's temporary file", contactsFolder() + ".Bank.QVC.~1a2b", false},
    };
    for (const auto& c : cases) {
        QFile file(c.path);
        ASSERT_TRUE(file.open(QIODevice::WriteOnly)) << c.what;
        file.close();
        EXPECT_EQ(hasPostingLeftovers(folder()), c.leftover) << c.what;
        ASSERT_TRUE(QFile::remove(c.path)) << c.what;
    }
    EXPECT_FALSE(hasPostingLeftovers(folder()));
}

// A journal that cannot be completed blocks every further posting until it can; a posting
// never reads files that an earlier one left half written.
TEST_F(PostingJournalTest, AnUnfinishedPostingIsCompletedBeforeTheNextOne)
{
    // A posting cut short after its journal: it moves Ana to 10, and its second file cannot
    // be renamed into place now (a folder stands at its name).
    const QString bank = company(QStringLiteral("Bank.QVC"), {{"Ana", "10"}});
    const QByteArray ten = contentOf(bank);
    ASSERT_TRUE(writeCompanyFile(bank, {{"Ana", "7"}}));
    const QString blocked = program.filePath("x.QVC");
    ASSERT_TRUE(PostingJournal::stage(folder(), {{bank, ten}, {blocked, "x"}}));
    QDir().mkpath(blocked);

    auto h = header(QStringLiteral("5"));
    fromOwnCompany(h);
    toContact(h, bank, 1, QStringLiteral("Ana"));
    TransactionPosting posting(store);
    const QString path = transactionsFolder() + "42.QVT";
    const TransactionResult refused = posting.post({SaveKind::SaveAs, h, path, lineItemBytes(path)});
    EXPECT_EQ(refused.refusal, Refusal::PendingPostingUnfinished);
    EXPECT_TRUE(refused.notice.text.contains(blocked)) << refused.notice.text.toStdString();
    EXPECT_EQ(store.Balance.value(), "1000");
    EXPECT_TRUE(PostingJournal::exists());

    QDir(blocked).removeRecursively();
    const TransactionResult posted = posting.post({SaveKind::SaveAs, h, path, lineItemBytes(path)});
    ASSERT_EQ(posted.outcome, Outcome::Posted) << posted.notice.text.toStdString();
    EXPECT_EQ(balanceOf(bank, 1), "15"); // from the 10 the earlier posting left
    EXPECT_EQ(contentOf(blocked), "x");
    EXPECT_FALSE(PostingJournal::exists());
}

} // namespace
