#pragma once
// A virtual X server (Xvfb) of a screen size of the test's choosing, for
// end-to-end runs that need a screen larger than the shared test display's
// or a display of their own.
#include <fcntl.h>
#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cstdlib>
#include <filesystem>
#include <string>
#include <vector>

#include "support/E2eProgram.h"

namespace vlo::e2e {

// A virtual X server of the given screen size on a free display, for this
// process: DISPLAY names it until the server is gone. Ended by its own
// process id.
class OwnServer {
public:
    // Displays are tried from firstNumber on, up to 60 of them; test programs
    // that may run side by side start from numbers of their own.
    explicit OwnServer(const std::string& screen, int firstNumber = 140)
    {
        for (int n = firstNumber; n < firstNumber + 60 && display.empty(); ++n) {
            const std::string number = std::to_string(n);
            if (!std::filesystem::exists("/tmp/.X11-unix/X" + number)
                && !std::filesystem::exists("/tmp/.X" + number + "-lock"))
                display = ":" + number;
        }
        if (display.empty())
            return;
        std::vector<std::string> arguments = {"Xvfb", display, "-screen", "0", screen, "-noreset", "-nolisten", "tcp"};
        std::vector<char*> argv;
        for (std::string& argument : arguments)
            argv.push_back(argument.data());
        argv.push_back(nullptr);
        pid = fork();
        if (pid == 0) {
            const int quiet = open("/dev/null", O_WRONLY);
            if (quiet >= 0) {
                dup2(quiet, 1);
                dup2(quiet, 2);
            }
            execvp("Xvfb", argv.data());
            _exit(127);
        }
        for (int attempt = 0; attempt < 100 && pid > 0; ++attempt) {
            if (run("xdpyinfo -display " + display + " >/dev/null 2>&1")) {
                ready = true;
                break;
            }
            sleepSeconds(0.1);
        }
        if (!ready)
            return;
        const char* old = std::getenv("DISPLAY");
        hadDisplay = old != nullptr;
        if (hadDisplay)
            oldDisplay = old;
        setenv("DISPLAY", display.c_str(), 1);
    }

    ~OwnServer()
    {
        if (ready) {
            if (hadDisplay)
                setenv("DISPLAY", oldDisplay.c_str(), 1);
            else
                unsetenv("DISPLAY");
        }
        if (pid > 0) {
            kill(pid, SIGTERM);
            waitpid(pid, nullptr, 0);
        }
    }

    OwnServer(const OwnServer&) = delete;
    OwnServer& operator=(const OwnServer&) = delete;

    bool ready = false;
    std::string display;

private:
    pid_t pid = -1;
    bool hadDisplay = false;
    std::string oldDisplay;
};

} // namespace vlo::e2e
