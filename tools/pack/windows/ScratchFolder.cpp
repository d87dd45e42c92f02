#include "ScratchFolder.h"

#include <cwchar>
#include <filesystem>

#include <windows.h>

#include "WindowsText.h"

namespace vlo::pack {

namespace {

// Tries this many names before giving up.
constexpr int kAttempts = 100;

} // namespace

// %TEMP% belongs to the user; CreateDirectoryW fails on a name that exists,
// so the folder found is a new one.
ScratchFolder::ScratchFolder()
{
    std::error_code status;
    const std::filesystem::path temporary = std::filesystem::temp_directory_path(status);
    if (status)
        return;
    for (int attempt = 0; attempt < kAttempts; ++attempt) {
        wchar_t name[40];
        swprintf(name, 40, L"vellumo-pack-%08lx%04x", GetCurrentProcessId() ^ GetTickCount(), unsigned(attempt));
        const std::wstring path = (temporary / name).wstring();
        if (CreateDirectoryW(path.c_str(), nullptr)) {
            folder = utf8Text(path);
            return;
        }
        if (GetLastError() != ERROR_ALREADY_EXISTS)
            return;
    }
}

ScratchFolder::~ScratchFolder()
{
    if (!folder.empty()) {
        std::error_code ignored;
        std::filesystem::remove_all(std::filesystem::u8path(folder), ignored);
    }
}

} // namespace vlo::pack
