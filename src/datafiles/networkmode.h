#pragma once
// The three network modes: this machine alone, the host of a shared data folder, or a user
// of another machine's host.

namespace datafiles {

enum class NetworkMode { SingleMachine, Host, User };

} // namespace datafiles
