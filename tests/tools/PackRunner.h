#pragma once
// Runs the built vellumo-pack with arguments and collects its exit status,
// standard output and standard error.
#include <cstdio>
#include <string>
#include <vector>

#include <fcntl.h>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

#include "support/ScratchDir.h"

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

inline PackResult runPack(const std::vector<std::string>& arguments)
{
    static int runs = 0;
    ScratchDir capture("packrun");
    const std::string outPath = capture.path("out" + std::to_string(runs));
    const std::string errPath = capture.path("err" + std::to_string(runs++));

    const std::string program = VLO_BINARY_DIR "/vellumo-pack";
    std::vector<char*> argv;
    argv.push_back(const_cast<char*>(program.c_str()));
    for (const std::string& argument : arguments)
        argv.push_back(const_cast<char*>(argument.c_str()));
    argv.push_back(nullptr);

    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    posix_spawn_file_actions_addopen(&actions, 0, "/dev/null", O_RDONLY, 0);
    posix_spawn_file_actions_addopen(&actions, 1, outPath.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0644);
    posix_spawn_file_actions_addopen(&actions, 2, errPath.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0644);
    PackResult result;
    pid_t child = 0;
    if (posix_spawn(&child, program.c_str(), &actions, nullptr, argv.data(), environ) == 0) {
        int waitStatus = 0;
        if (waitpid(child, &waitStatus, 0) == child && WIFEXITED(waitStatus))
            result.status = WEXITSTATUS(waitStatus);
    } else {
        result.err = "could not start " + program;
    }
    posix_spawn_file_actions_destroy(&actions);
    result.out = readFile(outPath);
    result.err += readFile(errPath);
    return result;
}

} // namespace vlo::test
