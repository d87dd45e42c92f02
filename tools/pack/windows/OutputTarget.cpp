// How a name is written on Windows: a device or pipe (and "-", standard
// output) in place; a regular file (links followed by the system) replaced
// by a temporary file created beside it, which ReplaceFileW, or failing it
// MoveFileExW, puts in its place with the old file's attributes.
#include "OutputTarget.h"

#include <filesystem>

#include <fcntl.h>
#include <io.h>
#include <windows.h>

#include "Diagnostics.h"
#include "WindowsText.h"

namespace vlo::pack {

namespace {

// The attributes a replacement carries over. Read-only files are refused
// before, and the rest (compressed, encrypted...) belong to the system.
constexpr DWORD kKeptAttributes
    = FILE_ATTRIBUTE_HIDDEN | FILE_ATTRIBUTE_SYSTEM | FILE_ATTRIBUTE_ARCHIVE | FILE_ATTRIBUTE_NOT_CONTENT_INDEXED;

// Tries to find a free temporary name this many times before giving up.
constexpr int kTemporaryAttempts = 100;

// The kept attributes of `attributes`, or FILE_ATTRIBUTE_NORMAL (which
// stands only alone) for none.
DWORD keptOf(DWORD attributes)
{
    const DWORD kept = attributes & kKeptAttributes;
    return kept != 0 ? kept : FILE_ATTRIBUTE_NORMAL;
}

bool openDirect(const std::string& target, HANDLE handle, OpenedTarget& opened, std::string& error)
{
    const int descriptor = _open_osfhandle(reinterpret_cast<intptr_t>(handle), _O_WRONLY | _O_BINARY);
    if (descriptor < 0) {
        error = inQuotes(target) + ": cannot write: " + lastReason();
        CloseHandle(handle);
        return false;
    }
    opened.file = _fdopen(descriptor, "wb");
    if (!opened.file) {
        error = inQuotes(target) + ": cannot write";
        _close(descriptor);
        return false;
    }
    return true;
}

bool openStandardOutput(OpenedTarget& opened, std::string& error)
{
    std::fflush(stdout);
    const int descriptor = _dup(_fileno(stdout));
    if (descriptor >= 0) {
        _setmode(descriptor, _O_BINARY);
        opened.file = _fdopen(descriptor, "wb");
    }
    if (!opened.file) {
        error = "'-': cannot write to standard output";
        if (descriptor >= 0)
            _close(descriptor);
        return false;
    }
    return true;
}

// The file a handle leads to, links followed, in a form the wide calls take.
std::wstring finalPath(HANDLE handle, const std::wstring& fallback)
{
    std::wstring path(MAX_PATH, L'\0');
    DWORD length = GetFinalPathNameByHandleW(handle, &path[0], DWORD(path.size()), FILE_NAME_NORMALIZED);
    if (length >= path.size()) {
        path.assign(length + 1, L'\0');
        length = GetFinalPathNameByHandleW(handle, &path[0], DWORD(path.size()), FILE_NAME_NORMALIZED);
    }
    if (length == 0 || length >= path.size())
        return fallback;
    path.resize(length);
    // "\\?\C:\..." reads as the plain "C:\..." in messages.
    if (path.rfind(L"\\\\?\\", 0) == 0 && path.size() > 6 && path[5] == L':')
        path.erase(0, 4);
    return path;
}

bool openReplacement(const std::string& target, const std::wstring& path, bool exists, DWORD attributes,
    OpenedTarget& opened, std::string& error)
{
    static unsigned counter = 0;
    const DWORD created = exists ? keptOf(attributes) : FILE_ATTRIBUTE_NORMAL;
    HANDLE handle = INVALID_HANDLE_VALUE;
    std::wstring temporary;
    for (int attempt = 0; attempt < kTemporaryAttempts && handle == INVALID_HANDLE_VALUE; ++attempt) {
        wchar_t suffix[40];
        swprintf(suffix, 40, L".tmp-%08lx%04x", GetCurrentProcessId() ^ GetTickCount(), ++counter & 0xFFFF);
        temporary = path + suffix;
        handle = CreateFileW(temporary.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_NEW, created, nullptr);
        if (handle == INVALID_HANDLE_VALUE && GetLastError() != ERROR_FILE_EXISTS)
            break;
    }
    if (handle == INVALID_HANDLE_VALUE) {
        const std::string reason = lastReason();
        const std::string folder = utf8Text(std::filesystem::path(path).parent_path().wstring());
        error = "cannot create a temporary file beside " + inQuotes(target) + " in the folder "
            + inQuotes(folder.empty() ? "." : folder) + ": " + reason;
        return false;
    }
    const std::string temporaryUtf8 = utf8Text(temporary);
    if (!openDirect(temporaryUtf8, handle, opened, error)) {
        DeleteFileW(temporary.c_str());
        return false;
    }
    opened.temporaryPath = temporaryUtf8;
    opened.replacedPath = utf8Text(path);
    return true;
}

} // namespace

bool openTarget(const std::string& target, OpenedTarget& opened, std::string& error)
{
    if (target == "-")
        return openStandardOutput(opened, error);
    const std::wstring wide = wideText(target);
    const DWORD attributes = GetFileAttributesW(wide.c_str());
    if (attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_DIRECTORY) != 0) {
        error = inQuotes(target) + ": is a folder";
        return false;
    }
    // A read-only file is not replaced, although its folder would let the
    // move through (and an administrator could open it for writing).
    if (attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_READONLY) != 0) {
        error = inQuotes(target) + ": cannot write: " + systemReason(ERROR_ACCESS_DENIED);
        return false;
    }
    // Opening for writing (without truncating) asks what the user may do,
    // and tells a regular file from a device or a pipe.
    HANDLE handle = CreateFileW(wide.c_str(), GENERIC_WRITE, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE,
        nullptr, OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
    if (handle == INVALID_HANDLE_VALUE) {
        const DWORD code = GetLastError();
        if (code == ERROR_FILE_NOT_FOUND || code == ERROR_PATH_NOT_FOUND)
            return openReplacement(target, wide, false, 0, opened, error);
        error = inQuotes(target) + ": cannot write: " + systemReason(code);
        return false;
    }
    if (GetFileType(handle) != FILE_TYPE_DISK)
        return openDirect(target, handle, opened, error);
    BY_HANDLE_FILE_INFORMATION information{};
    GetFileInformationByHandle(handle, &information);
    const bool linked = (information.dwFileAttributes & FILE_ATTRIBUTE_REPARSE_POINT) != 0
        || (attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_REPARSE_POINT) != 0);
    const std::wstring path = linked ? finalPath(handle, wide) : wide;
    CloseHandle(handle);
    return openReplacement(target, path, true, information.dwFileAttributes, opened, error);
}

std::string syncToDisk(std::FILE* file)
{
    const HANDLE handle = reinterpret_cast<HANDLE>(_get_osfhandle(_fileno(file)));
    return FlushFileBuffers(handle) ? std::string() : lastReason();
}

std::string putInPlace(const std::string& temporary, const std::string& replaced)
{
    const std::wstring from = wideText(temporary);
    const std::wstring to = wideText(replaced);
    const DWORD old = GetFileAttributesW(to.c_str());
    if (old != INVALID_FILE_ATTRIBUTES) {
        // ReplaceFileW keeps the old file's identity (security, creation
        // time); the attributes go over by hand as well, since not every
        // implementation carries them.
        SetFileAttributesW(from.c_str(), keptOf(old));
        if (ReplaceFileW(to.c_str(), from.c_str(), nullptr,
                REPLACEFILE_IGNORE_MERGE_ERRORS | REPLACEFILE_IGNORE_ACL_ERRORS, nullptr, nullptr))
            return std::string();
        // Refused where the file system cannot (FAT, another volume): a
        // plain move over it does.
    }
    if (MoveFileExW(from.c_str(), to.c_str(), MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH))
        return std::string();
    return lastReason();
}

void removeTemporary(const std::string& path)
{
    DeleteFileW(wideText(path).c_str());
}

void makeBinary(std::FILE* file)
{
    _setmode(_fileno(file), _O_BINARY);
}

} // namespace vlo::pack
