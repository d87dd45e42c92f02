#pragma once
#include <string>
#include <vector>

namespace vlo {

// What the program's command line asks for: `vellumo [SHOW-FOLDER]`,
// `vellumo --help` or `vellumo --version`.
struct CommandLine {
    enum class Action { Run, Help, Version, Error };
    Action action = Action::Run;
    // Run: the show folder to run in, empty for the current folder.
    std::string folder;
    // Error: one line saying what is wrong with the command line.
    std::string error;
};

// Reads the arguments after the program's name. A folder argument must name
// an existing folder; "--" ends the options, so that a folder whose name
// starts with "-" can be given.
CommandLine parseCommandLine(const std::vector<std::string>& arguments);

// The text `vellumo --help` prints.
std::string usageText();

// The line `vellumo --version` prints.
std::string versionText();

// Exit status for a bad command line.
constexpr int CommandLineErrorStatus = 2;

} // namespace vlo
