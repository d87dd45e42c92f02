#pragma once
// The SDL audio device the real audio back end plays on, for tests that take
// it away under the mixer as an unplugged device would go: 0 while the
// silent device keeps time (or nothing is open).

#include <SDL.h>

namespace vlo {

SDL_AudioDeviceID mixerOutputDevice();

} // namespace vlo
