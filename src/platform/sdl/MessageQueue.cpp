#include "platform/sdl/MessageQueue.h"

namespace vlo {
namespace sdl {

void MessageQueue::push(const MSG& message, bool pointer)
{
    if (count == slots.size()) {
        // Full: unroll into a larger buffer with the oldest message first.
        std::vector<Entry> larger(slots.empty() ? 64 : slots.size() * 2);
        for (size_t i = 0; i < count; ++i)
            larger[i] = at(i);
        slots.swap(larger);
        head = 0;
    }
    slots[(head + count) % slots.size()] = Entry{message, pointer};
    ++count;
}

void MessageQueue::pushMouseMove(const MSG& message)
{
    // The newest pointer message decides: a waiting move of the same window
    // takes the new position; a press or release (or a move of another
    // window) keeps its place and the move queues behind it.
    for (size_t offset = count; offset > 0; --offset) {
        Entry& entry = at(offset - 1);
        if (!entry.pointer)
            continue;
        if (entry.message.message == WM_MOUSEMOVE && entry.message.hwnd == message.hwnd) {
            entry.message = message;
            return;
        }
        break;
    }
    push(message, true);
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
        if (at(i).message.hwnd != window)
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
