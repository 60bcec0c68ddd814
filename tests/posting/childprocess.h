#pragma once
// A child process of the posting tests (a copy of the program posting, holding the lock, or
// completing), with its output and error output in files, and environment variables of its
// own. The tests stop, resume and kill it as a machine that sleeps or dies would.

#include <QByteArray>
#include <QString>
#include <QStringList>
#include <string>
#include <sys/types.h>
#include <utility>
#include <vector>

namespace postingtest {

class ChildProcess {
public:
    using Environment = std::vector<std::pair<QByteArray, QByteArray>>;

    // Starts the program; `output` names the file of its standard output ("<output>.err" its
    // errors). A child that could not be started has no pid.
    static ChildProcess start(const char* program, const QStringList& arguments, const QString& output,
                              const Environment& environment = {});

    pid_t pid() const { return m_pid; }
    // Waits until it has ended; its wait status.
    int wait();
    // Whether it has ended, without waiting (it is still to be waited for).
    bool ended() const;
    // Waits until it has stopped itself (true) or ended (false, with its wait status kept).
    bool waitStopped();
    void resume() const;
    void kill() const;

    // Whether it ended with exit status `code`, and how it ended, for a message.
    bool exited(int code) const;
    std::string describe() const;
    // Its error output, and its output's lines.
    std::string errors() const;
    QStringList lines() const;

private:
    pid_t m_pid = 0;
    int m_status = 0;
    QString m_output;
};

} // namespace postingtest
