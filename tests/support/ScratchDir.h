#pragma once
// A private folder for one test's files, removed with everything in it when
// the test ends. Named after the process and a counter, so tests that ctest
// runs side by side never share files.
#include <algorithm>
#include <atomic>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>
#include <system_error>
#include <vector>

#include <unistd.h>

namespace vlo::test {

class ScratchDir {
public:
    explicit ScratchDir(const std::string& tag = "test")
    {
        static std::atomic<int> counter{0};
        root = std::filesystem::temp_directory_path()
            / ("vlo-" + tag + "-" + std::to_string(::getpid()) + "-" + std::to_string(counter++));
        std::filesystem::remove_all(root);
        std::filesystem::create_directories(root);
    }
    ~ScratchDir()
    {
        std::error_code ignored;
        std::filesystem::remove_all(root, ignored);
    }
    ScratchDir(const ScratchDir&) = delete;
    ScratchDir& operator=(const ScratchDir&) = delete;

    // Absolute path of a file or folder inside the scratch folder.
    std::string path(const std::string& relative = "") const
    {
        return relative.empty() ? root.string() : (root / relative).string();
    }

    // Writes bytes to a file inside the folder, creating its parent folders.
    void write(const std::string& relative, const std::string& bytes) const
    {
        const std::filesystem::path target = root / relative;
        std::filesystem::create_directories(target.parent_path());
        std::ofstream out(target, std::ios::binary | std::ios::trunc);
        out.write(bytes.data(), std::streamsize(bytes.size()));
    }

    bool exists(const std::string& relative) const { return std::filesystem::exists(root / relative); }

    // The names directly inside the folder, sorted.
    std::string listing() const
    {
        std::string names;
        std::vector<std::string> sorted;
        for (const auto& entry : std::filesystem::directory_iterator(root))
            sorted.push_back(entry.path().filename().string());
        std::sort(sorted.begin(), sorted.end());
        for (const auto& name : sorted)
            names += name + " ";
        return names;
    }

    std::filesystem::path root;
};

// The whole content of a file; empty when it cannot be read.
inline std::string readFile(const std::string& path)
{
    std::ifstream in(path, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

} // namespace vlo::test
