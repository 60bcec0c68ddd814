#include "platform/prompts.h"

#include "platform/qtprompts.h"

namespace platform {

namespace {
QtPrompts& qtPrompts()
{
    static QtPrompts instance;
    return instance;
}

Prompts*& installed()
{
    static Prompts* p = nullptr;
    return p;
}
} // namespace

Prompts& prompts()
{
    return installed() ? *installed() : qtPrompts();
}

void setPrompts(Prompts* p)
{
    installed() = p;
}

} // namespace platform
