// Writes one file through the safe writer and ends: the process a test runs under strace to
// see the order of the writer's system calls.
// Usage: safewritechild <file> <text>; ends with 0 when the write succeeded.

#include "platform/safefile.h"

#include <QByteArray>
#include <QFile>
#include <cstdio>

int main(int argc, char** argv)
{
    if (argc != 3) {
        std::fprintf(stderr, "usage: safewritechild <file> <text>\n");
        return 2;
    }
    const platform::FileResult result =
        platform::writeFileAtomically(QFile::decodeName(argv[1]), QByteArray(argv[2]));
    if (!result.ok)
        std::fprintf(stderr, "%s\n", result.error.toLocal8Bit().constData());
    return result.ok ? 0 : 1;
}
