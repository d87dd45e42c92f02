#include "AtomicFile.h"

#include <cerrno>
#include <cstring>
#include <vector>

#include <sys/stat.h>
#include <unistd.h>

#include "Diagnostics.h"

namespace vlo::pack {

AtomicFile::~AtomicFile()
{
    discard();
}

bool AtomicFile::open(const std::string& target, std::string& error)
{
    discard();
    targetPath = target;
    std::string pattern = target + ".tmp-XXXXXX";
    std::vector<char> name(pattern.begin(), pattern.end());
    name.push_back('\0');
    const int descriptor = ::mkstemp(name.data());
    if (descriptor < 0) {
        error = "cannot create a temporary file beside " + inQuotes(target) + ": " + std::strerror(errno);
        return false;
    }
    temporaryPath = name.data();
    // mkstemp creates the file readable by its owner only; give it the
    // permissions any new file of this user would get.
    const mode_t mask = ::umask(0);
    ::umask(mask);
    ::fchmod(descriptor, 0666 & ~mask);
    file = ::fdopen(descriptor, "wb");
    if (!file) {
        error = "cannot write " + inQuotes(temporaryPath) + ": " + std::strerror(errno);
        ::close(descriptor);
        ::unlink(temporaryPath.c_str());
        temporaryPath.clear();
        return false;
    }
    return true;
}

bool AtomicFile::commit(std::string& error)
{
    if (!file) {
        error = "no file open for " + inQuotes(targetPath);
        return false;
    }
    const bool written = std::fflush(file) == 0 && !std::ferror(file) && ::fsync(::fileno(file)) == 0;
    const int writeError = errno;
    const bool closed = std::fclose(file) == 0;
    file = nullptr;
    if (!written || !closed) {
        error = "cannot write " + inQuotes(targetPath) + ": " + std::strerror(written ? errno : writeError);
        discard();
        return false;
    }
    if (std::rename(temporaryPath.c_str(), targetPath.c_str()) != 0) {
        error
            = "cannot rename " + inQuotes(temporaryPath) + " to " + inQuotes(targetPath) + ": " + std::strerror(errno);
        discard();
        return false;
    }
    temporaryPath.clear();
    return true;
}

void AtomicFile::discard()
{
    if (file) {
        std::fclose(file);
        file = nullptr;
    }
    if (!temporaryPath.empty()) {
        ::unlink(temporaryPath.c_str());
        temporaryPath.clear();
    }
}

} // namespace vlo::pack
