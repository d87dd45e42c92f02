#pragma once
// Music decoders for the audio back end. The decoder is picked by the file's
// content, never by its name: libsndfile first (WAV in every common coding,
// FLAC, Ogg Vorbis, Ogg Opus, MP3), then libFLAC for FLAC in an Ogg
// container, then libmodplug for tracker modules. Files are streamed through
// the open descriptor; only modules, which libmodplug wants whole, are read
// into memory, and only up to a size no real module comes near.

#include <cstddef>
#include <memory>
#include <string>

namespace vlo {

// Opened on the main thread (so that an open says at once whether the file
// plays), then read and rewound on its voice's decode thread: one thread at
// a time, never two.
class MusicDecoder {
public:
    virtual ~MusicDecoder() = default;

    // Interleaved channels of the decoded samples, 1..8.
    virtual int channels() const = 0;
    // Frames per second of the decoded samples.
    virtual int rate() const = 0;
    // Length of the music in seconds; negative when the decoder cannot tell.
    virtual double seconds() const = 0;
    // Decodes up to `frames` frames of interleaved floats in -1..1 into out;
    // the number decoded, 0 at the end of the music or on a decoding error.
    virtual size_t read(float* out, size_t frames) = 0;
    // Back to the first sample; false when the file cannot seek.
    virtual bool rewind() = 0;
};

// Opens the regular file at path for reading without ever blocking (a FIFO
// or a device is refused by its kind before it is opened); -1 with the
// reason in `why` otherwise.
int openRegularFile(const std::string& path, std::string& why);

// A decoder for the music at path; null with the reason in `why`.
std::unique_ptr<MusicDecoder> openMusicDecoder(const std::string& path, std::string& why);

} // namespace vlo
