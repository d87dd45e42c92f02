#include "FileOutput.h"

#include <cerrno>
#include <cstdio>
#include <cstring>
#include <filesystem>
#include <memory>

namespace vlo::demo {

namespace {

struct FileCloser {
    void operator()(std::FILE* f) const { std::fclose(f); }
};

} // namespace

bool writeFileBytes(const std::string& path, const std::vector<uint8_t>& bytes, std::string& error)
{
    std::filesystem::path target(path);
    if (target.has_parent_path()) {
        std::error_code ec;
        std::filesystem::create_directories(target.parent_path(), ec);
        if (ec) {
            error = "cannot create folder '" + target.parent_path().string() + "': " + ec.message();
            return false;
        }
    }
    std::unique_ptr<std::FILE, FileCloser> file(std::fopen(path.c_str(), "wb"));
    if (!file) {
        error = "cannot open '" + path + "' for writing: " + std::strerror(errno);
        return false;
    }
    if (!bytes.empty() && std::fwrite(bytes.data(), 1, bytes.size(), file.get()) != bytes.size()) {
        error = "cannot write '" + path + "': " + std::strerror(errno);
        return false;
    }
    // fclose flushes; a full disk shows up here.
    if (std::fclose(file.release()) != 0) {
        error = "cannot finish '" + path + "': " + std::strerror(errno);
        return false;
    }
    return true;
}

bool writeFileText(const std::string& path, const std::string& text, std::string& error)
{
    return writeFileBytes(path, std::vector<uint8_t>(text.begin(), text.end()), error);
}

} // namespace vlo::demo
