#pragma once
#include <cstdint>

namespace vlo {

// Replaces the millisecond tick source behind GetTickCount. Tests and the
// preview tool drive every animation with it; a null pointer restores the
// real clock.
void setTickSource(uint32_t (*source)());

} // namespace vlo
