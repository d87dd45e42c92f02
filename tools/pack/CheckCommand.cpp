// vellumo-pack check [DIR] [-v]: finds everything in a show folder that the
// viewer would silently get wrong (a damaged archive, a configuration it
// refuses or reads differently from how it looks, pictures that are missing,
// do not decode or do not fit, music that does not play, entries nothing
// uses) and lists each problem on its own line, then a summary.
// Exit status: 0 no errors (warnings allowed), 1 errors, 2 could not run.
#include <cstdio>
#include <filesystem>
#include <map>
#include <set>

#include "CheckReport.h"
#include "Commands.h"
#include "ConfigLint.h"
#include "Diagnostics.h"
#include "MusicCheck.h"
#include "OptionReader.h"
#include "PictureCheck.h"
#include "ScratchFolder.h"
#include "ScreenPictures.h"
#include "ShowArchive.h"

namespace vlo::pack {

namespace {

const char kArchiveName[] = "data.zuo";
const char kConfigName[] = "Vellumo.ini";

struct CheckOptions {
    std::string folder = ".";
    bool verbose = false;
};

bool parseOptions(const Arguments& arguments, CheckOptions& options, std::string& error)
{
    OptionReader reader({{'v', "verbose", nullptr}});
    if (!reader.read("check", arguments, error))
        return false;
    options.verbose = !reader.given().empty();
    const Arguments& positional = reader.operands();
    if (positional.size() > 1) {
        error = "check: expected at most one DIR, got " + std::to_string(positional.size());
        return false;
    }
    if (!positional.empty())
        options.folder = positional[0];
    return true;
}

// The check could not look at the show at all.
int cannotRun(const std::string& line)
{
    std::fprintf(stderr, "vellumo-pack: check: %s\n", line.c_str());
    return kExitUsage;
}

std::string caseHint(const ShowArchive& archive, const std::string& name)
{
    const std::string other = archive.nameDifferingInCase(name);
    return other.empty() ? std::string() : " (there is " + inQuotes(other) + ": names are case-sensitive)";
}

void checkArchive(const ShowArchive& archive, CheckReport& report)
{
    const ArchiveDirectory& directory = archive.reader().directory();
    if (!directory.complete()) {
        const size_t count = directory.records.size();
        report.error(kArchiveName,
            directory.describe() + "; the viewer uses only the " + std::to_string(count)
                + (count == 1 ? " record" : " records") + " before it");
    }
    std::map<std::string, int64_t> firstRecord;
    for (const ArchiveRecord& record : directory.records) {
        const std::string problem = archive.reader().dataProblem(record);
        if (!problem.empty())
            report.error(kArchiveName, problem + "; the viewer extracts only the bytes the file holds");
        const auto earlier = firstRecord.emplace(record.name, record.position);
        if (!earlier.second)
            report.warning(kArchiveName,
                "entry " + inQuotes(record.name) + " appears again in the record at byte "
                    + std::to_string(record.position) + " (first at byte " + std::to_string(earlier.first->second)
                    + "); the later record wins");
    }
    report.info(kArchiveName,
        std::to_string(directory.records.size()) + " records, " + std::to_string(archive.reader().fileSize())
            + " bytes");
}

ConfigLintResult checkConfig(ShowArchive& archive, const std::string& scratch, CheckReport& report)
{
    const ArchiveRecord* record = archive.find(kConfigName);
    if (record == nullptr) {
        report.error(kArchiveName,
            std::string("no entry 'Vellumo.ini'") + caseHint(archive, kConfigName)
                + ": the viewer stops with \"Error reading main config file: Vellumo.ini!\"");
        return ConfigLintResult();
    }
    archive.markUsed(kConfigName);
    ConfigLintResult lint = lintConfig(archive.bytesOf(*record), scratch);
    for (const ConfigProblem& problem : lint.problems) {
        if (problem.severity == Severity::Error)
            report.error(configPlace(problem.place), problem.text);
        else
            report.warning(configPlace(problem.place), problem.text);
    }
    return lint;
}

void checkPictures(
    ShowArchive& archive, const ConfigLintResult& config, const std::string& scratch, CheckReport& report)
{
    std::map<std::string, PictureInfo> inspected;
    std::set<std::string> formatNoted;
    std::map<std::string, PictureSize> guiSizes;
    std::vector<ShownPicture> shown;
    for (const PictureUse& use : screenPictures(config)) {
        const bool fixedName = use.place.line == 0;
        const std::string place = fixedName ? std::string(kArchiveName) : configPlace(use.place);
        const std::string label = inQuotes(use.name) + " (" + use.what + ")";
        const ArchiveRecord* record = archive.find(use.name);
        if (record == nullptr) {
            report.error(place, label + " is not in data.zuo" + caseHint(archive, use.name));
            continue;
        }
        archive.markUsed(use.name);
        auto found = inspected.find(use.name);
        if (found == inspected.end())
            found = inspected.emplace(use.name, inspectPicture(use.name, archive.bytesOf(*record), scratch)).first;
        const PictureInfo& info = found->second;
        if (!info.decoded) {
            report.error(place, label + " cannot be shown: " + info.failure);
            continue;
        }
        report.info(place,
            label + ": " + info.format + ", " + std::to_string(info.width) + " x " + std::to_string(info.height) + ", "
                + std::to_string(info.bits) + " bits");
        if (formatNoted.insert(use.name).second) {
            for (const std::string& warning : info.warnings)
                report.warning(place, label + ": " + warning);
        }
        const std::string misfit = sizeProblem(use.role, info.width, info.height);
        if (!misfit.empty())
            report.warning(place, label + ": " + misfit);
        if (fixedName)
            guiSizes[use.name] = PictureSize{info.width, info.height};
        shown.push_back(ShownPicture{use, info.width, info.height});
    }
    const std::vector<std::string> stretched = stretchProblems(shown);
    for (size_t i = 0; i < shown.size(); ++i) {
        if (stretched[i].empty())
            continue;
        const PictureUse& use = shown[i].use;
        report.warning(use.place.line == 0 ? std::string(kArchiveName) : configPlace(use.place),
            inQuotes(use.name) + " (" + use.what + "): " + stretched[i]);
    }
    const std::string menu = menuProblem(guiSizes);
    if (!menu.empty())
        report.warning(kArchiveName, "'gui/polygon.png' (window menu background): " + menu);
}

void checkMusic(const std::string& folder, const ConfigLintResult& config, CheckReport& report)
{
    if (config.tracks.empty())
        return;
    const MusicCheck music;
    for (size_t i = 0; i < config.tracks.size(); ++i) {
        const ConfigToken& file = config.tracks[i].file;
        const std::string label = inQuotes(file.text) + " (track " + std::to_string(i + 1) + "'s music)";
        if (std::filesystem::u8path(file.text).is_absolute())
            report.warning(configPlace(file.place),
                label
                    + " is an absolute path: the show works only on a "
                      "machine that has this file at this place");
        const std::string problem = music.problemWith(folder, file.text);
        if (problem.empty())
            report.info(configPlace(file.place), label + " opens");
        else
            report.error(configPlace(file.place), label + ": " + problem + "; the viewer skips the track");
    }
}

void checkUnused(const ShowArchive& archive, CheckReport& report)
{
    for (const std::string& name : archive.unusedNames())
        report.warning(kArchiveName, "entry " + inQuotes(name) + " is not used by the show");
}

} // namespace

int runCheck(const Arguments& arguments)
{
    CheckOptions options;
    std::string error;
    if (!parseOptions(arguments, options, error))
        return reportUsage(error);

    std::error_code status;
    if (!std::filesystem::is_directory(std::filesystem::u8path(options.folder), status))
        return cannotRun(inQuotes(options.folder) + ": no such folder");
    const std::string archivePath = (std::filesystem::u8path(options.folder) / kArchiveName).string();
    if (!std::filesystem::exists(std::filesystem::u8path(archivePath), status))
        return cannotRun("no data.zuo in " + inQuotes(options.folder));
    ShowArchive archive;
    if (!archive.open(archivePath, error))
        return cannotRun(error);
    const ScratchFolder scratch;
    if (scratch.path().empty())
        return cannotRun("cannot make a temporary folder to decode pictures in");

    CheckReport report(options.verbose);
    checkArchive(archive, report);
    const ConfigLintResult config = checkConfig(archive, scratch.path(), report);
    checkPictures(archive, config, scratch.path(), report);
    checkMusic(options.folder, config, report);
    // Which entries the show uses is known only from a file the viewer loads.
    if (config.loads)
        checkUnused(archive, report);
    return report.finish();
}

} // namespace vlo::pack
