#pragma once
#include <string>
#include <vector>

namespace vlo::pack {

// The arguments after the command's name.
using Arguments = std::vector<std::string>;

// One command of the tool. Each lives in its own <Name>Command.cpp and is
// listed once in the table in main.cpp.
struct Command {
    const char* name;
    // Argument synopsis shown after "vellumo-pack <name>".
    const char* synopsis;
    // One line on what the command does.
    const char* summary;
    // Runs the command; returns the exit status (see Diagnostics.h).
    int (*run)(const Arguments& arguments);
};

int runCreate(const Arguments& arguments);
int runList(const Arguments& arguments);
int runExtract(const Arguments& arguments);
int runCheck(const Arguments& arguments);
int runPreview(const Arguments& arguments);
int runNew(const Arguments& arguments);

} // namespace vlo::pack
