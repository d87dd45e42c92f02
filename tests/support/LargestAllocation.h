#pragma once
// Notes the largest single allocation made on this thread while a probe is
// switched on, through the sanitizer runtime's allocation hook. Without
// AddressSanitizer there is no hook: available() is false and callers skip.
//
//   LargestAllocation probe;
//   probe.start();  decode(...);  probe.stop();
//   EXPECT_LT(probe.largest(), 1u << 20);
#include <cstddef>

#if defined(__SANITIZE_ADDRESS__)
#define VLO_LARGEST_ALLOCATION_HOOK 1
// In the sanitizer runtime, though not in every compiler's headers.
extern "C" int __sanitizer_install_malloc_and_free_hooks(
    void (*onAllocate)(const volatile void*, size_t), void (*onRelease)(const volatile void*));
#endif

namespace vlo::test {

class LargestAllocation {
public:
    static bool available()
    {
#ifdef VLO_LARGEST_ALLOCATION_HOOK
        static const bool installed = __sanitizer_install_malloc_and_free_hooks(note, ignore) != 0;
        return installed;
#else
        return false;
#endif
    }

    void start()
    {
        state().largest = 0;
        state().watching = true;
    }
    void stop()
    {
        state().watching = false;
    }
    size_t largest() const
    {
        return state().largest;
    }

private:
    struct State {
        bool watching = false;
        size_t largest = 0;
    };
    static State& state()
    {
        static thread_local State here;
        return here;
    }
    static void note(const volatile void*, size_t size)
    {
        State& s = state();
        if (s.watching && size > s.largest)
            s.largest = size;
    }
    static void ignore(const volatile void*)
    {
    }
};

} // namespace vlo::test
