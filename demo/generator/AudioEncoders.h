#pragma once
#include <cstdint>
#include <string>
#include <vector>

#include "StereoBuffer.h"

namespace vlo::demo {

// Text tags written into a music file where the format has room for them.
struct AudioTags {
    std::string title;
    std::string artist;
    std::string album;
    int trackNumber = 0;
};

// 16-bit PCM WAV, stereo, kSampleRate; samples beyond -1..1 are clipped.
bool encodeWav(const StereoBuffer& audio, std::vector<uint8_t>& out, std::string& error);

// Ogg Vorbis through libvorbisenc, variable bit rate at `quality` (-0.1 to
// 1.0). The Ogg stream serial number is fixed by `serial`, so the same audio
// always gives the same file.
bool encodeOgg(const StereoBuffer& audio, float quality, int serial, const AudioTags& tags, std::vector<uint8_t>& out,
    std::string& error);

} // namespace vlo::demo
