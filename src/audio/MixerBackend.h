#pragma once
// The parts of the real audio back end, for tests that reach under the
// player's table: its streams (to open a stream of their own decoder) and
// the SDL device it plays on (to take it away as an unplugged device would
// go; 0 while the silent device keeps time or nothing is open).

#include <SDL.h>

#include "audio/StreamMachine.h"

namespace vlo {

StreamMachine& mixerStreams();
SDL_AudioDeviceID mixerOutputDevice();

} // namespace vlo
