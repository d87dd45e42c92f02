// vellumo-pack new SHOW-FOLDER ALBUM-FOLDER [--title TEXT] [--artist TEXT]
// [--font FONT]: makes a complete show from a folder of music files. The
// show's Vellumo.ini and pictures are written to SHOW-FOLDER/source/ (the
// author edits them there and packs again with `create`), packed into
// SHOW-FOLDER/data.zuo, and the music is copied to SHOW-FOLDER/music/. The
// album folder is only read.
#include <unistd.h>

#include <cstdio>
#include <filesystem>
#include <fstream>

#include "AlbumReader.h"
#include "Commands.h"
#include "Diagnostics.h"
#include "OptionReader.h"
#include "OutputFile.h"
#include "PackFolder.h"
#include "ShowDraft.h"

namespace fs = std::filesystem;

namespace vlo::pack {

namespace {

struct NewOptions {
    std::string showFolder;
    std::string albumFolder;
    DraftOptions draft;
};

bool parseOptions(const Arguments& arguments, NewOptions& options, std::string& error)
{
    constexpr int kTitle = 256;
    constexpr int kArtist = 257;
    constexpr int kFont = 258;
    OptionReader reader({{kTitle, "title", "a TEXT"}, {kArtist, "artist", "a TEXT"}, {kFont, "font", "a FONT"}});
    if (!reader.read("new", arguments, error))
        return false;
    for (const GivenOption& given : reader.given()) {
        if (given.code == kTitle)
            options.draft.title = given.value;
        else if (given.code == kArtist)
            options.draft.artist = given.value;
        else
            options.draft.font = given.value;
    }
    const Arguments& operands = reader.operands();
    if (operands.size() != 2) {
        error = "new: expected SHOW-FOLDER ALBUM-FOLDER, got " + std::to_string(operands.size()) + " arguments";
        return false;
    }
    options.showFolder = operands[0];
    options.albumFolder = operands[1];
    return true;
}

// A problem with the show folder that stops the command before it writes.
std::string showFolderProblem(const std::string& folder)
{
    std::error_code status;
    const fs::file_status kind = fs::status(fs::u8path(folder), status);
    if (!fs::exists(kind))
        return std::string();
    if (!fs::is_directory(kind))
        return inQuotes(folder) + " exists and is not a folder";
    if (!fs::is_empty(fs::u8path(folder), status) || status)
        return inQuotes(folder) + " is not empty; give a new or empty folder for the show";
    return std::string();
}

// Whether the show folder would be made inside the album folder.
bool liesInside(const std::string& show, const std::string& album)
{
    std::error_code status;
    const fs::path albumPath = fs::weakly_canonical(fs::absolute(fs::u8path(album)), status);
    const fs::path showPath = fs::weakly_canonical(fs::absolute(fs::u8path(show)), status);
    const std::string relative = showPath.lexically_relative(albumPath).generic_string();
    return !status && !relative.empty() && relative.rfind("..", 0) != 0;
}

bool writeFile(const fs::path& path, const std::string& bytes, std::string& error)
{
    std::error_code status;
    fs::create_directories(path.parent_path(), status);
    OutputFile file;
    if (status || !file.open(path.string(), error)) {
        if (status)
            error = "cannot make the folder " + inQuotes(path.parent_path().string()) + ": " + status.message();
        return false;
    }
    if (std::fwrite(bytes.data(), 1, bytes.size(), file.stream()) != bytes.size()) {
        error = "cannot write " + inQuotes(path.string());
        return false;
    }
    return file.commit(error);
}

// Writes the draft into the (new or empty) show folder.
bool writeShow(const ShowDraft& draft, const fs::path& show, const std::function<void(const std::string&)>& progress,
    std::string& error)
{
    const fs::path source = show / "source";
    progress("writing " + std::to_string(draft.sources.size()) + " source files to " + source.string());
    for (const ShowDraft::File& file : draft.sources)
        if (!writeFile(source / fs::u8path(file.entry), file.bytes, error))
            return false;
    progress("packing " + (show / "data.zuo").string());
    PackedFolder packed;
    if (!packFolder((show / "data.zuo").string(), source.string(), packed, error))
        return false;
    progress("copying " + std::to_string(draft.music.size()) + " music files");
    std::error_code status;
    fs::create_directories(show / "music", status);
    for (const ShowDraft::Copy& copy : draft.music) {
        if (status || !fs::copy_file(fs::u8path(copy.from), show / fs::u8path(copy.to), status)) {
            error = "cannot copy " + inQuotes(copy.from) + " to " + inQuotes((show / copy.to).string()) + ": "
                + status.message();
            return false;
        }
    }
    return true;
}

// Takes back what a failed run wrote: the folder when the run made it,
// else its content (it was empty before).
void removeWritten(const fs::path& show, bool existed)
{
    std::error_code status;
    if (!existed) {
        fs::remove_all(show, status);
        return;
    }
    for (const fs::directory_entry& entry : fs::directory_iterator(show, status))
        fs::remove_all(entry.path(), status);
}

} // namespace

int runNew(const Arguments& arguments)
{
    NewOptions options;
    std::string error;
    if (!parseOptions(arguments, options, error))
        return reportUsage(error);
    const bool terminal = isatty(STDOUT_FILENO) == 1;
    const auto progress = [terminal](const std::string& line) {
        if (terminal) {
            std::printf("%s\n", line.c_str());
            std::fflush(stdout);
        }
    };

    std::string problem = showFolderProblem(options.showFolder);
    if (problem.empty() && liesInside(options.showFolder, options.albumFolder))
        problem = inQuotes(options.showFolder) + " lies inside the album folder, which new never changes";
    if (!problem.empty())
        return reportError("new: " + problem);
    progress("reading the tags in " + options.albumFolder);
    Album album;
    if (!readAlbum(options.albumFolder, album, error))
        return reportError("new: cannot read the album folder: " + error);
    if (album.tracks.empty())
        return reportError("new: no music file the viewer plays in " + inQuotes(options.albumFolder));
    for (const std::string& name : album.skipped)
        std::fprintf(stderr, "vellumo-pack: new: warning: skipping %s: not a music file the viewer plays\n",
            inQuotes(name).c_str());

    ShowDraft draft;
    if (!draftShow(album, options.albumFolder, options.draft, progress, draft, error))
        return reportError("new: " + error);

    const fs::path show = fs::u8path(options.showFolder);
    std::error_code status;
    const bool existed = fs::exists(show, status);
    fs::create_directories(show, status);
    if (status)
        return reportError("new: cannot make " + inQuotes(show.string()) + ": " + status.message());
    if (!writeShow(draft, show, progress, error)) {
        removeWritten(show, existed);
        return reportError("new: " + error);
    }
    progress("done: " + std::to_string(draft.music.size()) + " tracks; run vellumo in " + show.string());
    return kExitSuccess;
}

} // namespace vlo::pack
