#pragma once
// The write steps of a posting, counted from 1 in each commit or completion: the journal,
// then each file, then the journal's removal; and each removal of the sweep of dead
// replacements. Tests stop a posting at a chosen step (a child
// process kills itself there) or make the step fail as a failed write would; the program
// itself installs nothing.

#include <functional>

namespace posting {

// Called before each write step with its number; false makes that step fail.
using WriteStepHook = std::function<bool(int step)>;

// Installs the hook (tests); an empty function removes it.
void setWriteStepHook(WriteStepHook hook);

// Counts the steps of one commit or completion and asks the hook about each.
class WriteSteps {
public:
    // True when the next step may go on.
    bool next();

private:
    int m_step = 0;
};

} // namespace posting
