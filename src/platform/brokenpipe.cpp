#include "platform/brokenpipe.h"

#include <csignal>

namespace platform {

namespace {

// Catching the signal, rather than ignoring it, has the same effect on the write (it fails
// with EPIPE) but is not inherited by the programs we start: exec resets a caught signal to
// its default, while an ignored one would stay ignored in the office, the help viewer and
// the shell scripts they run.
void brokenPipeCaught(int) {}

} // namespace

void ignoreBrokenPipe()
{
    struct sigaction action {};
    action.sa_handler = brokenPipeCaught;
    sigemptyset(&action.sa_mask);
    action.sa_flags = SA_RESTART;
    ::sigaction(SIGPIPE, &action, nullptr);
}

} // namespace platform
