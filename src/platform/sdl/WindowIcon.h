#pragma once
// The program's icon on its windows; never included outside src/platform/.

#include <SDL.h>

namespace vlo {
namespace sdl {

// Gives the window the program's icon (the picture of the installed
// org.vellumo.Vellumo icon, drawn here at 64 x 64 pixels).
void setWindowIcon(SDL_Window* window);

} // namespace sdl
} // namespace vlo
