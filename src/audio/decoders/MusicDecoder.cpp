#include "audio/decoders/MusicDecoder.h"

#include <unistd.h>

#include "audio/MusicFiles.h"
#include "audio/decoders/DecoderKinds.h"

namespace vlo {

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
