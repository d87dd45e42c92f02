// Music files are opened only when they are regular files (POSIX).
#include "audio/decoders/MusicDecoder.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>

namespace vlo {

namespace {

// What a file that is not a regular one is, for the refusal.
const char* kindOf(mode_t mode)
{
    if (S_ISDIR(mode))
        return "a folder";
    if (S_ISCHR(mode))
        return "a character device";
    if (S_ISBLK(mode))
        return "a block device";
    if (S_ISFIFO(mode))
        return "a FIFO (named pipe)";
    if (S_ISSOCK(mode))
        return "a socket";
    return "not a regular file";
}

std::string notMusic(mode_t mode)
{
    return std::string("it is ") + kindOf(mode) + ", not a music file";
}

} // namespace

int openRegularFile(const std::string& path, std::string& why)
{
    // Decided by the kind before opening: opening a FIFO without a writer
    // blocks, and reading a device never ends.
    struct stat info { };
    if (path.empty() || stat(path.c_str(), &info) != 0) {
        why = path.empty() ? "the path is empty" : std::string("it cannot be found: ") + std::strerror(errno);
        return -1;
    }
    if (!S_ISREG(info.st_mode)) {
        why = notMusic(info.st_mode);
        return -1;
    }
    // Non-blocking, in case the name was swapped for a FIFO since.
    const int fd = open(path.c_str(), O_RDONLY | O_NONBLOCK | O_CLOEXEC | O_NOCTTY);
    if (fd < 0) {
        why = std::string("it cannot be opened: ") + std::strerror(errno);
        return -1;
    }
    if (fstat(fd, &info) != 0 || !S_ISREG(info.st_mode)) {
        why = notMusic(info.st_mode);
        close(fd);
        return -1;
    }
    return fd;
}

} // namespace vlo
