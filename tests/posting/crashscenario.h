#pragma once
// The postings the crash test cuts short: a transaction from the own company to a contact
// and a payment from a contact to the own company, each alone or as the host of a share. The
// test lays out the program folder; its child process loads the settings as a start does,
// then posts, or completes a posting left unfinished.

#include <QString>

namespace crashtest {

enum class Kind { Transaction, Payment };

struct Scenario {
    const char* name;
    Kind kind;
    bool host; // the program hosts a share inside its own folder
};

// Every scenario, by number (the child is told the number).
inline constexpr int ScenarioCount = 4;
extern const Scenario Scenarios[ScenarioCount];

// Lays out the program folder (the current one) as it is before the posting.
bool prepare(const Scenario& scenario);

// In the child: loads the settings and posts; true when posted.
bool post(const Scenario& scenario);

// The posting's write steps: the journal, each file, the journal's removal.
int writeSteps(const Scenario& scenario);

} // namespace crashtest
