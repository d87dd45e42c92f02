#pragma once

namespace vlo {

enum PlayerState { Closed = 0, Playing = 1, Stopped = 2, Paused = 3 };

} // namespace vlo
