#include "audio/SilentDevice.h"

#include <algorithm>
#include <chrono>
#include <cstdint>
#include <vector>

namespace vlo {

SilentDevice::SilentDevice(int rate, size_t framesPerPull, DevicePull pull, void* user)
    : rate_(rate)
    , framesPerPull_(framesPerPull)
    , pull_(pull)
    , user_(user)
    , thread_(&SilentDevice::loop, this)
{
}

SilentDevice::~SilentDevice()
{
    {
        std::lock_guard<std::mutex> lock(mutex_);
        stop_ = true;
    }
    wake_.notify_all();
    thread_.join();
}

void SilentDevice::loop()
{
    // Takes as many frames as the output rate has made due since the start,
    // every 10 ms, so the music moves on in real time.
    std::vector<int16_t> dropped(framesPerPull_ * 2);
    const auto start = std::chrono::steady_clock::now();
    uint64_t taken = 0;
    std::unique_lock<std::mutex> wait(mutex_);
    while (!stop_) {
        wake_.wait_for(wait, std::chrono::milliseconds(10));
        if (stop_)
            break;
        const double elapsed = std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
        const uint64_t due = uint64_t(elapsed * rate_);
        while (taken < due) {
            const size_t frames = size_t(std::min<uint64_t>(due - taken, framesPerPull_));
            pull_(user_, dropped.data(), frames);
            taken += frames;
        }
    }
}

} // namespace vlo
