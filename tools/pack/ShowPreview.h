#pragma once
#include <cstdint>
#include <memory>
#include <string>

#include "render/FrameCapture.h"

namespace vlo {
class MainWindow;
class ShowScreen;
} // namespace vlo

namespace vlo::pack {

// The show in the current folder, started as the viewer starts it (archive,
// hidden main window, configuration, OpenGL renderer, music player, show
// screen) but on a clock that moves only when a frame is drawn and with an
// audio back end that plays nothing. Only one may exist at a time: the
// platform has one main window and one tick source.
class ShowPreview {
public:
    ShowPreview();
    // Tears everything down in the viewer's order and gives the process back
    // its real clock and audio back end.
    ~ShowPreview();
    ShowPreview(const ShowPreview&) = delete;
    ShowPreview& operator=(const ShowPreview&) = delete;

    // Runs the start-up sequence at show time 0; on failure fills error.
    bool start(std::string& error);

    // Draws the frame the viewer draws at `milliseconds` of show time (the
    // show's logic runs inside the draw) and, when capture is given, reads it
    // before the swap. Times must not go backwards.
    bool drawFrameAt(uint32_t milliseconds, CapturedFrame* capture);

private:
    std::unique_ptr<MainWindow> window;
    std::unique_ptr<ShowScreen> screen;
    bool archiveOpen = false;
};

} // namespace vlo::pack
