// vellumo-pack preview [DIR] --at SECONDS[,SECONDS...] [-o PREFIX]: renders
// the real show screen at moments of an undisturbed run to 700 x 600 PNG
// files PREFIX-SECONDS.png, without sound and without waiting. Show time is
// the tick clock, stepped 10 ms per frame from 0 as the viewer's 100 frames
// per second would step it; each frame runs the show's logic inside its draw.
#include <algorithm>
#include <cerrno>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <filesystem>

#include <unistd.h>

#include "Commands.h"
#include "Diagnostics.h"
#include "FolderChange.h"
#include "OptionReader.h"
#include "PngWriter.h"
#include "ShowPreview.h"

namespace vlo::pack {

namespace {

// The viewer's timer: one frame every 10 ms.
constexpr uint32_t kFrameMs = 10;
// A day of show time: far beyond any show, and far below the tick clock's
// wrap.
constexpr double kLatestSecond = 86400.0;

struct PreviewOptions {
    std::string folder = ".";
    // Moments in milliseconds of show time, sorted, each once.
    std::vector<uint32_t> moments;
    std::string prefix = "preview";
};

bool parseMoments(const std::string& list, std::vector<uint32_t>& moments, std::string& error)
{
    size_t start = 0;
    while (true) {
        const size_t comma = list.find(',', start);
        const std::string text = list.substr(start, comma == std::string::npos ? std::string::npos : comma - start);
        char* end = nullptr;
        errno = 0;
        const double seconds = text.empty() ? 0.0 : std::strtod(text.c_str(), &end);
        if (text.empty() || end != text.c_str() + text.size() || errno == ERANGE || !std::isfinite(seconds)) {
            error = "preview: --at: " + inQuotes(text) + " is not a number of seconds";
            return false;
        }
        if (seconds < 0.0) {
            error = "preview: --at: " + inQuotes(text) + " is negative; moments count seconds from the show's start";
            return false;
        }
        if (seconds > kLatestSecond) {
            error = "preview: --at: " + inQuotes(text) + " is past 86400 seconds (a day of show time)";
            return false;
        }
        moments.push_back(uint32_t(std::lround(seconds * 1000.0)));
        if (comma == std::string::npos)
            return true;
        start = comma + 1;
    }
}

// The long-only option --at.
constexpr int kAtOption = 256;

bool parseOptions(const Arguments& arguments, PreviewOptions& options, std::string& error)
{
    OptionReader reader({{kAtOption, "at", "SECONDS"}, {'o', nullptr, "a PREFIX"}});
    if (!reader.read("preview", arguments, error))
        return false;
    bool prefixGiven = false;
    for (const GivenOption& given : reader.given()) {
        if (given.code == kAtOption) {
            if (!parseMoments(given.value, options.moments, error))
                return false;
            continue;
        }
        if (prefixGiven) {
            error = "preview: -o given twice";
            return false;
        }
        prefixGiven = true;
        options.prefix = given.value;
    }
    const Arguments& positional = reader.operands();
    if (positional.size() > 1) {
        error = "preview: expected at most one DIR, got " + std::to_string(positional.size());
        return false;
    }
    if (options.moments.empty()) {
        error = "preview: --at SECONDS is required";
        return false;
    }
    if (options.prefix.empty()) {
        error = "preview: -o needs a PREFIX";
        return false;
    }
    if (!positional.empty())
        options.folder = positional[0];
    // Given in any order; each moment is rendered once.
    std::sort(options.moments.begin(), options.moments.end());
    options.moments.erase(std::unique(options.moments.begin(), options.moments.end()), options.moments.end());
    return true;
}

// "4.25" for 4250 ms, "10" for 10000 ms.
std::string secondsText(uint32_t milliseconds)
{
    std::string text = std::to_string(milliseconds / 1000);
    uint32_t fraction = milliseconds % 1000;
    if (fraction != 0) {
        std::string digits = std::to_string(1000 + fraction).substr(1);
        while (digits.back() == '0')
            digits.pop_back();
        text += "." + digits;
    }
    return text;
}

int cannotRun(const std::string& line)
{
    std::fprintf(stderr, "vellumo-pack: preview: %s\n", line.c_str());
    return kExitUsage;
}

// Draws every 10 ms of show time from 0 and, at each moment, the frame that
// is written out. A moment between two steps gets a frame of its own.
int render(ShowPreview& preview, const PreviewOptions& options, const std::string& prefix)
{
    uint32_t next = 0;
    for (uint32_t moment : options.moments) {
        for (; next < moment; next += kFrameMs) {
            if (!preview.drawFrameAt(next, nullptr))
                return reportError("preview: drawing the frame at " + secondsText(next) + " s failed");
        }
        CapturedFrame frame;
        if (!preview.drawFrameAt(moment, &frame))
            return reportError("preview: reading the frame at " + secondsText(moment) + " s failed");
        if (next == moment)
            next += kFrameMs;
        const std::string path = prefix + "-" + secondsText(moment) + ".png";
        std::string error;
        if (!writePng(path, frame.width, frame.height, frame.rgba, error))
            return reportError("preview: " + error);
        std::printf("%s\n", path.c_str());
    }
    std::fflush(stdout);
    return kExitSuccess;
}

} // namespace

int runPreview(const Arguments& arguments)
{
    PreviewOptions options;
    std::string error;
    if (!parseOptions(arguments, options, error))
        return reportUsage(error);

    std::error_code status;
    if (!std::filesystem::is_directory(std::filesystem::u8path(options.folder), status))
        return cannotRun(inQuotes(options.folder) + ": no such folder");
    if (!std::filesystem::exists(std::filesystem::u8path(options.folder) / "data.zuo", status))
        return cannotRun("no data.zuo in " + inQuotes(options.folder));
    // The prefix names files from the caller's folder, not the show's.
    const std::filesystem::path prefix = std::filesystem::absolute(std::filesystem::u8path(options.prefix), status);
    if (status || !std::filesystem::is_directory(prefix.parent_path(), status))
        return cannotRun(inQuotes(options.prefix) + ": the folder for the pictures does not exist");

    // The viewer works in the show folder: it opens data.zuo and the music
    // from there and writes its extraction files beside the archive.
    FolderChange inShow;
    if (!inShow.enter(options.folder, error))
        return cannotRun(error);
    if (access(".", W_OK) != 0)
        return reportError("preview: " + inQuotes(options.folder)
            + ": not writable; the viewer writes its extraction files beside data.zuo");

    ShowPreview preview;
    if (!preview.start(error))
        return reportError("preview: " + error);
    return render(preview, options, prefix.string());
}

} // namespace vlo::pack
