// Dragging the real program's window by its background with real X input:
// one press, a number of pointer steps with a pause between them, one
// release, each sent by one xdotool command. Whatever the number, size and
// speed of the steps (including steps far faster than frames, steps of more
// than 50 pixels, and equal steps, after each of which the pointer is back at
// the same place in the window), the window ends moved by exactly the
// pointer's motion.
#include <gtest/gtest.h>

#include <iterator>
#include <string>

#include "support/E2eProgram.h"
#include "support/E2eShow.h"

namespace vlo {
namespace {

using namespace e2e;

// Where each drag grabs the window, in window pixels: the middle of the
// background (the track picture lies over it and lets the press through).
// Even if the window has not followed at all yet, every pointer position of
// a drag stays inside the client area; outside it a move is dropped.
constexpr int GrabX = 350;
constexpr int GrabY = 300;

struct DragCase {
    int steps;
    int pauseMs;
    // Every step the same (dx, dy) when either is not 0.
    int dx = 0;
    int dy = 0;
};

// The pointer's motion of step i of a drag with `steps` steps: one large
// step, five steps over 50 pixels, or forty small and uneven ones.
void stepOf(int steps, int i, int& dx, int& dy)
{
    if (steps == 1) {
        dx = 123;
        dy = 77;
    } else if (steps <= 5) {
        dx = 55 + i;
        dy = 51 - i;
    } else {
        dx = 1 + (i * 7) % 9;
        dy = (i * 5) % 7;
    }
}

TEST(Drag, WindowFollowsThePointerExactlyForAnyStepsAndSpeed)
{
    if (displayName().empty())
        GTEST_SKIP() << "no X display (DISPLAY is not set)";
    if (!run("command -v xdotool >/dev/null 2>&1"))
        GTEST_SKIP() << "needs xdotool";
    test::ScratchDir folder("e2e-drag");
    writeShow(folder, show::standardShow(2));
    Program program(VLO_BINARY_DIR "/vellumo", folder.path(), {"SDL_AUDIODRIVER=dummy"});
    WindowInfo window = program.waitForWindow("Emberfall II", 30.0);
    ASSERT_TRUE(window.found) << "no window; stderr: " << program.errorOutput();

    const DragCase cases[] = {{1, 0}, {1, 20}, {1, 100}, {5, 0}, {5, 20}, {5, 100}, {40, 0}, {40, 20}, {40, 100},
        {5, 50, 10, 6}, {5, 300, 10, 6}, {20, 50, 5, 0}, {40, 50, 1, 0}, {40, 20, 0, 1}};
    for (size_t c = 0; c < std::size(cases); ++c) {
        const DragCase& drag = cases[c];
        SCOPED_TRACE(std::to_string(drag.steps) + " steps of (" + std::to_string(drag.dx) + ","
            + std::to_string(drag.dy) + "), " + std::to_string(drag.pauseMs) + " ms apart");
        ASSERT_TRUE(program.running()) << program.errorOutput();
        // Every drag starts from the same place, whatever the one before did;
        // the pointer then comes to the grab point, which anchors the drag.
        run("xdotool windowmove " + window.id + " 100 100 >/dev/null 2>&1");
        window = settledWindow("Emberfall II");
        ASSERT_TRUE(window.found);
        ASSERT_EQ(window.x, 100) << "the window could not be put back";
        ASSERT_EQ(window.y, 100) << "the window could not be put back";
        mouseTo(window.x + GrabX - 20, window.y + GrabY - 20);
        sleepSeconds(0.1);
        mouseTo(window.x + GrabX, window.y + GrabY);
        sleepSeconds(0.3);
        // Right and down on even cases, left and up on odd ones.
        const int direction = c % 2 == 0 ? 1 : -1;
        int pointerX = window.x + GrabX;
        int pointerY = window.y + GrabY;
        const int startX = window.x;
        const int startY = window.y;
        std::string command = "xdotool mousedown 1";
        for (int i = 0; i < drag.steps; ++i) {
            int dx = 0;
            int dy = 0;
            stepOf(drag.steps, i, dx, dy);
            if (drag.dx != 0 || drag.dy != 0) {
                dx = drag.dx;
                dy = drag.dy;
            }
            pointerX += direction * dx;
            pointerY += direction * dy;
            if (drag.pauseMs > 0)
                command += " sleep " + std::to_string(drag.pauseMs / 1000.0);
            command += " mousemove " + std::to_string(pointerX) + " " + std::to_string(pointerY);
        }
        command += " mouseup 1";
        ASSERT_TRUE(run(command + " >/dev/null 2>&1"));
        const int movedX = pointerX - (startX + GrabX);
        const int movedY = pointerY - (startY + GrabY);

        window = settledWindow("Emberfall II");
        ASSERT_TRUE(window.found);
        EXPECT_EQ(window.x - startX, movedX) << "pointer moved " << movedX << "," << movedY << "; window moved "
                                             << window.x - startX << "," << window.y - startY;
        EXPECT_EQ(window.y - startY, movedY) << "pointer moved " << movedX << "," << movedY << "; window moved "
                                             << window.x - startX << "," << window.y - startY;
    }

    // Escape ends the program at once during the title, or starts the
    // closing sequence after it, which a second Escape cuts short.
    keyTo(window.id, "Escape");
    if (!program.waitExit(1.5))
        keyTo(window.id, "Escape");
    EXPECT_TRUE(program.waitExit(5.0)) << "the program did not end after Escape";
    EXPECT_EQ(program.exitStatus(), 0) << program.errorOutput();
}

} // namespace
} // namespace vlo
