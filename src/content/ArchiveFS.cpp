#include "content/ArchiveFS.h"

#include <algorithm>
#include <cstdio>
#include <filesystem>
#include <fstream>

#include "content/ArchiveDirectory.h"
#include "content/ExtractionName.h"
#include "platform/ExtractionFiles.h"

namespace vlo {
namespace ArchiveFS {

namespace {

// The one archive of the process. The maps, the extraction base and the last
// extraction path outlive shutdown(); only the flag and the stream change.
struct ArchiveState {
    bool initialised = false;
    std::ifstream archive;
    // Length of the archive file in bytes, measured when it was opened; no
    // extraction reads or allocates past it.
    int64_t archiveSize = 0;
    std::map<std::string, int32_t> entryOffsets;
    std::map<std::string, int32_t> entrySizes;
    std::string extractionBase;
    std::string extractionPath;
};

ArchiveState& state()
{
    static ArchiveState instance;
    return instance;
}

// The size of the pieces an entry is copied in, in bytes.
constexpr int64_t CopyPieceBytes = 64 * 1024;

int32_t lookup(const std::map<std::string, int32_t>& map, const std::string& name)
{
    const auto found = map.find(name);
    return found == map.end() ? 0 : found->second;
}

// The bytes of an entry that the archive really holds: none for a negative
// offset or size, and never past the end of the file.
int64_t availableBytes(int64_t offset, int64_t size, int64_t archiveSize)
{
    if (offset < 0 || size <= 0 || offset >= archiveSize)
        return 0;
    return std::min(size, archiveSize - offset);
}

} // namespace

bool init(const std::string& name)
{
    ArchiveState& s = state();
    if (s.initialised)
        return false;
    // Only a regular file (or a link to one) is opened: a folder opens like a
    // file but cannot be read as one, a FIFO without a writer would block the
    // open for good, and a device such as /dev/zero never ends.
    std::error_code error;
    if (!std::filesystem::is_regular_file(name, error))
        return false;
    s.archive.clear();
    s.archive.open(name, std::ios::in | std::ios::binary);
    if (!s.archive.is_open())
        return false;

    s.archive.seekg(0, std::ios::end);
    const std::streamoff end = s.archive.tellg();
    s.archiveSize = end > 0 ? int64_t(end) : 0;
    s.archive.seekg(0, std::ios::beg);

    // Both maps start empty: sizes left over from an archive opened before
    // would otherwise pair with the new archive's offsets.
    s.entryOffsets.clear();
    s.entrySizes.clear();
    s.extractionBase = name + ".temp";

    // A damaged directory still yields the records read before the damage;
    // its status does not matter here.
    const ArchiveDirectory directory = ArchiveDirectory::read(s.archive);
    for (const ArchiveRecord& record : directory.records) {
        s.entrySizes[record.name] = record.size;
        s.entryOffsets[record.name] = record.offset;
    }
    // A directory that ran into the end of the file leaves the stream failed;
    // clear it so that the entries read so far can still be extracted.
    s.archive.clear();

    s.initialised = true;
    return true;
}

std::string extract(std::string name)
{
    ArchiveState& s = state();
    if (!s.initialised)
        return name;

    // The extension is appended to a file name beside the archive; one that
    // would reach into a folder names nothing, so nothing is written and the
    // caller's open of the empty path fails.
    const std::string extension = extractionExtension(name);
    if (!isSafeExtractionSuffix(extension)) {
        s.extractionPath.clear();
        return std::string();
    }
    // A new file beside the archive, or in the process's private folder when
    // the archive's folder cannot take it; an existing file is never written.
    std::FILE* out = ExtractionFiles::create(s.extractionBase + extension, s.extractionPath);
    if (!out)
        return std::string();

    // Copied in pieces of a fixed size, so that an entry declaring up to
    // 2 GiB costs no more memory than a small one. A name the directory does
    // not hold has size 0 and gives an empty file.
    const int64_t offset = lookup(s.entryOffsets, name);
    int64_t left = availableBytes(offset, lookup(s.entrySizes, name), s.archiveSize);
    bool written = true;
    if (left > 0) {
        char piece[CopyPieceBytes];
        s.archive.seekg(offset, std::ios::beg);
        while (left > 0) {
            s.archive.read(piece, std::streamsize(std::min<int64_t>(left, CopyPieceBytes)));
            const std::size_t got = std::size_t(s.archive.gcount());
            if (got == 0)
                break;
            if (std::fwrite(piece, 1, got, out) != got) {
                written = false;
                break;
            }
            left -= int64_t(got);
        }
        // A short read (the file shrank under us) must not spoil the next
        // extraction.
        s.archive.clear();
    }
    // A write cut short (a full disk, a quota) or a failed close leaves a
    // file that a decoder would show in part, black below the cut: that is
    // no extraction at all, and the caller's open of the empty path fails as
    // for any picture that cannot be read.
    if (std::fclose(out) != 0)
        written = false;
    if (!written) {
        ExtractionFiles::remove(s.extractionPath);
        s.extractionPath.clear();
        return std::string();
    }
    return s.extractionPath;
}

void removeExtracted()
{
    ArchiveState& s = state();
    // Only the file that extract() created, never one put in its place.
    if (s.initialised && !s.extractionPath.empty())
        ExtractionFiles::remove(s.extractionPath);
}

void shutdown()
{
    ArchiveState& s = state();
    if (s.archive.is_open())
        s.archive.close();
    s.initialised = false;
}

bool isInitialised()
{
    return state().initialised;
}

const std::map<std::string, int32_t>& entryOffsets()
{
    return state().entryOffsets;
}

const std::map<std::string, int32_t>& entrySizes()
{
    return state().entrySizes;
}

} // namespace ArchiveFS
} // namespace vlo
