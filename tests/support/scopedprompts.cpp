#include "support/scopedprompts.h"

#include <gtest/gtest.h>

namespace testsupport {

ScopedPrompts::ScopedPrompts(Leftovers leftovers)
    : previous_(&platform::prompts())
    , leftovers_(leftovers)
{
    platform::setPrompts(&script_);
}

ScopedPrompts::~ScopedPrompts()
{
    platform::setPrompts(previous_);
    if (leftovers_ == Leftovers::Fail && script_.pendingAnswers() > 0)
        ADD_FAILURE() << script_.pendingAnswers() << " queued prompt answer(s) were never asked for";
}

} // namespace testsupport
