// Anybody who can write to a share can turn a file or a folder in it into a symbolic link to a
// file elsewhere on a computer that uses the share, at any moment. A posting, and the
// completion of one cut short, must then write nothing outside the share: the posting is
// refused, or the journal is not completed, naming the file. And a journal that no posting
// could have written (larger than any) is set aside unread, with one sentence for the user.

#include "childprocess.h"
#include "crashscenario.h"
#include "postingfixture.h"
#include "platform/safefile.h"
#include "posting/filechangeset.h"
#include "posting/postingjournal.h"
#include "support/pinnedclock.h"
#include "support/qtprinters.h"
#include "support/tempprogramfolder.h"

#include <QCryptographicHash>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QRegularExpression>
#include <cstdio>
#include <fcntl.h>
#include <gtest/gtest.h>

using namespace posting;
using postingtest::ChildProcess;
using postingtest::contentOf;

namespace {

QString makeFile(const QString& path, const QByteArray& bytes)
{
    QDir().mkpath(QFileInfo(path).absolutePath());
    QFile file(path);
    if (!file.open(QIODevice::WriteOnly) || file.write(bytes) != bytes.size())
        ADD_FAILURE() << "could not write " << path.toStdString();
    return path;
}

// A folder of the victim's own, outside the share, that nobody else may enter, holding one
// file of value.
struct Victim {
    explicit Victim(const testsupport::TempProgramFolder& program, const QString& name = QStringLiteral("secret.QVC"))
        : folder(program.makeFolder(QStringLiteral("victim"))), name(name), file(folder + QLatin1Char('/') + name)
    {
        makeFile(file, precious);
        QFile::setPermissions(folder, QFileDevice::ReadOwner | QFileDevice::WriteOwner | QFileDevice::ExeOwner);
    }
    // Nothing in the folder changed: the file keeps its bytes and nothing was put beside it.
    ::testing::AssertionResult untouched() const
    {
        const QStringList there = QDir(folder).entryList(QDir::AllEntries | QDir::Hidden | QDir::NoDotAndDotDot);
        if (there != QStringList{name})
            return ::testing::AssertionFailure() << "the victim's folder holds " << there.join(", ").toStdString();
        if (contentOf(file) != precious)
            return ::testing::AssertionFailure() << "the victim's file now holds " << contentOf(file).toStdString();
        return ::testing::AssertionSuccess();
    }

    QString folder;
    QString name;
    QString file;
    const QByteArray precious = "precious";
};

bool exchange(const QString& one, const QString& other)
{
    return ::renameat2(AT_FDCWD, QFile::encodeName(one).constData(), AT_FDCWD, QFile::encodeName(other).constData(),
                       RENAME_EXCHANGE) == 0;
}

// A posting's own write, when a file of the share it writes is by then a link, or lies behind
// one: the posting is refused, naming the file, and nothing is written anywhere.
class ConfinedPostingWrites : public postingtest::PostingTest {};

TEST_F(ConfinedPostingWrites, ALinkInTheShareRefusesThePostingAndNothingOutsideChanges)
{
    const QString folder = program.makeFolder(QStringLiteral("share/QVNET/RAzar")) + QLatin1Char('/');
    const QString contacts = folder + QStringLiteral("Contacts");
    const QString bank = contacts + QStringLiteral("/Bank.QVC");
    const QString header = folder + QStringLiteral("Transactions/42.QVTH");
    const struct {
        const char* what;
        std::function<void(const Victim&)> plant;
    } cases[] = {
        {"the file is a link to a file outside", [&](const Victim& v) { QFile::link(v.file, bank); }},
        {"a folder of its path is a link to a folder outside",
         [&](const Victim& v) {
             QDir(contacts).removeRecursively();
             QFile::link(v.file, program.makeFolder(QStringLiteral("elsewhere")) + QStringLiteral("/Bank.QVC"));
             QFile::link(program.filePath(QStringLiteral("elsewhere")), contacts);
         }},
        {"the file is a link to another file of the share",
         [&](const Victim&) { QFile::link(makeFile(folder + QStringLiteral("Items/Oak.QVI"), "oak"), bank); }},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        const Victim victim(program);
        makeFile(header, "old header");
        QDir().mkpath(contacts);
        c.plant(victim);
        const postingtest::Snapshot before = postingtest::snapshot({program.path()});

        FileChangeSet files;
        files.add(header, "new header");
        files.add(bank, "the company's bytes");
        const FileChangeSet::Result result = files.commit(folder, [] { return true; });
        EXPECT_EQ(result.outcome, FileChangeSet::Outcome::PutBack);
        EXPECT_TRUE(result.error.contains(bank)) << result.error.toStdString();
        EXPECT_TRUE(victim.untouched());
        EXPECT_EQ(postingtest::snapshot({program.path()}), before);
        EXPECT_FALSE(PostingJournal::exists(folder));

        for (const char* made : {"victim", "elsewhere", "share/QVNET/RAzar/Contacts", "share/QVNET/RAzar/Items"}) {
            const QString path = program.filePath(QString::fromLatin1(made));
            if (QFileInfo(path).isSymLink())
                QFile::remove(path);
            else
                QDir(path).removeRecursively();
        }
    }
}

// A completion hands the entries of another installation's files to that installation's own
// journal in the share; when a link stands at that journal's name, nothing is written through
// it, and the completion is not told as done.
TEST_F(ConfinedPostingWrites, AJournalHandedOnIsNotWrittenThroughALink)
{
    const QString folder = program.makeFolder(QStringLiteral("share/QVNET/RAzar")) + QLatin1Char('/');
    const Victim victim(program);
    const QString other = QStringLiteral("Other 0123 fingerprint");
    const QString theirs = folder + QStringLiteral("posting.%1.jnl")
                                        .arg(QString::fromLatin1(
                                            QCryptographicHash::hash(other.toUtf8(), QCryptographicHash::Sha1).toHex().left(12)));
    ASSERT_TRUE(QFile::link(victim.file, theirs));
    const QByteArray d = PostingJournal::digest("x");
    ASSERT_TRUE(PostingJournal::write(folder, {{QStringLiteral("/elsewhere/c.QVT"), QStringLiteral(".c.QVT.~p2e"), d, d,
                                                other, QByteArray(32, 's')}}));

    const PendingPosting pending = CompletePendingPosting(folder);
    EXPECT_EQ(pending.state, PendingPosting::State::Failed) << pending.message.toStdString();
    EXPECT_TRUE(pending.message.contains(theirs)) << pending.message.toStdString();
    EXPECT_TRUE(victim.untouched());
    EXPECT_TRUE(PostingJournal::exists(folder));
    EXPECT_TRUE(QFileInfo(theirs).isSymLink());
}

// A journal that is itself a link, or lies behind one, is not followed: it is set aside as
// damaged, naming it, and the next posting is not held up by it.
TEST_F(ConfinedPostingWrites, AJournalThatIsALinkIsSetAsideUnfollowed)
{
    const QString folder = program.makeFolder(QStringLiteral("share/QVNET/RAzar")) + QLatin1Char('/');
    const Victim victim(program);
    ASSERT_TRUE(QFile::link(victim.file, PostingJournal::path(folder)));

    const PendingPosting pending = CompletePendingPosting(folder);
    EXPECT_EQ(pending.state, PendingPosting::State::Damaged) << pending.message.toStdString();
    EXPECT_TRUE(pending.message.contains(PostingJournal::path(folder))) << pending.message.toStdString();
    EXPECT_TRUE(QFileInfo(PostingJournal::path(folder) + QStringLiteral(".damaged")).isSymLink());
    EXPECT_FALSE(QFileInfo(PostingJournal::path(folder)).isSymLink());
    EXPECT_EQ(CompletePendingPosting(folder).state, PendingPosting::State::None);
    EXPECT_TRUE(victim.untouched());
}

// How a user of the share swaps a name of a journal's first file while another computer
// completes that journal.
struct Swap {
    const char* name;
    // Makes the swap: a name in the share exchanged, in one step, with a link to what lies
    // outside it; `replacement` is the journal's replacement file of Bank.QVC.
    bool (*make)(const QString& contacts, const QString& replacement, const QString& outside, const Victim& victim);
};

void PrintTo(const Swap& swap, std::ostream* os)
{
    *os << swap.name;
}

// The folder Contacts becomes a link to a folder of the share user's, outside the share, in
// which Bank.QVC is a link to the victim's file and a replacement of that name holds the share
// user's bytes.
bool swapTheFolder(const QString& contacts, const QString& replacement, const QString& outside, const Victim& victim)
{
    makeFile(outside + QLatin1Char('/') + replacement, "the share user's bytes");
    const QString link = QFileInfo(contacts).absolutePath() + QStringLiteral("/.swap");
    return QFile::link(victim.file, outside + QStringLiteral("/Bank.QVC")) && QFile::link(outside, link)
        && exchange(contacts, link);
}

// Bank.QVC becomes a link to the victim's file.
bool swapTheFile(const QString& contacts, const QString&, const QString&, const Victim& victim)
{
    const QString link = contacts + QStringLiteral("/.swap");
    return QFile::link(victim.file, link) && exchange(contacts + QStringLiteral("/Bank.QVC"), link);
}

class ACompletionMeetsALinkMadeAfterItsCheck : public ::testing::TestWithParam<Swap> {
protected:
    testsupport::TempProgramFolder program;
    testsupport::PinnedClock clock{QDateTime(QDate(2026, 12, 10), QTime(12, 0, 0))};
};

// The completion is a real process, stopped right after it looked at every file and before
// its first rename; the swap is made then, and the completion let go on.
TEST_P(ACompletionMeetsALinkMadeAfterItsCheck, AndWritesNothingOutsideTheShare)
{
    constexpr int TransactionAsAUser = 2;
    const crashtest::Scenario& scenario = crashtest::Scenarios[TransactionAsAUser];
    ASSERT_TRUE(crashtest::prepare(scenario));
    const QString folder = crashtest::postingFolder(scenario);
    const QString contacts = folder + QStringLiteral("Contacts");
    const QString bank = contacts + QStringLiteral("/Bank.QVC");
    const Victim victim(program);

    // A posting killed right before its first rename leaves its journal whole, naming
    // Bank.QVC first.
    ChildProcess cut = ChildProcess::start(POSTING_CRASH_CHILD,
                                           {program.path(), QString::number(TransactionAsAUser), QStringLiteral("post"),
                                            QString::number(crashtest::files(scenario) + 3)},
                                           program.filePath(QStringLiteral("cut.out")));
    cut.wait();
    ASSERT_FALSE(cut.exited(0)) << cut.describe();
    QByteArray journal;
    ASSERT_TRUE(platform::readWholeFile(PostingJournal::path(folder), journal));
    const auto entries = PostingJournal::decode(folder, journal);
    ASSERT_TRUE(entries && !entries->empty());
    ASSERT_EQ(entries->front().path, bank);

    ChildProcess completion = ChildProcess::start(
        POSTING_CRASH_CHILD, {program.path(), QString::number(TransactionAsAUser), QStringLiteral("completestop"), "1"},
        program.filePath(QStringLiteral("completion.out")));
    ASSERT_TRUE(completion.waitStopped()) << completion.describe();
    ASSERT_TRUE(GetParam().make(contacts, entries->front().replacement, program.makeFolder(QStringLiteral("outside")),
                                victim));
    completion.resume();
    completion.wait();

    const QString told = completion.lines().join(QLatin1Char('\n'));
    EXPECT_TRUE(completion.exited(2)) << completion.describe() << " " << told.toStdString();
    EXPECT_TRUE(told.contains(bank)) << told.toStdString();
    EXPECT_TRUE(victim.untouched());
    EXPECT_TRUE(PostingJournal::exists(folder));

    // The next completion finds the link in its look at the files: the journal is set aside
    // as damaged, naming the file, and nothing is renamed.
    const PendingPosting later = CompletePendingPosting(folder);
    EXPECT_EQ(later.state, PendingPosting::State::Damaged) << later.message.toStdString();
    EXPECT_TRUE(later.message.contains(bank)) << later.message.toStdString();
    EXPECT_FALSE(PostingJournal::exists(folder));
    EXPECT_TRUE(QFile::exists(PostingJournal::path(folder) + QStringLiteral(".damaged")));
    EXPECT_TRUE(victim.untouched());
}

INSTANTIATE_TEST_SUITE_P(Swaps, ACompletionMeetsALinkMadeAfterItsCheck,
                         ::testing::Values(Swap{"AFolderOfThePath", swapTheFolder}, Swap{"TheFile", swapTheFile}),
                         [](const ::testing::TestParamInfo<Swap>& info) { return std::string(info.param.name); });

// The sweep of dead replacements at a start, a real process stopped right before it removes
// one: the folder that holds it is swapped for a link to the victim's folder, in which a file
// of the same name lies. It stays.
TEST(ConfinedSweep, RemovesNothingOutsideTheShareWhenAFolderBecomesALink)
{
    testsupport::TempProgramFolder program;
    testsupport::PinnedClock clock{QDateTime(QDate(2026, 12, 10), QTime(12, 0, 0))};
    constexpr int TransactionAsAUser = 2;
    ASSERT_TRUE(crashtest::prepare(crashtest::Scenarios[TransactionAsAUser]));
    const QString contacts = crashtest::postingFolder(crashtest::Scenarios[TransactionAsAUser]) + "Contacts";
    const QString dead = QStringLiteral(".Bank.QVC.~p1f");
    makeFile(contacts + QLatin1Char('/') + dead, "a posting killed before its journal");
    const Victim victim(program, dead);

    ChildProcess sweep = ChildProcess::start(
        POSTING_CRASH_CHILD, {program.path(), QString::number(TransactionAsAUser), QStringLiteral("sweepstop"), "1"},
        program.filePath(QStringLiteral("sweep.out")));
    ASSERT_TRUE(sweep.waitStopped()) << sweep.describe();
    const QString link = QFileInfo(contacts).absolutePath() + QStringLiteral("/.swap");
    ASSERT_TRUE(QFile::link(victim.folder, link));
    ASSERT_TRUE(exchange(contacts, link));
    sweep.resume();
    sweep.wait();
    EXPECT_TRUE(sweep.exited(0)) << sweep.describe();
    EXPECT_EQ(sweep.lines(), QStringList{"0"});
    EXPECT_TRUE(victim.untouched());
    EXPECT_TRUE(QFile::exists(link + QLatin1Char('/') + dead)); // the share's own, now under the other name
}

// The start's sweep of the share's stale temporary files, a real process stopped right before
// it removes one: the folder that holds it is swapped for a link to the victim's folder, in
// which a file of the same name, as old, lies. It stays.
TEST(ConfinedSweep, OfStaleTemporaryFilesRemovesNothingOutsideTheShare)
{
    testsupport::TempProgramFolder program;
    testsupport::PinnedClock clock{QDateTime(QDate(2026, 12, 10), QTime(12, 0, 0))};
    constexpr int TransactionAsAUser = 2;
    ASSERT_TRUE(crashtest::prepare(crashtest::Scenarios[TransactionAsAUser]));
    const QString contacts = crashtest::postingFolder(crashtest::Scenarios[TransactionAsAUser]) + "Contacts";
    const QString stale = QStringLiteral(".Bank.QVC.~1a2b");
    const QDateTime twoDaysAgo = QDateTime::currentDateTime().addDays(-2);
    const auto age = [&twoDaysAgo](const QString& path) {
        QFile file(path);
        return file.open(QIODevice::ReadWrite) && file.setFileTime(twoDaysAgo, QFileDevice::FileModificationTime);
    };
    ASSERT_TRUE(age(makeFile(contacts + QLatin1Char('/') + stale, "a writer killed long ago")));
    const Victim victim(program, stale);
    ASSERT_TRUE(age(victim.file));

    ChildProcess sweep = ChildProcess::start(
        POSTING_CRASH_CHILD, {program.path(), QString::number(TransactionAsAUser), QStringLiteral("stalesweep"), "0"},
        program.filePath(QStringLiteral("sweep.out")));
    ASSERT_TRUE(sweep.waitStopped()) << sweep.describe();
    const QString link = QFileInfo(contacts).absolutePath() + QStringLiteral("/.swap");
    ASSERT_TRUE(QFile::link(victim.folder, link));
    ASSERT_TRUE(exchange(contacts, link));
    sweep.resume();
    sweep.wait();
    EXPECT_TRUE(sweep.exited(0)) << sweep.describe();
    EXPECT_TRUE(victim.untouched());
    EXPECT_FALSE(QFile::exists(link + QLatin1Char('/') + stale)); // the share's own, from the folder it listed
}

// The journal's sentence for the user: one sentence, however many paths it names.
::testing::AssertionResult oneSentence(const QString& message)
{
    QString text = message;
    text.remove(QRegularExpression(QStringLiteral("\"[^\"]*\"")));
    if (!text.endsWith(QLatin1Char('.')) || text.chopped(1).contains(QLatin1Char('.')))
        return ::testing::AssertionFailure() << "not one sentence: " << message.toStdString();
    return ::testing::AssertionSuccess();
}

class JournalLimitTest : public postingtest::PostingTest {
protected:
    QString folder() const { return PostingJournal::localFolder(); }

    // Files below the data folder and a journal that renames each to its new content, whole
    // and sound: a completion would apply it, were it not for its size.
    void stageJournal(const QString& subfolder, int count, int nameLength)
    {
        files.clear();
        std::vector<std::pair<QString, QByteArray>> staged;
        for (int i = 0; i < count; ++i) {
            const QString name = QStringLiteral("%1.QVC").arg(i, nameLength, 10, QLatin1Char('0'));
            files << makeFile(subfolder + QLatin1Char('/') + name, "old");
            staged.push_back({files.last(), "new"});
        }
        ASSERT_TRUE(PostingJournal::stage(folder(), staged));
    }
    // Nothing renamed: every file holds what it held.
    ::testing::AssertionResult nothingRenamed() const
    {
        for (const QString& file : files)
            if (contentOf(file) != "old")
                return ::testing::AssertionFailure() << file.toStdString() << " was renamed over";
        return ::testing::AssertionSuccess();
    }

    QStringList files;
};

TEST_F(JournalLimitTest, AJournalLargerThanAnyPostingIsSetAsideUnreadInOneSentence)
{
    // Bytes: a deep folder whose long names make a journal of few entries just over the limit.
    QString deep = contactsFolder();
    while (deep.size() < 3600)
        deep += QLatin1Char('/') + QString(200, QLatin1Char('d'));
    ASSERT_TRUE(QDir().mkpath(deep));
    const QString journal = PostingJournal::path();
    stageJournal(deep, 1, 100);
    const qint64 one = QFileInfo(journal).size();
    ASSERT_TRUE(PostingJournal::remove(journal));
    stageJournal(deep, 2, 100);
    const qint64 perEntry = QFileInfo(journal).size() - one;
    ASSERT_TRUE(PostingJournal::remove(journal));
    stageJournal(deep, int((PostingJournal::MaxBytes - one) / perEntry) + 2, 100);
    ASSERT_GT(QFileInfo(journal).size(), PostingJournal::MaxBytes);
    ASSERT_LT(QFileInfo(journal).size(), PostingJournal::MaxBytes + 2 * perEntry);
    ASSERT_LE(files.size(), qsizetype(PostingJournal::MaxEntries));

    const PendingPosting bySize = CompletePendingPosting();
    EXPECT_EQ(bySize.state, PendingPosting::State::Damaged) << bySize.message.left(300).toStdString();
    EXPECT_TRUE(bySize.message.contains(journal)) << bySize.message.left(300).toStdString();
    EXPECT_TRUE(oneSentence(bySize.message));
    EXPECT_LT(bySize.message.size(), 2 * journal.size() + 200);
    EXPECT_TRUE(nothingRenamed());
    EXPECT_FALSE(PostingJournal::exists());
    ASSERT_TRUE(QFile::remove(journal + QStringLiteral(".damaged")));
    ASSERT_TRUE(QDir(contactsFolder() + QString(200, QLatin1Char('d'))).removeRecursively());

    // Entries: one more than any posting writes, each of them sound.
    stageJournal(contactsFolder(), int(PostingJournal::MaxEntries) + 1, 4);
    ASSERT_LT(QFileInfo(journal).size(), PostingJournal::MaxBytes);
    const PendingPosting byCount = CompletePendingPosting();
    EXPECT_EQ(byCount.state, PendingPosting::State::Damaged) << byCount.message.left(300).toStdString();
    EXPECT_TRUE(byCount.message.contains(journal));
    EXPECT_TRUE(oneSentence(byCount.message));
    EXPECT_TRUE(nothingRenamed());
    EXPECT_FALSE(PostingJournal::exists());
}

// A name longer than any the system opens is no posting's: the journal is damaged, not a
// file that cannot be read now (which would stop every posting until it can).
TEST_F(JournalLimitTest, ANameLongerThanAnyPathIsDamage)
{
    const QString name = contactsFolder() + QString(PostingJournal::MaxPathBytes, QLatin1Char('n'));
    const JournalEntry entry{name, QLatin1Char('.') + QFileInfo(name).fileName() + QStringLiteral(".~p1"), QByteArray(),
                             PostingJournal::digest("x"), QString(), QByteArray()};
    ASSERT_TRUE(PostingJournal::write(folder(), {entry}));
    const PendingPosting pending = CompletePendingPosting();
    EXPECT_EQ(pending.state, PendingPosting::State::Damaged) << pending.message.left(300).toStdString();
    EXPECT_TRUE(pending.message.contains(PostingJournal::path())) << pending.message.left(300).toStdString();
    EXPECT_FALSE(PostingJournal::exists());
}

} // namespace
