#include <cstdio>
#include <filesystem>
#include <string>
#include <system_error>
#include <vector>

#include "platform/Platform.h"
#include "platform/Win32.h"
#include "shell/CommandLine.h"

// The program starts as it would on Windows once the command line has been
// read; -1 from WinMain is exit status 255. With a show folder it runs as if
// started inside it, so every relative path of the show resolves there.
int main(int argc, char** argv)
{
    using vlo::CommandLine;
    vlo::useStartingTerminal();
    const CommandLine line = vlo::parseCommandLine(std::vector<std::string>(argv + 1, argv + argc));
    switch (line.action) {
    case CommandLine::Action::Help:
        std::fputs(vlo::usageText().c_str(), stdout);
        return 0;
    case CommandLine::Action::Version:
        std::fputs(vlo::versionText().c_str(), stdout);
        return 0;
    case CommandLine::Action::Error:
        std::fprintf(stderr, "vellumo: %s\nTry 'vellumo --help'.\n", line.error.c_str());
        return vlo::CommandLineErrorStatus;
    case CommandLine::Action::Run:
        break;
    }
    if (!line.folder.empty()) {
        std::error_code error;
        std::filesystem::current_path(std::filesystem::u8path(line.folder), error);
        if (error) {
            std::fprintf(stderr, "vellumo: cannot enter '%s': %s\n", line.folder.c_str(), error.message().c_str());
            return vlo::CommandLineErrorStatus;
        }
    }
    return WinMain(nullptr, nullptr, nullptr, 0);
}
