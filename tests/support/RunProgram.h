#pragma once
// Runs a program in a given folder with a changed environment and collects
// its exit status and standard error, for tests of the built binaries.
//
//   vlo::test::ProgramRun run = vlo::test::runProgram(
//       VLO_BINARY_DIR "/vellumo", scratch.path(), {"DISPLAY"}, {}, 60);
//   EXPECT_EQ(run.exitStatus, 255);

#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <iterator>
#include <string>
#include <thread>
#include <utility>
#include <vector>

namespace vlo::test {

struct ProgramRun {
    bool started = false;
    bool timedOut = false;
    // The exit status (0..255), or -1 when the program was killed by a signal.
    int exitStatus = -1;
    std::string standardError;
    std::string standardOutput;
};

// Runs program with `arguments` in folder with the variables in unset removed
// from the environment and those in set added; kills it after timeoutSeconds.
// Standard output and standard error are kept. Both go through files beside the test's own scratch files
// (errorFolder, default: folder).
inline ProgramRun runProgram(const std::string& program, const std::string& folder,
    const std::vector<std::string>& unset, const std::vector<std::pair<std::string, std::string>>& set,
    int timeoutSeconds, const std::vector<std::string>& arguments = {}, const std::string& errorFolder = "")
{
    ProgramRun run;
    const std::string captureFolder = errorFolder.empty() ? folder : errorFolder;
    const std::string errorFile = captureFolder + "/.stderr-of-run";
    const std::string outputFile = captureFolder + "/.stdout-of-run";
    std::vector<std::string> argumentCopies;
    argumentCopies.push_back(program);
    argumentCopies.insert(argumentCopies.end(), arguments.begin(), arguments.end());
    std::vector<char*> argv;
    for (std::string& argument : argumentCopies)
        argv.push_back(argument.data());
    argv.push_back(nullptr);
    const pid_t child = fork();
    if (child < 0)
        return run;
    if (child == 0) {
        if (chdir(folder.c_str()) != 0)
            _exit(127);
        for (const std::string& name : unset)
            unsetenv(name.c_str());
        for (const auto& variable : set)
            setenv(variable.first.c_str(), variable.second.c_str(), 1);
        if (freopen(errorFile.c_str(), "w", stderr) == nullptr || freopen(outputFile.c_str(), "w", stdout) == nullptr)
            _exit(127);
        execv(program.c_str(), argv.data());
        _exit(127);
    }
    run.started = true;
    int status = 0;
    const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(timeoutSeconds);
    // Supervises the child only; nothing here depends on how fast it is.
    while (waitpid(child, &status, WNOHANG) == 0) {
        if (std::chrono::steady_clock::now() > deadline) {
            run.timedOut = true;
            kill(child, SIGKILL);
            waitpid(child, &status, 0);
            break;
        }
        std::this_thread::sleep_for(std::chrono::milliseconds(20));
    }
    if (WIFEXITED(status))
        run.exitStatus = WEXITSTATUS(status);
    std::ifstream in(errorFile, std::ios::binary);
    run.standardError.assign(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
    in.close();
    std::ifstream out(outputFile, std::ios::binary);
    run.standardOutput.assign(std::istreambuf_iterator<char>(out), std::istreambuf_iterator<char>());
    out.close();
    std::remove(errorFile.c_str());
    std::remove(outputFile.c_str());
    return run;
}

} // namespace vlo::test
