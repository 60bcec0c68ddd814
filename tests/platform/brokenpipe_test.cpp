// A write into a connection whose reader has gone fails with EPIPE and the process goes on;
// without the call the same write ends the process. Each case runs in a child process, so a
// process ended by the signal is seen from outside.

#include "platform/brokenpipe.h"

#include <gtest/gtest.h>

#include <cerrno>
#include <csignal>
#include <sys/socket.h>
#include <sys/wait.h>
#include <unistd.h>

namespace {

enum class Connection { Pipe, Socket };

// In the child: a connection whose reading end is closed, then one write into it. Exit
// status 0 when the write failed with EPIPE, 1 for any other outcome.
[[noreturn]] void writeIntoClosedConnection(Connection kind)
{
    int ends[2];
    const int made = kind == Connection::Pipe ? ::pipe(ends) : ::socketpair(AF_UNIX, SOCK_STREAM, 0, ends);
    if (made != 0)
        ::_exit(1);
    const int reader = kind == Connection::Pipe ? ends[0] : ends[1];
    const int writer = kind == Connection::Pipe ? ends[1] : ends[0];
    ::close(reader);
    const char byte = 'x';
    const ssize_t written = ::write(writer, &byte, 1);
    ::_exit(written == -1 && errno == EPIPE ? 0 : 1);
}

// Runs `body` in a child process and returns its wait status.
template <typename Body>
int inChild(Body body)
{
    const pid_t pid = ::fork();
    if (pid == 0)
        body();
    int status = 0;
    while (::waitpid(pid, &status, 0) == -1 && errno == EINTR) {
    }
    return status;
}

bool endedBySigpipe(int status)
{
    return WIFSIGNALED(status) && WTERMSIG(status) == SIGPIPE;
}

} // namespace

TEST(BrokenPipe, AWriteIntoAClosedConnectionFailsWithEpipeAndTheProcessGoesOn)
{
    for (const Connection kind : {Connection::Pipe, Connection::Socket}) {
        const char* name = kind == Connection::Pipe ? "pipe" : "socket pair";
        const int unprotected = inChild([kind] {
            ::signal(SIGPIPE, SIG_DFL);
            writeIntoClosedConnection(kind);
        });
        EXPECT_TRUE(endedBySigpipe(unprotected)) << name << ": without the call the write ends the process";

        const int protectedStatus = inChild([kind] {
            ::signal(SIGPIPE, SIG_DFL);
            platform::ignoreBrokenPipe();
            writeIntoClosedConnection(kind);
        });
        EXPECT_TRUE(WIFEXITED(protectedStatus) && WEXITSTATUS(protectedStatus) == 0)
            << name << ": wait status " << protectedStatus;
    }
}

// A program started afterwards (the office, a help viewer, the shell scripts they run)
// begins with the usual behaviour: a SIGPIPE still ends it.
TEST(BrokenPipe, ProgramsStartedAfterwardsKeepTheUsualBehaviour)
{
    const int status = inChild([] {
        platform::ignoreBrokenPipe();
        ::execl("/bin/sh", "sh", "-c", "kill -PIPE $$; exit 0", static_cast<char*>(nullptr));
        ::_exit(1);
    });
    EXPECT_TRUE(endedBySigpipe(status)) << "wait status " << status;
}
