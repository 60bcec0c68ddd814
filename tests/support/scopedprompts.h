#pragma once
// Installs a ScriptedPrompts for the life of a test scope and puts the previous prompts
// back afterwards. By default it also fails the test when queued answers were never used,
// which is how a prompt that should have appeared but did not is caught.

#include "support/scriptedprompts.h"

namespace testsupport {

class ScopedPrompts {
public:
    enum class Leftovers { Fail, Allow };

    explicit ScopedPrompts(Leftovers leftovers = Leftovers::Fail);
    ~ScopedPrompts();
    ScopedPrompts(const ScopedPrompts&) = delete;
    ScopedPrompts& operator=(const ScopedPrompts&) = delete;

    ScriptedPrompts* operator->() { return &script_; }
    ScriptedPrompts& script() { return script_; }

private:
    ScriptedPrompts script_;
    platform::Prompts* previous_;
    Leftovers leftovers_;
};

} // namespace testsupport
