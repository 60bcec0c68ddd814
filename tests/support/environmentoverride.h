#pragma once
// Sets or removes an environment variable for the life of a scope and puts back what was
// there before (a variable that was not set is removed again), however the scope is left.

#include <QByteArray>

namespace testsupport {

class EnvironmentOverride {
public:
    // A null value removes the variable for the scope.
    EnvironmentOverride(const char* name, const QByteArray& value);
    ~EnvironmentOverride();
    EnvironmentOverride(const EnvironmentOverride&) = delete;
    EnvironmentOverride& operator=(const EnvironmentOverride&) = delete;

private:
    const char* name_;
    bool wasSet_;
    QByteArray old_;
};

} // namespace testsupport
