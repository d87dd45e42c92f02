#pragma once
// PackRunner's process on POSIX systems: posix_spawn with the output in files
// and the memory bounded by an address-space limit or the sanitizer.
#include <cstdio>
#include <string>
#include <vector>

#include <fcntl.h>
#include <spawn.h>
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

#include "support/ScratchDir.h"

namespace vlo::test {

inline PackResult runPack(const std::vector<std::string>& arguments, long limitMb)
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
    std::vector<std::string> variables;
    for (char** variable = environ; *variable != nullptr; ++variable)
        variables.push_back(*variable);
    rlimit previous{};
    getrlimit(RLIMIT_AS, &previous);
    if (limitMb > 0) {
#if defined(__SANITIZE_ADDRESS__)
        std::string options = "ASAN_OPTIONS=";
        for (auto it = variables.begin(); it != variables.end(); ++it) {
            if (it->rfind("ASAN_OPTIONS=", 0) == 0) {
                options = *it + ":";
                variables.erase(it);
                break;
            }
        }
        variables.push_back(options + "hard_rss_limit_mb=" + std::to_string(limitMb)
            + ":max_allocation_size_mb=" + std::to_string(limitMb / 2)
            + ":allocator_may_return_null=0:exitcode=" + std::to_string(kMemoryBoundExceeded));
#else
        // The child inherits the limit; this process needs no more meanwhile.
        rlimit bounded = previous;
        bounded.rlim_cur = rlim_t(limitMb) << 20;
        setrlimit(RLIMIT_AS, &bounded);
#endif
    }
    std::vector<char*> environment;
    for (std::string& variable : variables)
        environment.push_back(&variable[0]);
    environment.push_back(nullptr);
    PackResult result;
    pid_t child = 0;
    const int spawned = posix_spawn(&child, program.c_str(), &actions, nullptr, argv.data(), environment.data());
    if (limitMb > 0)
        setrlimit(RLIMIT_AS, &previous);
    if (spawned == 0) {
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
