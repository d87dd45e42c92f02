#include "OutputFile.h"

#include <cerrno>
#include <cstring>

#include "Diagnostics.h"
#include "OutputTarget.h"

namespace vlo::pack {

OutputFile::~OutputFile()
{
    discard();
}

bool OutputFile::open(const std::string& target, std::string& error)
{
    discard();
    targetPath = target;
    OpenedTarget opened;
    if (!openTarget(target, opened, error))
        return false;
    file = opened.file;
    replacedPath = opened.replacedPath;
    temporaryPath = opened.temporaryPath;
    return true;
}

bool OutputFile::commit(std::string& error)
{
    if (!file) {
        error = "no file open for " + inQuotes(targetPath);
        return false;
    }
    const bool replacing = !temporaryPath.empty();
    bool written = std::fflush(file) == 0 && !std::ferror(file);
    std::string writeError = std::strerror(errno);
    if (written && replacing) {
        const std::string unsynced = syncToDisk(file);
        written = unsynced.empty();
        writeError = unsynced;
    }
    const bool closed = std::fclose(file) == 0;
    const std::string closeError = std::strerror(errno);
    file = nullptr;
    if (!written || !closed) {
        error = "cannot write " + inQuotes(targetPath) + ": " + (written ? closeError : writeError);
        discard();
        return false;
    }
    if (!replacing)
        return true;
    const std::string unplaced = putInPlace(temporaryPath, replacedPath);
    if (!unplaced.empty()) {
        error = "cannot rename " + inQuotes(temporaryPath) + " to " + inQuotes(replacedPath) + ": " + unplaced;
        discard();
        return false;
    }
    temporaryPath.clear();
    return true;
}

void OutputFile::discard()
{
    if (file) {
        std::fclose(file);
        file = nullptr;
    }
    if (!temporaryPath.empty()) {
        removeTemporary(temporaryPath);
        temporaryPath.clear();
    }
    replacedPath.clear();
}

} // namespace vlo::pack
