// vellumo-pack extract ARCHIVE NAME [-o FILE]: writes the bytes of one entry
// to FILE, or to standard output. The entry that counts is the last record of
// that name, as the viewer reads it.
#include <cerrno>
#include <cstdio>
#include <cstring>
#include <filesystem>

#include "ArchiveReader.h"
#include "Commands.h"
#include "Diagnostics.h"
#include "OptionReader.h"
#include "OutputFile.h"

namespace vlo::pack {

namespace {

struct ExtractOptions {
    std::string archive;
    std::string name;
    std::string output;
    bool toFile = false;
};

// ARCHIVE and NAME, and "-o FILE" anywhere among them.
bool parseOptions(const Arguments& arguments, ExtractOptions& options, std::string& error)
{
    OptionReader reader({{'o', nullptr, "a FILE"}});
    if (!reader.read("extract", arguments, error))
        return false;
    for (const GivenOption& given : reader.given()) {
        if (options.toFile) {
            error = "extract: -o given twice";
            return false;
        }
        options.toFile = true;
        options.output = given.value;
    }
    const Arguments& positional = reader.operands();
    if (positional.size() != 2) {
        error = "extract: expected ARCHIVE NAME [-o FILE], got " + std::to_string(positional.size()) + " names";
        return false;
    }
    options.archive = positional[0];
    options.name = positional[1];
    return true;
}

} // namespace

int runExtract(const Arguments& arguments)
{
    ExtractOptions options;
    std::string error;
    if (!parseOptions(arguments, options, error))
        return reportUsage(error);

    ArchiveReader archive;
    if (!archive.open(options.archive, error))
        return reportError("extract: " + error);
    const ArchiveRecord* record = archive.find(options.name);
    if (!record) {
        std::string line = "extract: " + inQuotes(options.archive) + ": no entry named " + inQuotes(options.name);
        if (!archive.directory().complete())
            line += " (the directory is damaged: " + archive.directory().describe() + ")";
        return reportError(line);
    }
    const std::string problem = archive.dataProblem(*record);
    if (!problem.empty())
        return reportError("extract: " + inQuotes(options.archive) + ": " + problem);

    if (!options.toFile) {
        if (!archive.copyEntry(*record, stdout, error))
            return reportError("extract: " + error);
        if (std::fflush(stdout) != 0)
            return reportError("extract: cannot write standard output: " + std::string(std::strerror(errno)));
        return kExitSuccess;
    }

    std::error_code status;
    if (std::filesystem::equivalent(
            std::filesystem::u8path(options.output), std::filesystem::u8path(options.archive), status))
        return reportError("extract: " + inQuotes(options.output) + ": is the archive itself");
    OutputFile file;
    if (!file.open(options.output, error) || !archive.copyEntry(*record, file.stream(), error) || !file.commit(error))
        return reportError("extract: " + error);
    return kExitSuccess;
}

} // namespace vlo::pack
