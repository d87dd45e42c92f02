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
//
// Pointer input (mouse moves, presses and releases) waits with its screen
// position in pt; its client position (lParam) is made only when the message
// is taken, against the window's position at that moment. Mouse moves are
// coalesced: a move that arrives while the newest pointer message waiting
// is a move of the same window replaces that one's position, so at most one
// move waits between two presses or releases, and presses and releases keep
// their order relative to the moves.
class MessageQueue {
public:
    // A posted message, or pointer input when `pointer` is set.
    void push(const MSG& message, bool pointer = false);
    // A WM_MOUSEMOVE from the pointer, coalesced as above.
    void pushMouseMove(const MSG& message);
    // Removes and returns the oldest message for which wanted(message) holds;
    // `pointer` tells whether it is pointer input.
    template <typename Predicate> bool take(MSG& out, Predicate wanted, bool& pointer);
    template <typename Predicate> bool take(MSG& out, Predicate wanted)
    {
        bool pointer = false;
        return take(out, wanted, pointer);
    }
    // Copies the oldest message for which wanted(message) holds, leaving it
    // in the queue.
    template <typename Predicate> bool peek(MSG& out, Predicate wanted) const
    {
        for (size_t offset = 0; offset < count; ++offset) {
            const MSG& waiting = slots[(head + offset) % slots.size()].message;
            if (wanted(waiting)) {
                out = waiting;
                return true;
            }
        }
        return false;
    }
    // Drops every message addressed to this window.
    void removeFor(HWND window);
    void clear();
    size_t size() const { return count; }

private:
    struct Entry {
        MSG message;
        bool pointer;
    };

    void eraseAt(size_t offset);
    Entry& at(size_t offset) { return slots[(head + offset) % slots.size()]; }

    std::vector<Entry> slots;
    size_t head = 0;
    size_t count = 0;
};

template <typename Predicate> bool MessageQueue::take(MSG& out, Predicate wanted, bool& pointer)
{
    for (size_t offset = 0; offset < count; ++offset) {
        if (wanted(at(offset).message)) {
            out = at(offset).message;
            pointer = at(offset).pointer;
            eraseAt(offset);
            return true;
        }
    }
    return false;
}

} // namespace sdl
} // namespace vlo
