#pragma once
// Counts threads that run on their own (detached), so that whoever started
// them can wait until the last has finished: each thread holds the count
// and calls done() as its very last step.

#include <condition_variable>
#include <mutex>

namespace vlo {

class ThreadCount {
public:
    void started()
    {
        std::lock_guard<std::mutex> lock(mutex_);
        ++running_;
    }

    void done()
    {
        std::lock_guard<std::mutex> lock(mutex_);
        --running_;
        finished_.notify_all();
    }

    void waitForAll()
    {
        std::unique_lock<std::mutex> lock(mutex_);
        finished_.wait(lock, [this] { return running_ == 0; });
    }

private:
    std::mutex mutex_;
    std::condition_variable finished_;
    int running_ = 0;
};

} // namespace vlo
