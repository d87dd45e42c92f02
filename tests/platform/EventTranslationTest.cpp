// SDL events become the window messages Windows would queue: pushed into
// SDL's own queue and read back with GetMessageA.

#include <memory>

#include <SDL.h>
#include <gtest/gtest.h>

#include "platform/sdl/EventTranslation.h"
#include "platform/sdl/PlatformWindow.h"
#include "support/TestWindow.h"

namespace {

class EventTranslationTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        window = std::make_unique<vlo::test::TestWindow>(200, 100, DefWindowProcA, "VLO Event Test");
        ASSERT_TRUE(window->valid());
        sdlId = window->handle()->sdlId;
        ASSERT_NE(sdlId, 0u);
        SDL_PumpEvents();
        SDL_FlushEvents(SDL_FIRSTEVENT, SDL_LASTEVENT);
    }

    void TearDown() override
    {
        window.reset();
        // Leave nothing behind for the next test.
        PostMessageA(nullptr, 0x0400, 0xDEAD, 0);
        MSG m{};
        do {
            GetMessageA(&m, nullptr, 0, 0);
        } while (!(m.message == 0x0400 && m.wParam == 0xDEAD));
    }

    // Pushes the event and returns the message it became, or an empty MSG
    // (WM_NULL) when it became none.
    MSG roundTrip(SDL_Event event)
    {
        EXPECT_EQ(SDL_PushEvent(&event), 1) << SDL_GetError();
        // GetMessageA moves SDL's events into the queue behind this first
        // marker and returns the marker; the translated message, if any,
        // then comes before the second marker.
        PostMessageA(nullptr, WM_NULL, 0xBEEF, 0);
        MSG m{};
        GetMessageA(&m, nullptr, 0, 0);
        EXPECT_EQ(m.wParam, 0xBEEFu) << "the first marker did not come first";
        PostMessageA(nullptr, WM_NULL, 0xF00D, 0);
        GetMessageA(&m, nullptr, 0, 0);
        if (m.message == WM_NULL && m.wParam == 0xF00D)
            return MSG{};
        MSG marker{};
        GetMessageA(&marker, nullptr, 0, 0);
        EXPECT_EQ(marker.wParam, 0xF00Du) << "one SDL event became several messages";
        return m;
    }

    SDL_Event mouseMotion(int x, int y)
    {
        SDL_Event event{};
        event.type = SDL_MOUSEMOTION;
        event.motion.windowID = sdlId;
        event.motion.x = x;
        event.motion.y = y;
        return event;
    }

    SDL_Event mouseButton(Uint32 type, Uint8 button, Uint8 clicks, int x, int y)
    {
        SDL_Event event{};
        event.type = type;
        event.button.windowID = sdlId;
        event.button.button = button;
        event.button.clicks = clicks;
        event.button.state = type == SDL_MOUSEBUTTONDOWN ? SDL_PRESSED : SDL_RELEASED;
        event.button.x = x;
        event.button.y = y;
        return event;
    }

    SDL_Event key(Uint32 type, SDL_Keycode sym, Uint16 mod)
    {
        SDL_Event event{};
        event.type = type;
        event.key.windowID = sdlId;
        event.key.state = type == SDL_KEYDOWN ? SDL_PRESSED : SDL_RELEASED;
        event.key.keysym.sym = sym;
        event.key.keysym.mod = mod;
        return event;
    }

    std::unique_ptr<vlo::test::TestWindow> window;
    Uint32 sdlId = 0;
};

TEST_F(EventTranslationTest, MouseMotionPacksTheClientPosition)
{
    const MSG m = roundTrip(mouseMotion(123, 45));
    EXPECT_EQ(m.message, WM_MOUSEMOVE);
    EXPECT_EQ(m.hwnd, window->handle());
    EXPECT_EQ(LOWORD(m.lParam), 123);
    EXPECT_EQ(HIWORD(m.lParam), 45);
}

TEST_F(EventTranslationTest, NegativePositionsReadAsLargeUnsignedWords)
{
    // Left of and above the client area, as seen while the mouse is captured.
    const MSG m = roundTrip(mouseMotion(-5, -20));
    ASSERT_EQ(m.message, WM_MOUSEMOVE);
    EXPECT_EQ(LOWORD(m.lParam), 65531) << "x = -5 as an unsigned 16-bit value";
    EXPECT_EQ(HIWORD(m.lParam), 65516) << "y = -20 as an unsigned 16-bit value";
    EXPECT_EQ(m.lParam, MAKELPARAM(WORD(-5), WORD(-20)));
}

TEST_F(EventTranslationTest, LeftAndRightButtonsOnlyAndNoDoubleClicks)
{
    struct Case {
        Uint32 type;
        Uint8 button;
        Uint8 clicks;
        UINT expected;
    };
    const Case cases[] = {
        {SDL_MOUSEBUTTONDOWN, SDL_BUTTON_LEFT, 1, WM_LBUTTONDOWN},
        {SDL_MOUSEBUTTONUP, SDL_BUTTON_LEFT, 1, WM_LBUTTONUP},
        {SDL_MOUSEBUTTONDOWN, SDL_BUTTON_RIGHT, 1, WM_RBUTTONDOWN},
        {SDL_MOUSEBUTTONUP, SDL_BUTTON_RIGHT, 1, WM_RBUTTONUP},
        // The class has no CS_DBLCLKS: the second press is a press.
        {SDL_MOUSEBUTTONDOWN, SDL_BUTTON_LEFT, 2, WM_LBUTTONDOWN},
        {SDL_MOUSEBUTTONDOWN, SDL_BUTTON_MIDDLE, 1, WM_NULL},
        {SDL_MOUSEBUTTONUP, SDL_BUTTON_MIDDLE, 1, WM_NULL},
    };
    for (const Case& c : cases) {
        const MSG m = roundTrip(mouseButton(c.type, c.button, c.clicks, 10, 20));
        EXPECT_EQ(m.message, c.expected) << "SDL button " << int(c.button) << " type 0x" << std::hex << c.type;
        if (c.expected != WM_NULL) {
            EXPECT_EQ(m.lParam, MAKELPARAM(10, 20));
        }
    }
    SDL_Event wheel{};
    wheel.type = SDL_MOUSEWHEEL;
    wheel.wheel.windowID = sdlId;
    wheel.wheel.y = 1;
    EXPECT_EQ(roundTrip(wheel).message, WM_NULL) << "the wheel is dropped";
}

TEST_F(EventTranslationTest, KeysBecomeVirtualKeysAndAltMakesSystemKeys)
{
    MSG m = roundTrip(key(SDL_KEYDOWN, SDLK_ESCAPE, KMOD_NONE));
    EXPECT_EQ(m.message, WM_KEYDOWN);
    EXPECT_EQ(m.wParam, VK_ESCAPE);
    EXPECT_EQ(m.hwnd, window->handle());

    m = roundTrip(key(SDL_KEYDOWN, SDLK_q, KMOD_NONE));
    EXPECT_EQ(m.message, WM_KEYDOWN);
    EXPECT_EQ(m.wParam, WPARAM('Q')) << "letters are their upper-case codes";

    m = roundTrip(key(SDL_KEYDOWN, SDLK_F4, KMOD_LALT));
    EXPECT_EQ(m.message, WM_SYSKEYDOWN) << "Alt+F4 is a system key";
    EXPECT_EQ(m.wParam, VK_F4);
    EXPECT_NE(m.lParam & (LPARAM(1) << 29), 0) << "the Alt context bit";

    m = roundTrip(key(SDL_KEYUP, SDLK_ESCAPE, KMOD_NONE));
    EXPECT_EQ(m.message, WM_KEYUP);
}

TEST_F(EventTranslationTest, CloseRequestBecomesCloseAndKeepsTheWindow)
{
    SDL_Event close{};
    close.type = SDL_WINDOWEVENT;
    close.window.event = SDL_WINDOWEVENT_CLOSE;
    close.window.windowID = sdlId;
    MSG m = roundTrip(close);
    EXPECT_EQ(m.message, WM_CLOSE);
    EXPECT_EQ(m.hwnd, window->handle());
    EXPECT_NE(GetDC(window->handle()), nullptr) << "the close request destroyed the window";

    SDL_Event quit{};
    quit.type = SDL_QUIT;
    m = roundTrip(quit);
    EXPECT_EQ(m.message, WM_CLOSE) << "SDL_QUIT is a close request for the window";
    EXPECT_EQ(m.hwnd, window->handle());
}

TEST_F(EventTranslationTest, CapturedMouseGoesToTheCapturingWindow)
{
    vlo::test::TestWindow other(50, 50, DefWindowProcA, "VLO Event Test 2");
    ASSERT_TRUE(other.valid());
    SetCapture(other.handle());
    SetWindowPos(other.handle(), nullptr, 300, 100, 0, 0, SWP_NOSIZE);
    SetWindowPos(window->handle(), nullptr, 100, 100, 0, 0, SWP_NOSIZE);
    RECT a{};
    RECT b{};
    GetWindowRect(window->handle(), &a);
    GetWindowRect(other.handle(), &b);
    // Motion over the first window, reported to the capturing one in its
    // own client coordinates.
    const MSG m = roundTrip(mouseMotion(10, 10));
    ReleaseCapture();
    EXPECT_EQ(m.hwnd, other.handle());
    EXPECT_EQ(short(LOWORD(m.lParam)), short(10 + a.left - b.left));
    EXPECT_EQ(short(HIWORD(m.lParam)), short(10 + a.top - b.top));
}

TEST_F(EventTranslationTest, WaitingMotionIsOneMoveAndButtonsKeepTheirOrder)
{
    // Everything is in SDL's queue before GetMessageA reads any of it, as
    // when the loop is busy with a frame: move move move, press, move move,
    // release, move.
    SDL_Event events[] = {mouseMotion(10, 11), mouseMotion(20, 21), mouseMotion(30, 31),
        mouseButton(SDL_MOUSEBUTTONDOWN, SDL_BUTTON_LEFT, 1, 30, 31), mouseMotion(40, 41), mouseMotion(50, 51),
        mouseButton(SDL_MOUSEBUTTONUP, SDL_BUTTON_LEFT, 1, 50, 51), mouseMotion(60, 61)};
    for (SDL_Event& event : events)
        ASSERT_EQ(SDL_PushEvent(&event), 1) << SDL_GetError();
    PostMessageA(nullptr, WM_NULL, 0xBEEF, 0);
    MSG m{};
    GetMessageA(&m, nullptr, 0, 0);
    ASSERT_EQ(m.wParam, 0xBEEFu) << "the first marker did not come first";
    PostMessageA(nullptr, WM_NULL, 0xF00D, 0);

    struct Expected {
        UINT message;
        int x;
        int y;
    };
    const Expected expected[] = {{WM_MOUSEMOVE, 30, 31}, {WM_LBUTTONDOWN, 30, 31}, {WM_MOUSEMOVE, 50, 51},
        {WM_LBUTTONUP, 50, 51}, {WM_MOUSEMOVE, 60, 61}};
    for (const Expected& e : expected) {
        GetMessageA(&m, nullptr, 0, 0);
        ASSERT_NE(m.wParam, 0xF00Du) << "messages missing before the marker";
        EXPECT_EQ(m.message, e.message) << "expected 0x" << std::hex << e.message << ", got 0x" << m.message;
        EXPECT_EQ(m.hwnd, window->handle());
        EXPECT_EQ(m.lParam, MAKELPARAM(e.x, e.y))
            << "expected (" << e.x << ", " << e.y << "), got (" << LOWORD(m.lParam) << ", " << HIWORD(m.lParam) << ")";
    }
    GetMessageA(&m, nullptr, 0, 0);
    EXPECT_EQ(m.message, UINT(WM_NULL));
    EXPECT_EQ(m.wParam, 0xF00Du) << "more messages than expected: 0x" << std::hex << m.message;
}

TEST(VirtualKeyTest, KnownAndUnknownKeys)
{
    EXPECT_EQ(vlo::sdl::virtualKey(SDLK_ESCAPE), VK_ESCAPE);
    EXPECT_EQ(vlo::sdl::virtualKey(SDLK_7), WPARAM('7'));
    EXPECT_EQ(vlo::sdl::virtualKey(SDLK_F12), VK_F12);
    EXPECT_EQ(vlo::sdl::virtualKey(SDLK_RETURN), VK_RETURN);
    EXPECT_EQ(vlo::sdl::virtualKey(SDLK_UNKNOWN), 0u);
}

} // namespace
