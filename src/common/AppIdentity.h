#pragma once

namespace vlo {

// The program's reverse-DNS id: the name of its desktop entry and AppStream
// component, its X11 window class and its Wayland application id.
constexpr const char* AppId = "org.vellumo.Vellumo";
// The name the desktop shows for the program.
constexpr const char* AppName = "Vellumo";

} // namespace vlo
