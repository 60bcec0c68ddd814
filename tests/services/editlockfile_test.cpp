#include "services/editlockfile.h"

#include "support/qtprinters.h"

#include <QFile>
#include <QTemporaryDir>
#include <gtest/gtest.h>

using services::EditLockFile;
using services::HeldLocks;
using Status = services::HeldLocks::Take::Status;

namespace {

class EditLockTest : public ::testing::Test {
protected:
    QString doc(const QString& name = QStringLiteral("Group1.QVI")) const { return dir.filePath(name); }
    static void put(const QString& path, const QByteArray& bytes)
    {
        QFile f(path);
        ASSERT_TRUE(f.open(QIODevice::WriteOnly | QIODevice::Truncate));
        f.write(bytes);
    }
    static QByteArray bytesOf(const QString& path)
    {
        QFile f(path);
        return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray("<missing>");
    }
    QTemporaryDir dir;
};

TEST_F(EditLockTest, TheLockIsTheWholeDocumentPathFollowedByTmp)
{
    EXPECT_EQ(EditLockFile::pathOf(QStringLiteral("/d/Group1.QVI")), QStringLiteral("/d/Group1.QVI.tmp"));
    EXPECT_EQ(EditLockFile::pathOf(QStringLiteral("/d/abc")), QStringLiteral("/d/abc.tmp"));
}

TEST_F(EditLockTest, TheHolderIsTheFirstLineOfTheLock)
{
    struct Case {
        const char* name;
        std::optional<QByteArray> content; // nothing: no lock file
        std::optional<QString> holder;
    };
    const Case cases[] = {
        {"no lock file", std::nullopt, std::nullopt},
        {"a name without a line end", QByteArray("PC-ANNA"), QStringLiteral("PC-ANNA")},
        {"an empty lock", QByteArray(), QString()},
        {"several lines, CR LF", QByteArray("PC-ANNA\r\nPC-BOB\r\n"), QStringLiteral("PC-ANNA")},
        {"several lines, LF", QByteArray("PC-ANNA\nPC-BOB"), QStringLiteral("PC-ANNA")},
        {"Windows-1250 letters", QByteArray("RA\x8A\x8EUNAR"), QStringLiteral("RAŠŽUNAR")},
    };
    for (const Case& c : cases) {
        QFile::remove(EditLockFile::pathOf(doc()));
        if (c.content)
            put(EditLockFile::pathOf(doc()), *c.content);
        EXPECT_EQ(EditLockFile::holderOf(doc()), c.holder) << c.name;
    }
}

TEST_F(EditLockTest, TakingWritesTheComputerNameWithoutALineEnd)
{
    HeldLocks locks;
    const auto taken = locks.take(doc(), QStringLiteral("RAČUNAR"));
    EXPECT_EQ(taken.status, Status::Held);
    EXPECT_EQ(bytesOf(EditLockFile::pathOf(doc())), QByteArray("RA\xC8UNAR"));
    EXPECT_TRUE(locks.holds(doc()));
}

// Another machine's lock, whenever it appeared, is never overwritten; a lock that names this
// computer is taken over as it stands.
TEST_F(EditLockTest, TakingNeverOverwritesALockFile)
{
    struct Case {
        const char* name;
        QByteArray present;
        Status status;
        QString holder;
        bool held;
    };
    const Case cases[] = {
        {"another machine's", QByteArray("PC-BOB"), Status::Foreign, QStringLiteral("PC-BOB"), false},
        {"an empty one", QByteArray(), Status::Foreign, QString(), false},
        {"the same name in other letter case", QByteArray("pc-anna"), Status::Foreign, QStringLiteral("pc-anna"), false},
        {"this computer's", QByteArray("PC-ANNA"), Status::Held, QStringLiteral("PC-ANNA"), true},
        // A name the code page cannot hold is stored with "?" and still names this computer.
        {"this computer's, stored in the code page", QByteArray("PC-?"), Status::Held, QStringLiteral("PC-?"), true},
    };
    for (const Case& c : cases) {
        put(EditLockFile::pathOf(doc()), c.present);
        HeldLocks locks;
        const QString computer = c.present == "PC-?" ? QStringLiteral("PC-中") : QStringLiteral("PC-ANNA");
        const auto taken = locks.take(doc(), computer);
        EXPECT_EQ(taken.status, c.status) << c.name;
        EXPECT_EQ(taken.holder, c.holder) << c.name;
        EXPECT_EQ(locks.holds(doc()), c.held) << c.name;
        EXPECT_EQ(bytesOf(EditLockFile::pathOf(doc())), c.present) << c.name;
    }
}

TEST_F(EditLockTest, ALockThatCannotBeMadeIsReportedNamingIt)
{
    HeldLocks locks;
    const QString inMissingFolder = dir.filePath(QStringLiteral("gone/Group1.QVI"));
    const auto taken = locks.take(inMissingFolder, QStringLiteral("PC-ANNA"));
    EXPECT_EQ(taken.status, Status::Failed);
    EXPECT_TRUE(taken.error.contains(EditLockFile::pathOf(inMissingFolder))) << taken.error.toStdString();
    EXPECT_FALSE(locks.holds(inMissingFolder));
}

// A release deletes only what the window holds and what still names this computer; the
// documents themselves are not touched.
TEST_F(EditLockTest, ReleaseDeletesOnlyHeldLocksThatStillNameThisComputer)
{
    const QString mine = doc(QStringLiteral("mine.QVI"));
    const QString replaced = doc(QStringLiteral("replaced.QVI"));
    const QString notHeld = doc(QStringLiteral("notheld.QVI"));
    const QString kept = doc(QStringLiteral("kept.QVI"));
    for (const QString& d : {mine, replaced, notHeld, kept})
        put(d, QByteArray("document"));
    QFile::setPermissions(mine, QFileDevice::ReadOwner);
    HeldLocks locks;
    ASSERT_EQ(locks.take(mine, QStringLiteral("PC-ANNA")).status, Status::Held);
    ASSERT_EQ(locks.take(replaced, QStringLiteral("PC-ANNA")).status, Status::Held);
    ASSERT_EQ(locks.take(kept, QStringLiteral("PC-ANNA")).status, Status::Held);
    put(EditLockFile::pathOf(replaced), QByteArray("PC-BOB")); // someone removed ours and took it
    put(EditLockFile::pathOf(notHeld), QByteArray("PC-ANNA"));

    locks.release(QStringLiteral("PC-ANNA"), kept);

    EXPECT_FALSE(QFile::exists(EditLockFile::pathOf(mine)));
    EXPECT_EQ(bytesOf(EditLockFile::pathOf(replaced)), QByteArray("PC-BOB"));
    EXPECT_EQ(bytesOf(EditLockFile::pathOf(notHeld)), QByteArray("PC-ANNA"));
    EXPECT_EQ(bytesOf(EditLockFile::pathOf(kept)), QByteArray("PC-ANNA"));
    EXPECT_TRUE(locks.holds(kept));
    EXPECT_FALSE(locks.holds(mine));
    EXPECT_FALSE(locks.holds(replaced));
    EXPECT_FALSE(QFile::permissions(mine) & (QFileDevice::WriteOwner | QFileDevice::WriteGroup | QFileDevice::WriteOther));
    for (const QString& d : {mine, replaced, notHeld, kept})
        EXPECT_EQ(bytesOf(d), QByteArray("document")) << d.toStdString();
}

} // namespace
