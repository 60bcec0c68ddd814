#pragma once
// The postings the crash test cuts short: a transaction from the own company to a contact
// and a payment from a contact to the own company, each alone or as the host of a share. The
// test lays out the program folder; its child process loads the settings as a start does,
// then posts, or completes a posting left unfinished.

#include <QString>
#include <ostream>

namespace crashtest {

enum class Kind { Transaction, Payment };

struct Scenario {
    const char* name;
    Kind kind;
    bool host; // the program hosts a share inside its own folder
};

// gtest names a scenario by its name.
inline void PrintTo(const Scenario& scenario, std::ostream* os)
{
    *os << scenario.name;
}

// Every scenario, by number (the child is told the number).
inline constexpr int ScenarioCount = 4;
extern const Scenario Scenarios[ScenarioCount];

// Lays out the program folder (the current one) as it is before the posting.
bool prepare(const Scenario& scenario);

// In the child: loads the settings and posts; true when posted.
bool post(const Scenario& scenario);

// The files a posting changes.
int files(const Scenario& scenario);
// The posting's write steps: each file's replacement, the journal written, the journal made
// visible, each rename, the journal's removal.
int writeSteps(const Scenario& scenario);
// The folder of the posting lock and journal.
QString postingFolder(const Scenario& scenario);

} // namespace crashtest
