// Real X input (synthesised with xdotool on DISPLAY=:99) through SDL and the
// event translation into window messages: the mouse capture while a button
// is held, outside coordinates, and the keys the program reacts to.

#include <cstdlib>
#include <memory>
#include <string>
#include <vector>

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
        window = std::make_unique<vlo::test::TestWindow>(200, 200, DefWindowProcA, "VLO Real Input");
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
    ASSERT_TRUE(run("xdotool mousemove " + std::to_string(Left + 100) + " " + std::to_string(Top + 100)));
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
    ASSERT_TRUE(run("xdotool mousemove " + std::to_string(Left - 50) + " " + std::to_string(Top - 30)));
    m = waitFor(WM_MOUSEMOVE);
    ASSERT_EQ(m.hwnd, window->handle()) << "no move outside the window while the button is held";
    EXPECT_EQ(LOWORD(m.lParam), 65486) << "x = -50";
    EXPECT_EQ(HIWORD(m.lParam), 65506) << "y = -30";

    ASSERT_TRUE(run("xdotool mousemove " + std::to_string(Left + 300) + " " + std::to_string(Top + 350)));
    m = waitFor(WM_MOUSEMOVE);
    EXPECT_EQ(m.lParam, MAKELPARAM(300, 350));
    ASSERT_TRUE(run("xdotool mouseup 1"));
    m = waitFor(WM_LBUTTONUP);
    ASSERT_EQ(m.hwnd, window->handle()) << "the release outside the window was lost";
    EXPECT_EQ(m.lParam, MAKELPARAM(300, 350));
}

// Points the pointer at (x, y) on the screen and waits until the events it
// made have reached this program: the window-rectangle query is a round trip
// to the X server, which sends every event made before it ahead of its reply.
void pointerTo(HWND window, int x, int y, const std::string& then = "")
{
    ASSERT_TRUE(run("xdotool mousemove " + std::to_string(x) + " " + std::to_string(y) + then));
    RECT ignored{};
    GetWindowRect(window, &ignored);
}

// The messages that were waiting when it was called, in their order, up to
// a marker posted behind them.
std::vector<MSG> waitingMessages()
{
    constexpr UINT Marker = 0x0400;
    // GetMessageA first moves every waiting event into the queue, behind
    // this first marker; the second marker then goes in behind them.
    PostMessageA(nullptr, Marker, 1, 0);
    MSG m{};
    GetMessageA(&m, nullptr, 0, 0);
    PostMessageA(nullptr, Marker, 2, 0);
    std::vector<MSG> waiting;
    for (;;) {
        GetMessageA(&m, nullptr, 0, 0);
        if (m.message == Marker && m.wParam == 2)
            return waiting;
        if (m.message != Marker)
            waiting.push_back(m);
    }
}

std::vector<MSG> pointerMessages(const std::vector<MSG>& messages)
{
    std::vector<MSG> pointer;
    for (const MSG& m : messages)
        if (m.message >= WM_MOUSEMOVE && m.message <= WM_RBUTTONDBLCLK)
            pointer.push_back(m);
    return pointer;
}

std::string positionOf(const MSG& m)
{
    return "(" + std::to_string(short(LOWORD(m.lParam))) + ", " + std::to_string(short(HIWORD(m.lParam))) + ")";
}

TEST_F(RealInputTest, MotionWaitingIsOneMoveAtTheLatestPosition)
{
    pointerTo(window->handle(), Left + 10, Top + 10);
    waitingMessages();
    // Five motions in one go, all made before the program reads any.
    std::string more;
    for (int i = 1; i <= 4; ++i)
        more += " mousemove " + std::to_string(Left + 10 + 15 * i) + " " + std::to_string(Top + 10 + 7 * i);
    pointerTo(window->handle(), Left + 5, Top + 5, more);
    const std::vector<MSG> moves = pointerMessages(waitingMessages());
    ASSERT_EQ(moves.size(), 1u) << "expected one waiting WM_MOUSEMOVE for five motions";
    EXPECT_EQ(moves[0].message, UINT(WM_MOUSEMOVE));
    EXPECT_EQ(moves[0].lParam, MAKELPARAM(70, 38)) << "got " << positionOf(moves[0]);
}

TEST_F(RealInputTest, AWindowMovedBeforeTheMessageIsReadGetsThePositionAgainstItsNewPlace)
{
    pointerTo(window->handle(), Left + 100, Top + 100);
    waitingMessages();
    ASSERT_TRUE(run("xdotool mousedown 1"));
    pointerTo(window->handle(), Left + 100, Top + 100);
    std::vector<MSG> pointer = pointerMessages(waitingMessages());
    ASSERT_FALSE(pointer.empty());
    ASSERT_EQ(pointer.back().message, UINT(WM_LBUTTONDOWN));

    // As in a drag: the pointer moves 30,20, and the window follows the
    // first part of that (10,5) before the move is read. The move then says
    // where the pointer is against the window as it stands, 20,15 on from
    // the grab point: the rest of the motion, neither lost nor counted twice.
    pointerTo(window->handle(), Left + 130, Top + 120);
    SetWindowPos(window->handle(), nullptr, Left + 10, Top + 5, 0, 0, SWP_NOSIZE);
    RECT moved{};
    ASSERT_TRUE(GetWindowRect(window->handle(), &moved));
    ASSERT_EQ(moved.left, Left + 10) << "the window did not move";
    pointer = pointerMessages(waitingMessages());
    ASSERT_EQ(pointer.size(), 1u);
    EXPECT_EQ(pointer[0].message, UINT(WM_MOUSEMOVE));
    EXPECT_EQ(pointer[0].lParam, MAKELPARAM(120, 115)) << "got " << positionOf(pointer[0]);
    EXPECT_EQ(pointer[0].pt.x, Left + 130) << "the screen position";
    EXPECT_EQ(pointer[0].pt.y, Top + 120);

    // The same for a release read after the window moved again.
    pointerTo(window->handle(), Left + 130, Top + 120, " mouseup 1");
    SetWindowPos(window->handle(), nullptr, Left + 30, Top + 20, 0, 0, SWP_NOSIZE);
    ASSERT_TRUE(GetWindowRect(window->handle(), &moved));
    ASSERT_EQ(moved.left, Left + 30) << "the window did not move";
    pointer = pointerMessages(waitingMessages());
    ASSERT_FALSE(pointer.empty());
    EXPECT_EQ(pointer.back().message, UINT(WM_LBUTTONUP));
    EXPECT_EQ(pointer.back().lParam, MAKELPARAM(100, 100)) << "got " << positionOf(pointer.back());
}

TEST_F(RealInputTest, EscapeAndAltF4)
{
    ASSERT_TRUE(run("xdotool mousemove " + std::to_string(Left + 10) + " " + std::to_string(Top + 10)));
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
