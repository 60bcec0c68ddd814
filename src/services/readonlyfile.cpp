#include "services/readonlyfile.h"

#include <QFile>
#include <sys/stat.h>
#include <unistd.h>

namespace services {

bool isReadOnlyFile(const QString& path)
{
    const QByteArray name = QFile::encodeName(path);
    struct stat info {};
    if (path.isEmpty() || ::stat(name.constData(), &info) != 0 || !S_ISREG(info.st_mode))
        return false;
    if ((info.st_mode & (S_IWUSR | S_IWGRP | S_IWOTH)) == 0)
        return true;
    return ::access(name.constData(), W_OK) != 0;
}

} // namespace services
