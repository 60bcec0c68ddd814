#include "services/filestamp.h"

#include <QFile>
#include <sys/stat.h>

namespace services {

namespace {

int64_t nanoseconds(const timespec& t)
{
    return int64_t(t.tv_sec) * 1'000'000'000 + t.tv_nsec;
}

} // namespace

std::optional<FileStamp> FileStamp::of(const QString& path)
{
    struct stat info {};
    if (path.isEmpty() || ::stat(QFile::encodeName(path).constData(), &info) != 0 || !S_ISREG(info.st_mode))
        return std::nullopt;
    FileStamp stamp;
    stamp.m_device = uint64_t(info.st_dev);
    stamp.m_inode = uint64_t(info.st_ino);
    stamp.m_size = int64_t(info.st_size);
    stamp.m_modified = nanoseconds(info.st_mtim);
    return stamp;
}

} // namespace services
