#include "datafiles/datafoldertree.h"
#include "postingfixture.h"
#include "posting/installationkey.h"
#include "posting/postingjournal.h"
#include "platform/programfolder.h"
#include "posting/transactionposting.h"
#include "support/qtprinters.h"

#include <QCryptographicHash>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QtEndian>
#include <functional>

using namespace postingtest;
using namespace posting;

namespace {

class PostingJournalTest : public PostingTest {
protected:
    QString folder() const { return PostingJournal::localFolder(); }
};

// The bytes of a journal as anybody who can write to a share could write them: whatever
// names, with a sound checksum.
struct RawEntry {
    QString path; // with its "R:" or "A:"
    QString replacement;
    QByteArray before, after;
    QString computer;
    QByteArray seal;
};

QByteArray rawJournal(const std::vector<RawEntry>& entries)
{
    const auto number = [](QByteArray& out, quint32 value) {
        char bytes[4];
        qToBigEndian(value, bytes);
        out.append(bytes, 4);
    };
    const auto counted = [&number](QByteArray& out, const QByteArray& bytes) {
        number(out, quint32(bytes.size()));
        out += bytes;
    };
    QByteArray out("QVPOST3\n");
    number(out, quint32(entries.size()));
    for (const RawEntry& e : entries) {
        counted(out, e.path.toUtf8());
        counted(out, e.replacement.toUtf8());
        counted(out, e.before);
        counted(out, e.after);
        counted(out, e.computer.toUtf8());
        counted(out, e.seal);
    }
    return out + QCryptographicHash::hash(out, QCryptographicHash::Blake2b_256);
}

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

    // Whole, but naming what no posting writes.
    const QByteArray d = PostingJournal::digest("x");
    const struct {
        const char* what;
        RawEntry entry;
    } unsound[] = {
        {"a relative name that climbs out", {"R:Contacts/../../b.QVC", ".b.QVC.~p1f", d, d, "", ""}},
        {"a relative name with an empty part", {"R:Contacts//b.QVC", ".b.QVC.~p1f", d, d, "", ""}},
        {"a relative name from the root", {"R:/etc/b.QVC", ".b.QVC.~p1f", d, d, "", ""}},
        {"a relative name with a computer", {"R:Contacts/b.QVC", ".b.QVC.~p1f", d, d, "Other abc", ""}},
        {"an absolute name without its computer", {"A:/elsewhere/c.QVT", ".c.QVT.~p2e", d, d, "", ""}},
        {"an absolute name that is not clean", {"A:/elsewhere/../c.QVT", ".c.QVT.~p2e", d, d, "Other abc", d}},
        {"a replacement of another file", {"R:Contacts/b.QVC", ".c.QVC.~p1f", d, d, "", ""}},
        {"a replacement in another folder", {"R:Contacts/b.QVC", "../.b.QVC.~p1f", d, d, "", ""}},
        {"no digest of the new content", {"R:Contacts/b.QVC", ".b.QVC.~p1f", d, "", "", ""}},
    };
    for (const auto& [what, entry] : unsound)
        EXPECT_FALSE(PostingJournal::decode(folder(), rawJournal({entry}))) << what;
    EXPECT_TRUE(PostingJournal::decode(folder(), rawJournal({{"R:Contacts/b.QVC", ".b.QVC.~p1f", d, d, "", ""}})));
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
        {"a marker a killed breaker left", folder() + ".posting.lock.broken-0123abcd", true},
        {"a journal a killed holder half wrote", folder() + ".posting.jnl.~1a2b", true},
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

// A completion tells a file already replaced from one whose new content was lost, and both
// from one that moved on since the journal was written, by what the file holds: never by its
// size. A journal is applied whole or not at all.
TEST_F(PostingJournalTest, ACompletionGoesByWhatEachFileHoldsNeverBySize)
{
    const QString one = contactsFolder() + "one.QVC";
    const QString two = contactsFolder() + "two.QVC";
    const auto replacementOf = [](const QString& file) {
        const QStringList found = QDir(QFileInfo(file).absolutePath())
                                      .entryList({"." + QFileInfo(file).fileName() + ".~p*"}, QDir::Files | QDir::Hidden);
        return found.isEmpty() ? QString() : QFileInfo(file).absolutePath() + "/" + found.first();
    };
    const struct {
        const char* what;
        std::function<void()> meanwhile;
        PendingPosting::State state;
        QByteArray oneAfter, twoAfter;
        const char* asideAs;
    } cases[] = {
        {"nothing renamed yet", [] {}, PendingPosting::State::Completed, "new one", "new two", nullptr},
        {"the first renamed before the cut",
         [&] { QFile::rename(replacementOf(one), one); }, PendingPosting::State::Completed, "new one", "new two",
         nullptr},
        {"the first's new content lost",
         [&] { QFile::remove(replacementOf(one)); }, PendingPosting::State::Damaged, "old one", "old two", "damaged"},
        {"the first's new content damaged",
         [&] {
             QFile file(replacementOf(one));
             file.open(QIODevice::WriteOnly);
             file.write("bad one");
         },
         PendingPosting::State::Damaged, "old one", "old two", "damaged"},
        {"the first written since, to the same size",
         [&] {
             QFile file(one);
             file.open(QIODevice::WriteOnly);
             file.write("mod one");
         },
         PendingPosting::State::Stale, "mod one", "old two", "stale"},
        {"the first written since and its new content gone",
         [&] {
             QFile::remove(replacementOf(one));
             QFile file(one);
             file.open(QIODevice::WriteOnly);
             file.write("mod one");
         },
         PendingPosting::State::Stale, "mod one", "old two", "stale"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        for (const auto& [file, bytes] : {std::pair{one, QByteArray("old one")}, std::pair{two, QByteArray("old two")}}) {
            QFile f(file);
            ASSERT_TRUE(f.open(QIODevice::WriteOnly));
            f.write(bytes);
        }
        ASSERT_TRUE(PostingJournal::stage(folder(), {{one, "new one"}, {two, "new two"}}));
        c.meanwhile();

        const PendingPosting pending = CompletePendingPosting();
        EXPECT_EQ(pending.state, c.state) << pending.message.toStdString();
        EXPECT_EQ(contentOf(one), c.oneAfter);
        EXPECT_EQ(contentOf(two), c.twoAfter);
        EXPECT_FALSE(PostingJournal::exists());
        if (c.asideAs) {
            const QString aside = PostingJournal::path() + "." + c.asideAs;
            EXPECT_TRUE(QFile::exists(aside));
            EXPECT_TRUE(pending.message.contains(aside)) << pending.message.toStdString();
            EXPECT_TRUE(pending.message.contains(one)) << pending.message.toStdString();
            QFile::remove(aside);
        }
        for (const QString& file : {one, two})
            if (const QString left = replacementOf(file); !left.isEmpty())
                QFile::remove(left);
    }
}

// A journal in a share names a file outside it, or one it cannot vouch for: it is reported
// as damaged, and no file outside the share is renamed, whoever wrote it and however.
TEST_F(PostingJournalTest, AJournalInAShareRenamesNothingOutsideIt)
{
    // The journal's folder; names below the share ("share/") are relative to the share.
    program.makeFolder("share/QVNET/RAzar/Contacts");
    const QString share = program.filePath("share/QVNET/RAzar/");
    const QString outside = program.makeFolder("outside");
    const QString victim = outside + "/victim.txt";
    const QString planted = outside + "/.victim.txt.~p1";
    ASSERT_TRUE(QFile::link(outside, share + "Contacts/away"));
    // A link in the share to the file outside, and a replacement for it planted beside it.
    ASSERT_TRUE(QFile::link(victim, share + "Contacts/link.QVC"));
    const QString plantedInside = share + "Contacts/.link.QVC.~p1";
    const QByteArray precious = "precious";
    const QByteArray evil = "evil";
    const QByteArray was = PostingJournal::digest(precious);
    const QByteArray becomes = PostingJournal::digest(evil);
    // The entries of this computer's own files are sealed with its key, which the writer of
    // these journals does not have.
    QByteArray key;
    ASSERT_TRUE(InstallationKey::ensure(key));
    const struct {
        const char* what;
        RawEntry entry;
    } cases[] = {
        {"an absolute path without a computer", {"A:" + victim, ".victim.txt.~p1", was, becomes, "", ""}},
        {"an absolute path with no seal", {"A:" + victim, ".victim.txt.~p1", was, becomes, PostingJournal::computerKey(), ""}},
        {"an absolute path claimed to be this computer's",
         {"A:" + victim, ".victim.txt.~p1", was, becomes, PostingJournal::computerKey(), QByteArray(32, 'k')}},
        {"a relative path that climbs out",
         {"R:QVNET/RAzar/Contacts/../../../../outside/victim.txt", ".victim.txt.~p1", was, becomes, "", ""}},
        {"a relative path through a link out of the share",
         {"R:QVNET/RAzar/Contacts/away/victim.txt", ".victim.txt.~p1", was, becomes, "", ""}},
        {"a relative path that is a link out of the share",
         {"R:QVNET/RAzar/Contacts/link.QVC", ".link.QVC.~p1", was, becomes, "", ""}},
        {"an absolute path spelled with \"..\"",
         {"A:" + outside + "/../outside/victim.txt", ".victim.txt.~p1", was, becomes, PostingJournal::computerKey(),
          QByteArray(32, 'k')}},
        {"a replacement that is not the file's own", {"A:" + victim, "victim.bak", was, becomes, "", ""}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        for (const auto& [file, bytes] :
             {std::pair{victim, precious}, std::pair{planted, evil}, std::pair{plantedInside, evil}}) {
            QFile f(file);
            ASSERT_TRUE(f.open(QIODevice::WriteOnly));
            f.write(bytes);
        }
        QFile journal(PostingJournal::path(share));
        ASSERT_TRUE(journal.open(QIODevice::WriteOnly));
        journal.write(rawJournal({c.entry}));
        journal.close();

        const PendingPosting pending = CompletePendingPosting(share);
        EXPECT_EQ(pending.state, PendingPosting::State::Damaged) << pending.message.toStdString();
        EXPECT_EQ(contentOf(victim), precious);
        EXPECT_EQ(contentOf(planted), evil);
        EXPECT_EQ(contentOf(plantedInside), evil);
        EXPECT_FALSE(PostingJournal::exists(share));
        QFile::remove(PostingJournal::path(share) + ".damaged");
    }
}

// The sweep of dead replacements keeps every one that a journal names, in the folder swept
// or in the folders beside it (the share whose journal names this computer's own files).
TEST_F(PostingJournalTest, TheSweepKeepsWhatAJournalNames)
{
    const QString share = program.makeFolder("share/QVNET/RAzar") + "/";
    const QString one = contactsFolder() + "one.QVC";
    const QString settingsLike = contactsFolder() + "three.QVC";
    for (const QString& file : {one, settingsLike}) {
        QFile f(file);
        ASSERT_TRUE(f.open(QIODevice::WriteOnly));
        f.write("old");
    }
    ASSERT_TRUE(PostingJournal::stage(folder(), {{one, "new one"}}));
    ASSERT_TRUE(PostingJournal::stage(share, {{settingsLike, "new three"}}));
    QString stray;
    ASSERT_TRUE(platform::writeReplacement(contactsFolder() + "two.QVC", "never journalled", stray));
    const auto replacements = [&] {
        return QDir(contactsFolder()).entryList({".*.~p*"}, QDir::Files | QDir::Hidden);
    };
    ASSERT_EQ(replacements().size(), 3);

    EXPECT_EQ(removeDeadReplacements(folder(), {share}), 1);
    EXPECT_FALSE(QFile::exists(stray));
    EXPECT_EQ(replacements().size(), 2);
    EXPECT_EQ(CompletePendingPosting().state, PendingPosting::State::Completed);
    EXPECT_EQ(CompletePendingPosting(share).state, PendingPosting::State::Completed);
    EXPECT_EQ(contentOf(one), "new one");
    EXPECT_EQ(contentOf(settingsLike), "new three");
}

// A journal is made visible in one step that fails where one stands already, and only when
// its writer's last check allows it; a refused one leaves nothing behind.
TEST_F(PostingJournalTest, AJournalIsMadeVisibleOnlyWhereNoneStandsAndOnlyWhenAllowed)
{
    const QString one = contactsFolder() + "one.QVC";
    const auto entry = [&](const char* replacement) {
        return JournalEntry{one, replacement, QByteArray(), PostingJournal::digest("x"), QString(), QByteArray()};
    };
    const auto leftBeside = [&] {
        return QDir(folder()).entryList({".posting.jnl.~*"}, QDir::Files | QDir::Hidden);
    };
    QByteArray written;
    const platform::FileResult refused = PostingJournal::publish(
        folder(), {entry(".one.QVC.~p1")}, [] { return platform::FileResult{false, QStringLiteral("lost")}; }, written);
    EXPECT_FALSE(refused.ok);
    EXPECT_EQ(refused.error, "lost");
    EXPECT_FALSE(PostingJournal::exists());
    EXPECT_EQ(leftBeside(), QStringList());

    ASSERT_TRUE(PostingJournal::write(folder(), {entry(".one.QVC.~p2")}));
    const QByteArray standing = contentOf(PostingJournal::path());
    const platform::FileResult inTheWay = PostingJournal::publish(folder(), {entry(".one.QVC.~p3")}, {}, written);
    EXPECT_FALSE(inTheWay.ok);
    EXPECT_TRUE(inTheWay.error.contains(PostingJournal::path())) << inTheWay.error.toStdString();
    EXPECT_EQ(contentOf(PostingJournal::path()), standing);
    EXPECT_EQ(leftBeside(), QStringList());
}

// Two installations of the program on one computer (two users, each with a program folder of
// their own) are two owners: neither completes the other's files outside the share, and
// neither takes the other's entries for forged ones. The key stays its user's alone.
TEST_F(PostingJournalTest, AnotherInstallationOnThisComputerHandsOnWhatItCannotVouchFor)
{
    const QString share = program.makeFolder("share/QVNET/RAzar") + "/";
    const QString own = program.filePath("own.txt");
    {
        QFile f(own);
        ASSERT_TRUE(f.open(QIODevice::WriteOnly));
        f.write("old");
    }
    ASSERT_TRUE(PostingJournal::stage(share, {{own, "new"}}));
    const QFileDevice::Permissions others = QFileDevice::ReadGroup | QFileDevice::WriteGroup | QFileDevice::ReadOther
        | QFileDevice::WriteOther;
    EXPECT_EQ(QFile(InstallationKey::path()).permissions() & others, QFileDevice::Permissions());

    const QString first = platform::programFolder();
    platform::setProgramFolder(program.makeFolder("second"));
    datafiles::CreateDataFolders();
    const PendingPosting handed = CompletePendingPosting(share);
    platform::setProgramFolder(first);
    EXPECT_EQ(handed.state, PendingPosting::State::Completed) << handed.message.toStdString();
    EXPECT_EQ(contentOf(own), "old");
    EXPECT_TRUE(QFile::exists(PostingJournal::ownPath(share)));

    EXPECT_EQ(CompletePendingPosting(share).state, PendingPosting::State::Completed);
    EXPECT_EQ(contentOf(own), "new");
    EXPECT_FALSE(QFile::exists(PostingJournal::ownPath(share)));
}


// This installation's own entry waiting in a journal cannot be vouched for once its key is
// gone, cut short or replaced: it is not applied, and the completion says so, naming the key
// file, rather than reporting a completion that did not happen. With the key back, it is.
TEST_F(PostingJournalTest, AnOwnEntryUnderAKeyThatChangedIsReportedNotCompleted)
{
    const std::vector<std::pair<const char*, std::function<void(const QString&)>>> damages = {
        {"unreadable", [](const QString& key) {
             ASSERT_TRUE(QFile::remove(key));
             ASSERT_TRUE(QDir().mkdir(key));
         }},
        {"cut short", [](const QString& key) { ASSERT_TRUE(QFile(key).resize(16)); }},
        {"replaced", [](const QString& key) {
             QFile f(key);
             ASSERT_TRUE(f.open(QIODevice::WriteOnly | QIODevice::Truncate));
             f.write(QByteArray(32, 'k'));
         }},
    };
    const QString share = program.makeFolder("share/QVNET/RAzar") + "/";
    for (const auto& [name, damage] : damages) {
        SCOPED_TRACE(name);
        const QString own = program.filePath("own.txt");
        {
            QFile f(own);
            ASSERT_TRUE(f.open(QIODevice::WriteOnly | QIODevice::Truncate));
            f.write("old");
        }
        ASSERT_TRUE(PostingJournal::stage(share, {{own, "new"}}));
        const QString key = InstallationKey::path();
        const QByteArray original = contentOf(key);
        ASSERT_EQ(original.size(), 32);
        damage(key);

        const PendingPosting parked = CompletePendingPosting(share);
        EXPECT_NE(parked.state, PendingPosting::State::Completed);
        EXPECT_TRUE(parked.message.contains(key)) << parked.message.toStdString();
        EXPECT_TRUE(parked.message.contains(own)) << parked.message.toStdString();
        EXPECT_EQ(contentOf(own), "old");

        QDir().rmdir(key);
        QFile::remove(key);
        {
            QFile f(key);
            ASSERT_TRUE(f.open(QIODevice::WriteOnly));
            f.write(original);
        }
        const PendingPosting back = CompletePendingPosting(share);
        EXPECT_EQ(back.state, PendingPosting::State::Completed) << back.message.toStdString();
        EXPECT_EQ(contentOf(own), "new");
        EXPECT_FALSE(QFile::exists(PostingJournal::ownPath(share)));
    }
}

} // namespace
