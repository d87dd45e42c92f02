#pragma once
// The decoders behind openMusicDecoder, each tried on an open file from its
// first byte. Each takes the descriptor over when it accepts the file and
// leaves it open (at an unknown offset) when it refuses.

#include <memory>

#include "audio/decoders/MusicDecoder.h"

namespace vlo {

std::unique_ptr<MusicDecoder> openSndfileDecoder(int fd);
std::unique_ptr<MusicDecoder> openOggFlacDecoder(int fd);
std::unique_ptr<MusicDecoder> openModuleDecoder(int fd);

} // namespace vlo
