#pragma once
#include <cstdint>

namespace vlo {

// Tick-count timer behind every animation: elapsed running time in seconds,
// with pause and resume. Reads time only through GetTickCount (milliseconds).
class FrameTimer {
public:
    virtual ~FrameTimer() = default;

    void start();
    void pause();
    void resume();
    float seconds() const;

    uint32_t startTick = 0;
    uint32_t pauseTick = 0;
    bool running = false;
};

} // namespace vlo
