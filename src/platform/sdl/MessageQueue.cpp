#include "platform/sdl/MessageQueue.h"

namespace vlo {
namespace sdl {

void MessageQueue::push(const MSG& message)
{
    if (count == slots.size()) {
        // Full: unroll into a larger buffer with the oldest message first.
        std::vector<MSG> larger(slots.empty() ? 64 : slots.size() * 2);
        for (size_t i = 0; i < count; ++i)
            larger[i] = at(i);
        slots.swap(larger);
        head = 0;
    }
    slots[(head + count) % slots.size()] = message;
    ++count;
}

void MessageQueue::eraseAt(size_t offset)
{
    if (offset == 0) {
        // The usual case: the oldest message leaves.
        head = (head + 1) % slots.size();
        --count;
        return;
    }
    // Close the gap by moving the later messages one slot forward.
    for (size_t i = offset; i + 1 < count; ++i)
        at(i) = at(i + 1);
    --count;
    if (count == 0)
        head = 0;
}

void MessageQueue::removeFor(HWND window)
{
    size_t kept = 0;
    for (size_t i = 0; i < count; ++i) {
        if (at(i).hwnd != window)
            at(kept++) = at(i);
    }
    count = kept;
    if (count == 0)
        head = 0;
}

void MessageQueue::clear()
{
    head = 0;
    count = 0;
}

} // namespace sdl
} // namespace vlo
