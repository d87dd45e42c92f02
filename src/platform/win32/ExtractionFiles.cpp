// Extraction files on Windows: exclusive creation (CREATE_NEW, which never
// opens an existing name, a link included), ownership by volume serial number
// and file index, and the private folder under %TEMP%, removed at exit.

#include "platform/ExtractionFiles.h"

#include <fcntl.h>
#include <io.h>
#include <process.h>

#include <cstdlib>
#include <string>
#include <vector>

#ifndef WIN32_LEAN_AND_MEAN
#define WIN32_LEAN_AND_MEAN
#endif
#include <windows.h>

namespace vlo {
namespace ExtractionFiles {

namespace {

// A file this run created. The handle stays open (sharing read, write and
// delete) until the file is deleted, so the file keeps its index meanwhile
// (Wine's index is the inode number, which a deleted file gives up at once):
// a file found at the path with the same volume and index is this very file.
// Sharing delete lets others rename the file away or delete it meanwhile.
struct OwnedFile {
    std::string path;
    DWORD volume;
    DWORD indexHigh;
    DWORD indexLow;
    HANDLE keeper;
};

struct State {
    std::vector<OwnedFile> files;
    std::string folder;
    bool hookInstalled = false;
};

State& state()
{
    static State theState;
    return theState;
}

constexpr DWORD ShareAll = FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE;

// A regular file at `path` (not a folder, not a link), with its identity.
bool identify(const std::string& path, BY_HANDLE_FILE_INFORMATION& info)
{
    const HANDLE probe = CreateFileA(path.c_str(), FILE_READ_ATTRIBUTES, ShareAll, nullptr, OPEN_EXISTING,
        FILE_FLAG_OPEN_REPARSE_POINT | FILE_FLAG_BACKUP_SEMANTICS, nullptr);
    if (probe == INVALID_HANDLE_VALUE)
        return false;
    const bool known = GetFileInformationByHandle(probe, &info) != 0;
    CloseHandle(probe);
    const DWORD notPlain = FILE_ATTRIBUTE_DIRECTORY | FILE_ATTRIBUTE_REPARSE_POINT;
    return known && (info.dwFileAttributes & notPlain) == 0;
}

bool stillOurs(const OwnedFile& file)
{
    BY_HANDLE_FILE_INFORMATION now;
    return identify(file.path, now) && now.dwVolumeSerialNumber == file.volume && now.nFileIndexHigh == file.indexHigh
        && now.nFileIndexLow == file.indexLow;
}

// Deletes the file when it is still ours, and forgets it either way.
void release(std::size_t index)
{
    OwnedFile& file = state().files[index];
    if (stillOurs(file))
        DeleteFileA(file.path.c_str());
    CloseHandle(file.keeper);
    state().files.erase(state().files.begin() + std::ptrdiff_t(index));
}

std::ptrdiff_t find(const std::string& path)
{
    for (std::size_t i = 0; i < state().files.size(); ++i) {
        if (state().files[i].path == path)
            return std::ptrdiff_t(i);
    }
    return -1;
}

// A new file at `path`, or INVALID_HANDLE_VALUE. A name taken by a file of
// this run is taken over: that file is deleted and the name created afresh.
HANDLE createNew(const std::string& path)
{
    if (path.empty())
        return INVALID_HANDLE_VALUE;
    auto open = [&path] {
        return CreateFileA(
            path.c_str(), GENERIC_WRITE, ShareAll, nullptr, CREATE_NEW, FILE_ATTRIBUTE_TEMPORARY, nullptr);
    };
    HANDLE handle = open();
    if (handle == INVALID_HANDLE_VALUE && GetLastError() == ERROR_FILE_EXISTS) {
        const std::ptrdiff_t earlier = find(path);
        if (earlier >= 0 && stillOurs(state().files[std::size_t(earlier)])) {
            release(std::size_t(earlier));
            handle = open();
        }
    }
    return handle;
}

// Notes the new file as this run's own and opens a stream on a second handle.
std::FILE* adopt(const std::string& path, HANDLE keeper)
{
    const std::ptrdiff_t stale = find(path);
    if (stale >= 0) {
        CloseHandle(state().files[std::size_t(stale)].keeper);
        state().files.erase(state().files.begin() + stale);
    }
    BY_HANDLE_FILE_INFORMATION info;
    HANDLE writer = INVALID_HANDLE_VALUE;
    std::FILE* stream = nullptr;
    if (GetFileInformationByHandle(keeper, &info)
        && DuplicateHandle(
            GetCurrentProcess(), keeper, GetCurrentProcess(), &writer, 0, FALSE, DUPLICATE_SAME_ACCESS)) {
        const int descriptor = _open_osfhandle(intptr_t(writer), _O_WRONLY | _O_BINARY);
        stream = descriptor >= 0 ? _fdopen(descriptor, "wb") : nullptr;
        if (stream == nullptr && descriptor >= 0)
            _close(descriptor);
        else if (descriptor < 0)
            CloseHandle(writer);
    }
    if (stream == nullptr) {
        // Just created and not yet known to anyone: safe to take back.
        DeleteFileA(path.c_str());
        CloseHandle(keeper);
        return nullptr;
    }
    state().files.push_back({path, info.dwVolumeSerialNumber, info.nFileIndexHigh, info.nFileIndexLow, keeper});
    return stream;
}

bool ensureFolder()
{
    if (!state().folder.empty())
        return true;
    char temporary[MAX_PATH + 1];
    const DWORD length = GetTempPathA(sizeof temporary, temporary);
    if (length == 0 || length > MAX_PATH)
        return false;
    // %TEMP% belongs to the user; a name no one else has, made new.
    const std::string base = std::string(temporary) + "vellumo-" + std::to_string(_getpid()) + "-";
    for (unsigned attempt = 0; attempt < 100; ++attempt) {
        const std::string folder = base + std::to_string(GetTickCount() + attempt);
        if (CreateDirectoryA(folder.c_str(), nullptr)) {
            state().folder = folder;
            return true;
        }
        if (GetLastError() != ERROR_ALREADY_EXISTS)
            return false;
    }
    return false;
}

void removeAllAtExit()
{
    removeAll();
}

std::string fileName(const std::string& path)
{
    const std::size_t slash = path.find_last_of("/\\");
    return slash == std::string::npos ? path : path.substr(slash + 1);
}

} // namespace

std::FILE* create(const std::string& wanted, std::string& path)
{
    path.clear();
    if (!state().hookInstalled) {
        state().hookInstalled = true;
        std::atexit(removeAllAtExit);
    }
    std::string where = wanted;
    HANDLE handle = createNew(where);
    if (handle == INVALID_HANDLE_VALUE && ensureFolder()) {
        where = state().folder + "\\" + fileName(wanted);
        handle = createNew(where);
    }
    if (handle == INVALID_HANDLE_VALUE)
        return nullptr;
    std::FILE* stream = adopt(where, handle);
    if (stream != nullptr)
        path = where;
    return stream;
}

void remove(const std::string& path)
{
    const std::ptrdiff_t index = find(path);
    if (index >= 0)
        release(std::size_t(index));
}

void removeAll()
{
    while (!state().files.empty())
        release(state().files.size() - 1);
    if (!state().folder.empty()) {
        RemoveDirectoryA(state().folder.c_str());
        state().folder.clear();
    }
}

std::string privateFolder()
{
    return state().folder;
}

// Windows has no SIGHUP, and a console's Ctrl+C ends the process through its
// own handler; files left then go with the next run's takeover or %TEMP%'s
// cleaning.
void guardSignals()
{
}

} // namespace ExtractionFiles
} // namespace vlo
