#include "platform/Platform.h"

#include "platform/ExtractionFiles.h"

#include "platform/sdl/PlatformData.h"

namespace vlo {

void setOffscreenAllowed(bool allowed)
{
    sdl::platformData().offscreenAllowed = allowed;
}

bool isOffscreen()
{
    if (!sdl::ensureVideo())
        return true;
    return sdl::offscreenDriver();
}

void useStartingTerminal()
{
}

void platformShutdown()
{
    sdl::PlatformData& data = sdl::platformData();
    // Whatever the program left behind goes before SDL itself.
    if (data.currentContext != nullptr)
        wglMakeCurrent(nullptr, nullptr);
    while (!data.contexts.empty())
        wglDeleteContext(data.contexts.back().get());
    while (!data.windows.empty()) {
        // Silently: the window procedures may belong to objects already gone.
        PlatformWindow* window = data.windows.back().get();
        window->procedure = nullptr;
        DestroyWindow(window);
    }
    data.classes.clear();
    data.queue.clear();
    data.timers.clear();
    data.capture = nullptr;
    data.quitPosted = false;
    data.quitCode = 0;
    data.pointerSample = sdl::PointerSample{};
    data.eventsReady = false;
    data.videoReady = false;
    SDL_Quit();
    // SDL has given SIGINT and SIGTERM back to their default action; from
    // here to the end they remove the extraction files before ending.
    ExtractionFiles::guardSignals();
}

} // namespace vlo
