#include "common/FrameTimer.h"

#include "platform/Win32.h"

namespace vlo {

void FrameTimer::start()
{
    startTick = GetTickCount();
    running = true;
}

void FrameTimer::pause()
{
    if (!running)
        return;
    running = false;
    pauseTick = GetTickCount();
}

void FrameTimer::resume()
{
    if (running)
        return;
    running = true;
    startTick += GetTickCount() - pauseTick;
    pauseTick = 0;
}

float FrameTimer::seconds() const
{
    const uint32_t now = running ? GetTickCount() : pauseTick;
    // Unsigned difference: a wrap of the tick counter still gives the elapsed time.
    const uint32_t elapsed = now - startTick;
    return float(elapsed) * 0.001f;
}

} // namespace vlo
