#include "shell/CommandLine.h"

#include <filesystem>
#include <system_error>

namespace vlo {

namespace {

constexpr const char* ArchiveFileName = "data.zuo";

CommandLine failure(const std::string& error)
{
    CommandLine line;
    line.action = CommandLine::Action::Error;
    line.error = error;
    return line;
}

CommandLine runIn(const std::string& folder)
{
    if (folder.empty())
        return failure("the show folder is an empty name");
    // Arguments are UTF-8 (on Windows the program's code page says so).
    const std::filesystem::path path = std::filesystem::u8path(folder);
    std::error_code error;
    const std::filesystem::file_status status = std::filesystem::status(path, error);
    if (status.type() == std::filesystem::file_type::not_found)
        return failure("'" + folder + "' does not exist");
    if (error)
        return failure("'" + folder + "' cannot be read: " + error.message());
    CommandLine line;
    // The show's archive itself (a file manager opening data.zuo) names
    // the folder that holds it.
    if (status.type() == std::filesystem::file_type::regular && path.filename() == ArchiveFileName) {
        line.folder = path.has_parent_path() ? path.parent_path().u8string() : std::string(".");
        return line;
    }
    if (status.type() != std::filesystem::file_type::directory)
        return failure("'" + folder + "' is not a folder; give the folder that holds data.zuo");
    line.folder = folder;
    return line;
}

} // namespace

CommandLine parseCommandLine(const std::vector<std::string>& arguments)
{
    if (arguments.empty())
        return CommandLine();
    const std::string& first = arguments[0];
    if (first == "--") {
        if (arguments.size() != 2)
            return failure(arguments.size() < 2 ? "no show folder after '--'" : "more than one show folder given");
        return runIn(arguments[1]);
    }
    if (arguments.size() > 1)
        return failure("more than one argument given");
    if (first == "--help" || first == "-h") {
        CommandLine line;
        line.action = CommandLine::Action::Help;
        return line;
    }
    if (first == "--version") {
        CommandLine line;
        line.action = CommandLine::Action::Version;
        return line;
    }
    if (first.size() > 1 && first[0] == '-')
        return failure("unknown option '" + first + "'");
    return runIn(first);
}

std::string usageText()
{
    return "usage: vellumo [SHOW-FOLDER]\n"
           "       vellumo --help | --version\n"
           "\n"
           "Runs the show in SHOW-FOLDER (default: the current folder): the archive\n"
           "data.zuo and the music files beside it; SHOW-FOLDER/data.zuo names it too.\n"
           "The folder may be read-only.\n"
           "Space plays or pauses, Right and Left step through the tracks.\n"
           "Escape quits once the closing credits have played; a second Escape quits\n"
           "at once.\n"
           "\n"
           "  --help     print this help and exit\n"
           "  --version  print the version and exit\n"
           "\n"
           "Exit status: 0 after a show, 2 for a bad command line, 255 when the show\n"
           "cannot start.\n";
}

std::string versionText()
{
    return std::string("vellumo ") + VLO_VERSION + "\n";
}

} // namespace vlo
