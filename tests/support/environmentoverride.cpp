// Puts an environment variable back as it was.

#include "support/environmentoverride.h"

#include <QtGlobal>

namespace testsupport {

namespace {

void setOrRemove(const char* name, bool set, const QByteArray& value)
{
    if (set)
        qputenv(name, value);
    else
        qunsetenv(name);
}

} // namespace

EnvironmentOverride::EnvironmentOverride(const char* name, const QByteArray& value)
    : name_(name), wasSet_(qEnvironmentVariableIsSet(name)), old_(qgetenv(name))
{
    setOrRemove(name_, !value.isNull(), value);
}

EnvironmentOverride::~EnvironmentOverride()
{
    setOrRemove(name_, wasSet_, old_);
}

} // namespace testsupport
