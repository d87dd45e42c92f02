#pragma once
// Setting and removing environment variables in tests, on POSIX systems and
// on Windows (which has no setenv).
#include <cstdlib>

namespace vlo::test {

// A null value removes the variable.
inline void setVariable(const char* name, const char* value)
{
#ifdef _WIN32
    _putenv_s(name, value != nullptr ? value : "");
#else
    if (value != nullptr)
        setenv(name, value, 1);
    else
        unsetenv(name);
#endif
}

} // namespace vlo::test
