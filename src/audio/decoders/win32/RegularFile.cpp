// Music files are opened only when they are regular files (Windows: the
// path is UTF-8, the program's code page; the file is read as bytes).
#include "audio/decoders/MusicDecoder.h"

#include <fcntl.h>
#include <io.h>
#include <sys/stat.h>

#include <cerrno>
#include <cstring>

namespace vlo {

namespace {

std::string notMusic(unsigned short mode)
{
    const unsigned short kind = mode & _S_IFMT;
    const char* what = kind == _S_IFDIR ? "a folder"
        : kind == _S_IFCHR              ? "a character device"
        : kind == _S_IFIFO              ? "a FIFO (named pipe)"
                                        : "not a regular file";
    return std::string("it is ") + what + ", not a music file";
}

} // namespace

int openRegularFile(const std::string& path, std::string& why)
{
    // Decided by the kind before opening: reading a device never ends.
    struct _stat64 info { };
    if (path.empty() || _stat64(path.c_str(), &info) != 0) {
        why = path.empty() ? "the path is empty" : std::string("it cannot be found: ") + std::strerror(errno);
        return -1;
    }
    if ((info.st_mode & _S_IFMT) != _S_IFREG) {
        why = notMusic(info.st_mode);
        return -1;
    }
    const int fd = _open(path.c_str(), _O_RDONLY | _O_BINARY | _O_NOINHERIT);
    if (fd < 0) {
        why = std::string("it cannot be opened: ") + std::strerror(errno);
        return -1;
    }
    if (_fstat64(fd, &info) != 0 || (info.st_mode & _S_IFMT) != _S_IFREG) {
        why = notMusic(info.st_mode);
        _close(fd);
        return -1;
    }
    return fd;
}

} // namespace vlo
