#pragma once
// Bounds the memory of a program a test starts, so that a regression that
// makes it grow fails the test instead of taking the machine. Under
// AddressSanitizer (whose shadow memory rules out an address-space limit) the
// child's sanitizer options cap its resident size and its largest single
// allocation and end it with kMemoryBoundExitStatus; otherwise the address
// space of this process is lowered while the child is started, which the
// child inherits.
//
//   MemoryBound bound(600);
//   Program program(binary, folder, {bound.sanitizerOptions(), ...});
//   bound.release();
#include <sys/resource.h>

#include <cstdlib>
#include <string>

namespace vlo::test {

constexpr int kMemoryBoundExitStatus = 66;

class MemoryBound {
public:
    explicit MemoryBound(long megabytes)
        : limitMb(megabytes)
    {
#if !defined(__SANITIZE_ADDRESS__)
        getrlimit(RLIMIT_AS, &previous);
        rlimit bounded = previous;
        bounded.rlim_cur = rlim_t(megabytes) << 20;
        lowered = setrlimit(RLIMIT_AS, &bounded) == 0;
#endif
    }
    ~MemoryBound()
    {
        release();
    }
    MemoryBound(const MemoryBound&) = delete;
    MemoryBound& operator=(const MemoryBound&) = delete;

    // Gives this process its address space back once the child is started.
    void release()
    {
        if (lowered)
            setrlimit(RLIMIT_AS, &previous);
        lowered = false;
    }

    // The ASAN_OPTIONS entry for the child's environment: the test's own
    // options (leak reports off unless they say otherwise) and the bound.
    std::string sanitizerOptions() const
    {
        const char* own = std::getenv("ASAN_OPTIONS");
        std::string options = "ASAN_OPTIONS=" + std::string(own != nullptr ? own : "detect_leaks=0");
        return options + ":hard_rss_limit_mb=" + std::to_string(limitMb)
            + ":max_allocation_size_mb=" + std::to_string(limitMb / 2)
            + ":allocator_may_return_null=0:exitcode=" + std::to_string(kMemoryBoundExitStatus);
    }

private:
    long limitMb;
    rlimit previous{};
    bool lowered = false;
};

} // namespace vlo::test
