#pragma once
// A write into a connection whose other end has gone (the office that died mid-call, a
// closed pipe) must fail as an error the caller handles, not end the whole process.

namespace platform {

// Every main calls this first. From then on such a write returns EPIPE instead of raising
// SIGPIPE's default end of the process. Programs started afterwards begin with the usual
// SIGPIPE behaviour.
void ignoreBrokenPipe();

} // namespace platform
