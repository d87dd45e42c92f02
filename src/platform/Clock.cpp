#include "platform/Clock.h"

#include <chrono>

#include "platform/Win32.h"

namespace vlo {

namespace {

// Milliseconds of the monotonic clock, cut to 32 bits like the Windows tick
// count (which wraps after about 49.7 days).
uint32_t realTicks()
{
    const auto now = std::chrono::steady_clock::now().time_since_epoch();
    return uint32_t(std::chrono::duration_cast<std::chrono::milliseconds>(now).count());
}

uint32_t (*tickSource)() = realTicks;

} // namespace

void setTickSource(uint32_t (*source)())
{
    tickSource = source != nullptr ? source : realTicks;
}

} // namespace vlo

DWORD GetTickCount()
{
    return vlo::tickSource();
}
