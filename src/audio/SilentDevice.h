#pragma once
// The device without a sound card: a thread that takes the mixed samples at
// the output rate by the wall clock and drops them, so that music lasts as
// long as it would have sounded.

#include <condition_variable>
#include <cstddef>
#include <mutex>
#include <thread>

#include "audio/DevicePull.h"

namespace vlo {

class SilentDevice {
public:
    // Starts taking `rate` frames per second from pull, up to `framesPerPull`
    // at a time.
    SilentDevice(int rate, size_t framesPerPull, DevicePull pull, void* user);
    // Stops: returns once the last pull is over.
    ~SilentDevice();
    SilentDevice(const SilentDevice&) = delete;
    SilentDevice& operator=(const SilentDevice&) = delete;

private:
    void loop();

    int rate_;
    size_t framesPerPull_;
    DevicePull pull_;
    void* user_;
    std::mutex mutex_;
    std::condition_variable wake_;
    bool stop_ = false;
    std::thread thread_;
};

} // namespace vlo
