// vellumo-pack: the show author's tool for content archives. main() only
// picks the command by its first argument; each command is its own file.
#include <cstdio>
#include <cstring>

#include "Commands.h"
#include "Diagnostics.h"
#include "OptionReader.h"
#include "OutputTarget.h"

namespace vlo::pack {
namespace {

// Every command of the tool. To add one, write <Name>Command.cpp with its
// run function, declare that function in Commands.h and add a line here.
const Command commands[] = {
    {"new", "SHOW-FOLDER ALBUM-FOLDER [--title TEXT] [--artist TEXT] [--font FONT]",
        "make a complete show from the music files in ALBUM-FOLDER", runNew},
    {"create", "ARCHIVE DIR", "pack every regular file under DIR into ARCHIVE", runCreate},
    {"list", "ARCHIVE", "list the entries of ARCHIVE: name, size, offset", runList},
    {"extract", "ARCHIVE NAME [-o FILE]", "write one entry to FILE (standard output without -o)", runExtract},
    {"check", "[DIR] [-v]", "list every problem of the show in DIR (default: the current folder)", runCheck},
    {"preview", "[DIR] --at SECONDS[,SECONDS...] [-o PREFIX]",
        "render the show screen at those moments to PREFIX-SECONDS.png", runPreview},
};

void printHelp()
{
    std::printf("usage: vellumo-pack COMMAND [ARGUMENTS]\n\ncommands:\n");
    for (const Command& command : commands) {
        std::printf("  vellumo-pack %s %s\n      %s\n", command.name, command.synopsis, command.summary);
    }
    std::printf("\n'vellumo-pack COMMAND --help' shows one command's arguments.\n"
                "Exit status: 0 done, 1 bad input or failure, 2 bad command line.\n");
}

bool isHelp(const char* argument)
{
    return std::strcmp(argument, "--help") == 0 || std::strcmp(argument, "-h") == 0;
}

int dispatch(int argc, char** argv)
{
    if (argc < 2)
        return reportUsage("no command given");
    if (isHelp(argv[1]) || std::strcmp(argv[1], "help") == 0) {
        printHelp();
        return kExitSuccess;
    }
    for (const Command& command : commands) {
        if (std::strcmp(argv[1], command.name) != 0)
            continue;
        const Arguments arguments(argv + 2, argv + argc);
        if (OptionReader::asksForHelp(arguments)) {
            std::printf("usage: vellumo-pack %s %s\n  %s\n", command.name, command.synopsis, command.summary);
            return kExitSuccess;
        }
        return command.run(arguments);
    }
    return reportUsage("unknown command " + inQuotes(argv[1]));
}

} // namespace
} // namespace vlo::pack

int main(int argc, char** argv)
{
    // The same bytes as on every system: extracted entries unchanged, and
    // lines ending in "\n" alone.
    vlo::pack::makeBinary(stdout);
    vlo::pack::makeBinary(stderr);
    return vlo::pack::dispatch(argc, argv);
}
