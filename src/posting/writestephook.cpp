#include "posting/writestephook.h"

namespace posting {

namespace {

WriteStepHook& installedHook()
{
    static WriteStepHook hook;
    return hook;
}

} // namespace

void setWriteStepHook(WriteStepHook hook)
{
    installedHook() = std::move(hook);
}

bool WriteSteps::next()
{
    ++m_step;
    return !installedHook() || installedHook()(m_step);
}

} // namespace posting
