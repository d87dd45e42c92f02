#pragma once
// One private folder per fuzzing process, removed with its content at exit.
#include <cstdlib>
#include <filesystem>
#include <string>
#include <system_error>

#include <unistd.h>

inline const std::filesystem::path& fuzzFolder(const char* prefix)
{
    static const std::filesystem::path folder = [prefix] {
        std::string pattern = (std::filesystem::temp_directory_path() / (std::string(prefix) + "-XXXXXX")).string();
        if (!::mkdtemp(pattern.data()))
            std::abort();
        return std::filesystem::path(pattern);
    }();
    // Registered once the path exists, so it runs before the path is
    // destroyed at exit.
    static const bool removedAtExit = std::atexit([] {
        std::error_code ignored;
        std::filesystem::remove_all(folder, ignored);
    }) == 0;
    (void)removedAtExit;
    return folder;
}
