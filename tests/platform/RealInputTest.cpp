// Real X input (synthesised with xdotool on DISPLAY=:99) through SDL and the
// event translation into window messages: the mouse capture while a button
// is held, outside coordinates, and the keys the program reacts to.

#include <cstdlib>
#include <memory>
#include <string>

#include <gtest/gtest.h>

#include "platform/Platform.h"
#include "support/TestWindow.h"

namespace {

// The window's top-left corner on the screen; the pointer positions below
// are screen pixels.
constexpr int Left = 300;
constexpr int Top = 300;

bool run(const std::string& command)
{
    return std::system((command + " >/dev/null 2>&1").c_str()) == 0;
}

// Waits for the first message of the given kind; others (pointer noise,
// focus) are skipped. WM_NULL when none came within five seconds.
MSG waitFor(UINT wanted)
{
    const UINT_PTR guard = SetTimer(nullptr, 0, 5000, nullptr);
    MSG m{};
    for (;;) {
        GetMessageA(&m, nullptr, 0, 0);
        if (m.message == WM_TIMER && m.hwnd == nullptr && m.wParam == guard) {
            m = MSG{};
            break;
        }
        if (m.message == wanted)
            break;
    }
    KillTimer(nullptr, guard);
    return m;
}

class RealInputTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        if (std::getenv("DISPLAY") == nullptr || !run("command -v xdotool"))
            GTEST_SKIP() << "needs an X display and xdotool";
        // The pointer starts away from the window, so every move below is
        // a real one and none is left over from before.
        ASSERT_TRUE(run("xdotool mousemove 0 0"));
        window = std::make_unique<vlo::test::TestWindow>(200, 200, DefWindowProcA,
                                                         "VLO Real Input");
        ASSERT_TRUE(window->valid());
        if (vlo::isOffscreen())
            GTEST_SKIP() << "no real display";
        SetWindowPos(window->handle(), nullptr, Left, Top, 0, 0, SWP_NOSIZE);
        ShowWindow(window->handle(), SW_SHOW);
    }

    void TearDown() override
    {
        run("xdotool mouseup 1");
        window.reset();
    }

    std::unique_ptr<vlo::test::TestWindow> window;
};

TEST_F(RealInputTest, CapturedDragReportsOutsidePositionsAndTheRelease)
{
    ASSERT_TRUE(run("xdotool mousemove " + std::to_string(Left + 100) + " " +
                    std::to_string(Top + 100)));
    MSG m = waitFor(WM_MOUSEMOVE);
    ASSERT_EQ(m.hwnd, window->handle()) << "no WM_MOUSEMOVE over the window";
    EXPECT_EQ(m.lParam, MAKELPARAM(100, 100));

    ASSERT_TRUE(run("xdotool mousedown 1"));
    m = waitFor(WM_LBUTTONDOWN);
    ASSERT_EQ(m.hwnd, window->handle()) << "no WM_LBUTTONDOWN";
    EXPECT_EQ(m.lParam, MAKELPARAM(100, 100));
    EXPECT_NE(m.wParam & MK_LBUTTON, 0u);

    // Above and left of the window while the button is held: the window
    // still gets the move, with the negative offsets cut to 16 bits.
    ASSERT_TRUE(run("xdotool mousemove " + std::to_string(Left - 50) + " " +
                    std::to_string(Top - 30)));
    m = waitFor(WM_MOUSEMOVE);
    ASSERT_EQ(m.hwnd, window->handle()) << "no move outside the window while the button is held";
    EXPECT_EQ(LOWORD(m.lParam), 65486) << "x = -50";
    EXPECT_EQ(HIWORD(m.lParam), 65506) << "y = -30";

    ASSERT_TRUE(run("xdotool mousemove " + std::to_string(Left + 300) + " " +
                    std::to_string(Top + 350)));
    m = waitFor(WM_MOUSEMOVE);
    EXPECT_EQ(m.lParam, MAKELPARAM(300, 350));
    ASSERT_TRUE(run("xdotool mouseup 1"));
    m = waitFor(WM_LBUTTONUP);
    ASSERT_EQ(m.hwnd, window->handle()) << "the release outside the window was lost";
    EXPECT_EQ(m.lParam, MAKELPARAM(300, 350));
}

TEST_F(RealInputTest, EscapeAndAltF4)
{
    ASSERT_TRUE(run("xdotool mousemove " + std::to_string(Left + 10) + " " +
                    std::to_string(Top + 10)));
    ASSERT_TRUE(run("xdotool key Escape"));
    MSG m = waitFor(WM_KEYDOWN);
    ASSERT_EQ(m.hwnd, window->handle()) << "no WM_KEYDOWN for Escape";
    EXPECT_EQ(m.wParam, VK_ESCAPE);

    ASSERT_TRUE(run("xdotool key alt+F4"));
    // Alt itself comes first as a system key, then F4.
    do {
        m = waitFor(WM_SYSKEYDOWN);
    } while (m.message == WM_SYSKEYDOWN && m.wParam == VK_MENU);
    ASSERT_EQ(m.message, WM_SYSKEYDOWN) << "no WM_SYSKEYDOWN for Alt+F4";
    EXPECT_EQ(m.wParam, VK_F4);
}

} // namespace
