#pragma once
// How an output device asks for sound: `frames` frames of 16-bit stereo at
// its rate into out, on the device's own thread.

#include <cstddef>
#include <cstdint>

namespace vlo {

using DevicePull = void (*)(void* user, int16_t* out, size_t frames);

} // namespace vlo
