#pragma once
// Watching the demo show run: three pictures of its window at moments that
// look different, then the two Escapes that end it.
#include <string>

#include <gtest/gtest.h>

#include "support/E2eProgram.h"

namespace vlo::e2e {

// The program and the demo show the build made.
inline const std::string Vellumo = VLO_BINARY_DIR "/vellumo";
inline const std::string DemoShow = VLO_BINARY_DIR "/demo-show";

// The demo's "next" button, in window pixels (at scale 1).
constexpr int DemoNextX = 545;
constexpr int DemoNextY = 530;

// The moments the test looks at: the title near its full strength, the
// first track once the title has gone, and the second track after "next".
struct DemoPictures {
    Screenshot title;
    Screenshot first;
    Screenshot second;
};

// Runs the show to the second track, taking the three pictures, then
// ends it with two Escapes (the second ends the closing sequence at once).
inline DemoPictures watchDemo(Program& program, const std::string& shotFile)
{
    DemoPictures pictures;
    mouseTo(1270, 1015);
    const WindowInfo window = program.waitForOwnWindow("Emberfall II", 30.0);
    EXPECT_TRUE(window.found) << program.errorOutput();
    if (!window.found)
        return pictures;
    const double shown = program.secondsSinceStart();
    auto waitUntil = [&](double seconds) {
        const double now = program.secondsSinceStart() - shown;
        if (seconds > now)
            sleepSeconds(seconds - now);
    };
    waitUntil(4.15);
    pictures.title = screenshot(window, shotFile);
    waitUntil(10.5);
    pictures.first = screenshot(window, shotFile);
    clickAt(window.x + DemoNextX, window.y + DemoNextY, 1);
    waitUntil(16.0);
    pictures.second = screenshot(window, shotFile);
    keyTo(window.id, "Escape");
    sleepSeconds(1.0);
    keyTo(window.id, "Escape");
    EXPECT_TRUE(program.waitExit(20.0)) << "the show did not end after two Escapes";
    return pictures;
}

} // namespace vlo::e2e
