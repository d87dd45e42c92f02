#pragma once
// Running a program as an unprivileged user, so that a folder the test owns
// cannot be written by it: the tests run as root, and root writes anywhere.
// The user is "nobody" (65534); the switch is made by setpriv.
#include <sys/stat.h>
#include <unistd.h>

#include <cstdlib>
#include <string>
#include <vector>

namespace vlo::test {

constexpr unsigned NobodyId = 65534;
constexpr const char* Setpriv = "/usr/bin/setpriv";

// The arguments that make setpriv run `binary` as nobody.
inline std::vector<std::string> asNobody(const std::string& binary, const std::vector<std::string>& arguments = {})
{
    std::vector<std::string> all = {
        "--reuid=" + std::to_string(NobodyId), "--regid=" + std::to_string(NobodyId), "--clear-groups", "--", binary};
    all.insert(all.end(), arguments.begin(), arguments.end());
    return all;
}

// Empty when `binary` can be run as nobody here, else why not (the reason a
// test gives when it skips).
inline std::string whyNobodyCannotRun(const std::string& binary)
{
    if (geteuid() != 0)
        return "the test needs root to run the program as another user";
    if (access(Setpriv, X_OK) != 0)
        return std::string(Setpriv) + " is not installed (package util-linux)";
    const std::string probe = std::string(Setpriv) + " --reuid=" + std::to_string(NobodyId)
        + " --regid=" + std::to_string(NobodyId) + " --clear-groups -- test -x '" + binary + "'";
    if (std::system(probe.c_str()) != 0)
        return "user nobody cannot run " + binary + " (a folder on its path is closed to others)";
    return "";
}

// Gives a folder to nobody, closed to everyone else (mode 0700).
inline bool giveToNobody(const std::string& folder)
{
    return chown(folder.c_str(), NobodyId, NobodyId) == 0 && chmod(folder.c_str(), 0700) == 0;
}

} // namespace vlo::test
