#include "services/readonlyfile.h"

#include <QFile>
#include <QTemporaryDir>
#include <gtest/gtest.h>
#include <unistd.h>

namespace {

TEST(ReadOnlyFile, OnlyAnExistingFileWithoutWritePermissionIsReadOnly)
{
    QTemporaryDir dir;
    const QString file = dir.filePath(QStringLiteral("a.QVI"));
    {
        QFile f(file);
        ASSERT_TRUE(f.open(QIODevice::WriteOnly));
    }
    const struct {
        const char* name;
        QFileDevice::Permissions permissions;
        bool readOnly;
    } cases[] = {
        {"writable", QFileDevice::ReadOwner | QFileDevice::WriteOwner, false},
        {"read only, also for the administrator", QFileDevice::ReadOwner | QFileDevice::ReadGroup, true},
        {"writable by the group only", QFileDevice::ReadOwner | QFileDevice::WriteGroup, ::geteuid() != 0},
    };
    for (const auto& c : cases) {
        QFile::setPermissions(file, c.permissions);
        EXPECT_EQ(services::isReadOnlyFile(file), c.readOnly) << c.name;
    }
    EXPECT_FALSE(services::isReadOnlyFile(dir.filePath(QStringLiteral("missing.QVI"))));
    EXPECT_FALSE(services::isReadOnlyFile(QString()));
}

} // namespace
