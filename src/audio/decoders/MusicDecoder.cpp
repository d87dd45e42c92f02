#include "audio/decoders/MusicDecoder.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>

#include "audio/MusicFiles.h"
#include "audio/decoders/DecoderKinds.h"

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

std::unique_ptr<MusicDecoder> openMusicDecoder(const std::string& path, std::string& why)
{
    const int fd = openRegularFile(path, why);
    if (fd < 0)
        return nullptr;
    using Opener = std::unique_ptr<MusicDecoder> (*)(int);
    for (Opener opener : {openSndfileDecoder, openOggFlacDecoder, openModuleDecoder}) {
        if (lseek(fd, 0, SEEK_SET) != 0)
            break;
        if (std::unique_ptr<MusicDecoder> decoder = opener(fd))
            return decoder;
    }
    close(fd);
    why = "no decoder reads it: not WAV, FLAC, Ogg (Vorbis, Opus or FLAC), MP3 or a tracker module, "
          "or the file is damaged";
    return nullptr;
}

std::string musicFileProblem(const std::string& path)
{
    std::string why;
    return openMusicDecoder(path, why) ? std::string() : why;
}

} // namespace vlo
