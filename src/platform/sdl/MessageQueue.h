#pragma once
// The thread's queue of posted and input messages. Never included outside
// src/platform/.

#include <cstddef>
#include <vector>

#include "platform/Win32.h"

namespace vlo {
namespace sdl {

// First-in first-out queue of MSG records in a ring buffer. The storage only
// grows when the queue is full, so a steady stream of messages through the
// main loop allocates nothing.
class MessageQueue {
public:
    void push(const MSG& message);
    // Removes and returns the oldest message for which wanted(message) holds.
    template <typename Predicate>
    bool take(MSG& out, Predicate wanted);
    // Drops every message addressed to this window.
    void removeFor(HWND window);
    void clear();
    size_t size() const { return count; }

private:
    void eraseAt(size_t offset);
    MSG& at(size_t offset) { return slots[(head + offset) % slots.size()]; }

    std::vector<MSG> slots;
    size_t head = 0;
    size_t count = 0;
};

template <typename Predicate>
bool MessageQueue::take(MSG& out, Predicate wanted)
{
    for (size_t offset = 0; offset < count; ++offset) {
        if (wanted(at(offset))) {
            out = at(offset);
            eraseAt(offset);
            return true;
        }
    }
    return false;
}

} // namespace sdl
} // namespace vlo
