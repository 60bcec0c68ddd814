#pragma once
// The postings the crash test cuts short: a transaction from the own company to a contact
// and a payment from a contact to the own company, each alone or as the host of a share. The
// test lays out the program folder; its child process loads the settings as a start does,
// then posts, or completes a posting left unfinished.

#include <QString>
#include <ostream>

namespace crashtest {

enum class Kind { Transaction, Payment };
// Alone: a single machine. Host: the program hosts a share inside its own folder ("share/").
// User: the program is a user of a host whose share lies in "share/" of its folder too.
enum class Mode { Alone, Host, User };

struct Scenario {
    const char* name;
    Kind kind;
    Mode mode;
};

// gtest names a scenario by its name.
inline void PrintTo(const Scenario& scenario, std::ostream* os)
{
    *os << scenario.name;
}

// Every scenario, by number (the child is told the number).
inline constexpr int ScenarioCount = 6;
extern const Scenario Scenarios[ScenarioCount];

// Lays out the program folder (the current one) as it is before the posting.
bool prepare(const Scenario& scenario);
// Lays out the program folder of another computer, a user of the share of the current
// program folder (a host or user scenario's), whose copy the race child runs.
bool preparePeer(const QString& peerFolder);

// In the child: loads the settings and posts; true when posted.
bool post(const Scenario& scenario);

// The files a posting changes.
int files(const Scenario& scenario);
// The posting's write steps: each file's replacement, the journal written, the journal made
// visible, each rename, the journal's removal.
int writeSteps(const Scenario& scenario);
// The folder of the posting lock and journal.
QString postingFolder(const Scenario& scenario);
// The share of a host or user scenario, and its host file.
QString share();
QString hostFile();

} // namespace crashtest
