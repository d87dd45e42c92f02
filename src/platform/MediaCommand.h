#pragma once

namespace vlo {

// What the keyboard's player keys and the desktop's media controls ask of
// the show: the player panel's four buttons, and the window's quit and raise.
enum class MediaCommand { PlayPause, Play, Pause, Stop, Next, Previous, Quit, Raise };

} // namespace vlo
