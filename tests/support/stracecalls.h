#pragma once
// The system calls of a child process as strace recorded them (run with -y, so that each file
// descriptor shows its path): the order in which a writer hands its work to the disk, seen
// from outside.

#include <QByteArray>
#include <QString>
#include <string>
#include <vector>

namespace testsupport {

struct StraceCall {
    QString name; // write, fsync, fdatasync, rename, renameat, renameat2, link, linkat, ...
    QString path; // the file descriptor's path; for a rename or link, the new name
    QString from; // for a rename or link, the old name
};

// The calls of a strace log written with -y: "write(3</dir/file>, ...) = 5",
// "rename(\"/dir/old\", \"/dir/new\") = 0". Failed calls are left out.
std::vector<StraceCall> straceCalls(const QByteArray& log);

bool isFlush(const StraceCall& call);

// One line per call, for a failure message.
std::string listed(const std::vector<StraceCall>& calls);

} // namespace testsupport
