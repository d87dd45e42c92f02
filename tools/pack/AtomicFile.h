#pragma once
#include <cstdio>
#include <string>

namespace vlo::pack {

// A file that appears under its name only when it is complete: written to a
// temporary file beside the target and renamed over it by commit(). Until
// then the target keeps its old content; the temporary file is removed when
// the object goes without a commit.
class AtomicFile {
public:
    AtomicFile() = default;
    ~AtomicFile();
    AtomicFile(const AtomicFile&) = delete;
    AtomicFile& operator=(const AtomicFile&) = delete;

    // Creates the temporary file beside target; on failure fills error.
    bool open(const std::string& target, std::string& error);
    // The stream to write to; null before open().
    std::FILE* stream() const { return file; }
    // Flushes, syncs and closes the temporary file and renames it to the
    // target; on failure fills error and removes the temporary file.
    bool commit(std::string& error);

private:
    void discard();

    std::string targetPath;
    std::string temporaryPath;
    std::FILE* file = nullptr;
};

} // namespace vlo::pack
