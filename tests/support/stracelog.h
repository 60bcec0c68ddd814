#pragma once
// The calls a child process made, as strace recorded them with the paths of their file
// descriptors (-y): how the tests see in which order a writer hands its work to the disk.

#include <QByteArray>
#include <QRegularExpression>
#include <QString>
#include <QStringList>
#include <string>
#include <vector>

namespace testsupport {

struct TracedCall {
    QString name;      // write, fsync, syncfs, rename, renameat2, ...
    QString path;      // the first file descriptor's path; for a rename or link, the new name
    QString from;      // for a rename or link, the old name
    QString arguments; // as strace wrote them
};

// The calls of a strace log written with -y: "write(3</dir/file>, ...) = 5",
// "rename(\"/dir/old\", \"/dir/new\") = 0". Failed calls are left out.
inline std::vector<TracedCall> tracedCalls(const QByteArray& log)
{
    static const QRegularExpression line(QStringLiteral(R"(^(?:\d+\s+)?(\w+)\((.*)\)\s+=\s+(-?\d+))"));
    static const QRegularExpression descriptor(QStringLiteral(R"(^\d+<([^>]*)>)"));
    static const QRegularExpression quoted(QStringLiteral(R"re("([^"]*)")re"));
    std::vector<TracedCall> calls;
    for (const QByteArray& text : log.split('\n')) {
        const auto match = line.match(QString::fromUtf8(text));
        if (!match.hasMatch() || match.captured(3).toLongLong() < 0)
            continue;
        TracedCall call{match.captured(1), {}, {}, match.captured(2)};
        if (call.name.startsWith(QLatin1String("rename")) || call.name.startsWith(QLatin1String("link"))) {
            QStringList names;
            for (auto it = quoted.globalMatch(call.arguments); it.hasNext();)
                names << it.next().captured(1);
            if (names.size() < 2)
                continue;
            call.from = names[names.size() - 2];
            call.path = names.last();
        } else if (const auto fd = descriptor.match(call.arguments); fd.hasMatch()) {
            call.path = fd.captured(1);
        }
        calls.push_back(call);
    }
    return calls;
}

inline bool isFlush(const TracedCall& call)
{
    return call.name == QLatin1String("fsync") || call.name == QLatin1String("fdatasync");
}

// The calls, one a line, for a failure's message.
inline std::string listed(const std::vector<TracedCall>& calls)
{
    std::string text;
    for (const TracedCall& call : calls)
        text += "  " + call.name.toStdString() + " " + (call.from.isEmpty() ? "" : call.from.toStdString() + " -> ")
            + call.path.toStdString() + "\n";
    return text;
}

} // namespace testsupport
