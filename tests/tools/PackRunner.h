#pragma once
// Runs the built vellumo-pack with arguments and collects its exit status,
// standard output and standard error.
#include <string>
#include <vector>

namespace vlo::test {

struct PackResult {
    int status = -1;
    std::string out;
    std::string err;
};

// The arguments and results, as they would be typed, for failure messages.
inline std::string describeRun(const std::vector<std::string>& arguments, const PackResult& result)
{
    std::string text = "vellumo-pack";
    for (const std::string& argument : arguments)
        text += " '" + argument + "'";
    return text + "\n  exit status " + std::to_string(result.status) + "\n  stderr: " + result.err;
}

// The exit status a sanitizer report gives the program when its memory is
// bounded: apart from every status the program gives itself.
constexpr int kMemoryBoundExceeded = 66;

// Runs with the memory the program may take bounded to about limitMb, so that
// a regression fails the test instead of taking the machine. Under
// AddressSanitizer (whose shadow memory rules out an address-space limit) the
// sanitizer enforces it: any single allocation above half the limit, or a
// resident size above the limit, ends the program with kMemoryBoundExceeded.
// Without it, the address space is limited (on Windows, a job object
// bounds the process's memory) and an allocation past it fails.
inline PackResult runPack(const std::vector<std::string>& arguments, long limitMb);

inline PackResult runPack(const std::vector<std::string>& arguments)
{
    return runPack(arguments, 0);
}

} // namespace vlo::test

// How the program is started differs by system.
#ifdef _WIN32
#include "tools/windows/PackProcess.h"
#else
#include "tools/posix/PackProcess.h"
#endif
