#include "support/stracecalls.h"

#include <QRegularExpression>
#include <QStringList>

namespace testsupport {

std::vector<StraceCall> straceCalls(const QByteArray& log)
{
    static const QRegularExpression line(QStringLiteral(R"(^(?:\d+\s+)?(\w+)\((.*)\)\s+=\s+(-?\d+))"));
    static const QRegularExpression descriptor(QStringLiteral(R"(^\d+<([^>]*)>)"));
    static const QRegularExpression quoted(QStringLiteral(R"re("([^"]*)")re"));
    std::vector<StraceCall> calls;
    for (const QByteArray& text : log.split('\n')) {
        const auto match = line.match(QString::fromUtf8(text));
        if (!match.hasMatch() || match.captured(3).toLongLong() < 0)
            continue;
        StraceCall call{match.captured(1), {}, {}};
        const QString arguments = match.captured(2);
        if (call.name.startsWith(QLatin1String("rename")) || call.name.startsWith(QLatin1String("link"))) {
            QStringList names;
            for (auto it = quoted.globalMatch(arguments); it.hasNext();)
                names << it.next().captured(1);
            if (names.size() < 2)
                continue;
            call.from = names[names.size() - 2];
            call.path = names.last();
        } else if (const auto fd = descriptor.match(arguments); fd.hasMatch()) {
            call.path = fd.captured(1);
        }
        calls.push_back(call);
    }
    return calls;
}

bool isFlush(const StraceCall& call)
{
    return call.name == QLatin1String("fsync") || call.name == QLatin1String("fdatasync");
}

std::string listed(const std::vector<StraceCall>& calls)
{
    std::string text;
    for (const StraceCall& call : calls)
        text += "  " + call.name.toStdString() + " " + (call.from.isEmpty() ? "" : call.from.toStdString() + " -> ")
            + call.path.toStdString() + "\n";
    return text;
}

} // namespace testsupport
