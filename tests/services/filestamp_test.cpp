#include "services/filestamp.h"

#include "platform/safefile.h"

#include <QDateTime>
#include <QFile>
#include <QTemporaryDir>
#include <gtest/gtest.h>

namespace {

using services::FileStamp;

class FileStampTest : public ::testing::Test {
protected:
    void SetUp() override { ASSERT_TRUE(platform::writeFileAtomically(file, "Contact;100\r\n")); }

    QTemporaryDir dir;
    const QString file = dir.filePath(QStringLiteral("Clients.QVC"));
};

TEST_F(FileStampTest, OnlyAFileHasAStamp)
{
    EXPECT_TRUE(FileStamp::of(file));
    EXPECT_FALSE(FileStamp::of(dir.filePath(QStringLiteral("missing.QVC"))));
    EXPECT_FALSE(FileStamp::of(dir.path()));
    EXPECT_FALSE(FileStamp::of(QString()));
}

TEST_F(FileStampTest, EveryWriteChangesItAndNothingElseDoes)
{
    const auto before = FileStamp::of(file);
    EXPECT_EQ(FileStamp::of(file), before);

    QFile::setPermissions(file, QFileDevice::ReadOwner);
    QFile::setPermissions(file, QFileDevice::ReadOwner | QFileDevice::WriteOwner);
    EXPECT_EQ(FileStamp::of(file), before) << "permissions only";

    // The same bytes, replaced the way every writer of the program replaces a file.
    ASSERT_TRUE(platform::writeFileAtomically(file, "Contact;100\r\n"));
    const auto replaced = FileStamp::of(file);
    EXPECT_NE(replaced, before) << "replaced";

    // Written in place to the same size: the modification time tells it.
    const QDateTime earlier = QDateTime::currentDateTimeUtc().addSecs(-3600);
    {
        QFile f(file);
        ASSERT_TRUE(f.open(QIODevice::ReadWrite));
        f.write("Contact;200\r\n");
        f.flush();
        ASSERT_TRUE(f.setFileTime(earlier, QFileDevice::FileModificationTime));
    }
    const auto rewritten = FileStamp::of(file);
    EXPECT_NE(rewritten, replaced) << "rewritten in place";

    // Added to in place, with the same modification time: the size tells it.
    {
        QFile f(file);
        ASSERT_TRUE(f.open(QIODevice::Append));
        f.write("Another;5\r\n");
        f.flush();
        ASSERT_TRUE(f.setFileTime(earlier, QFileDevice::FileModificationTime));
    }
    EXPECT_NE(FileStamp::of(file), rewritten) << "added to";
}

} // namespace
