// The desktop's whole-number scale: how the scale variables, densities and
// X resources are read, which scale a new window gets, and that a scaled
// window still shows the program its own size and pixels.

#include <cmath>
#include <cstdlib>
#include <memory>
#include <string>

#include <SDL.h>
#include <gtest/gtest.h>

#include "platform/Platform.h"
#include "platform/sdl/DesktopScale.h"
#include "platform/sdl/PlatformWindow.h"
#include "support/TestWindow.h"

namespace {

using vlo::sdl::xftDpiOf;

TEST(DesktopScaleTest, XftDpiIsFoundOnItsOwnLine)
{
    EXPECT_EQ(xftDpiOf("Xft.dpi:\t192\n"), 192.0);
    EXPECT_EQ(xftDpiOf("Xft.antialias:\t1\nXft.dpi:\t144\nXft.hinting:\t1\n"), 144.0);
    EXPECT_EQ(xftDpiOf("Xcursor.size:\t48\nXft.dpi: 288"), 288.0) << "last line without a newline";
    EXPECT_EQ(xftDpiOf("NotXft.dpi:\t500\nXft.dpi:\t192\n"), 192.0) << "a longer name is another resource";
    EXPECT_EQ(xftDpiOf("Xft.dpix:\t192\n"), 0.0);
    EXPECT_EQ(xftDpiOf("Xft.antialias:\t1\n"), 0.0);
    EXPECT_EQ(xftDpiOf(""), 0.0);
    EXPECT_EQ(xftDpiOf(nullptr), 0.0) << "a display without resources";
}

// Sets an environment variable for one test and puts the old value back.
class ScopedVariable {
public:
    ScopedVariable(const char* name, const char* value)
        : name_(name)
    {
        const char* old = std::getenv(name);
        hadOld_ = old != nullptr;
        if (hadOld_)
            old_ = old;
        if (value != nullptr)
            setenv(name, value, 1);
        else
            unsetenv(name);
    }
    ~ScopedVariable()
    {
        if (hadOld_)
            setenv(name_, old_.c_str(), 1);
        else
            unsetenv(name_);
    }
    ScopedVariable(const ScopedVariable&) = delete;
    ScopedVariable& operator=(const ScopedVariable&) = delete;

private:
    const char* name_;
    bool hadOld_ = false;
    std::string old_;
};

class ScaledWindowTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        if (std::getenv("DISPLAY") == nullptr)
            GTEST_SKIP() << "needs an X display";
    }

    void TearDown() override
    {
        // Leave no pointer message behind for the next test.
        PostMessageA(nullptr, 0x0400, 0xDEAD, 0);
        MSG m{};
        do {
            GetMessageA(&m, nullptr, 0, 0);
        } while (!(m.message == 0x0400 && m.wParam == 0xDEAD));
    }

    // A window of width x height program pixels made with the variables as
    // they are now; its size on the screen in screenWidth x screenHeight.
    std::unique_ptr<vlo::test::TestWindow> makeWindow(int width, int height)
    {
        auto window = std::make_unique<vlo::test::TestWindow>(width, height, DefWindowProcA, "VLO Scale Test");
        if (!window->valid())
            return window;
        SDL_GetWindowSize(window->handle()->sdl, &screenWidth, &screenHeight);
        return window;
    }

    // The screen's usable size, for the cases that need it small or large.
    static SDL_Rect usableBounds(HWND window)
    {
        SDL_Rect usable{};
        SDL_GetDisplayUsableBounds(SDL_GetWindowDisplayIndex(window->sdl), &usable);
        return usable;
    }

    int screenWidth = 0;
    int screenHeight = 0;
};

TEST_F(ScaledWindowTest, ForcedScaleTwoShowsTheWindowTwiceAsLargeAndTheProgramItsOwnPixels)
{
    ScopedVariable forced("VELLUMO_SCALE", "2");
    auto window = makeWindow(300, 200);
    ASSERT_TRUE(window->valid());
    if (vlo::isOffscreen())
        GTEST_SKIP() << "no real display";
    EXPECT_EQ(screenWidth, 600);
    EXPECT_EQ(screenHeight, 400);
    RECT client{};
    ASSERT_TRUE(GetClientRect(window->handle(), &client));
    EXPECT_EQ(client.right, 300);
    EXPECT_EQ(client.bottom, 200);

    // Positions are program pixels: a move to (40, 30) is the screen's
    // (80, 60), and the window reports the place it was given.
    SetWindowPos(window->handle(), nullptr, 40, 30, 0, 0, SWP_NOSIZE);
    int x = 0;
    int y = 0;
    SDL_GetWindowPosition(window->handle()->sdl, &x, &y);
    EXPECT_EQ(x, 80);
    EXPECT_EQ(y, 60);
    RECT rect{};
    ASSERT_TRUE(GetWindowRect(window->handle(), &rect));
    EXPECT_EQ(rect.left, 40);
    EXPECT_EQ(rect.top, 30);
    EXPECT_EQ(rect.right - rect.left, 300);
    EXPECT_EQ(rect.bottom - rect.top, 200);

    // The pointer at window pixel (201, 121) is program pixel (100, 60), for
    // moves and presses alike; the screen position is shrunk the same way.
    SDL_Event motion{};
    motion.type = SDL_MOUSEMOTION;
    motion.motion.windowID = window->handle()->sdlId;
    motion.motion.x = 201;
    motion.motion.y = 121;
    SDL_Event press{};
    press.type = SDL_MOUSEBUTTONDOWN;
    press.button.windowID = window->handle()->sdlId;
    press.button.button = SDL_BUTTON_LEFT;
    press.button.state = SDL_PRESSED;
    press.button.clicks = 1;
    press.button.x = 201;
    press.button.y = 121;
    ASSERT_EQ(SDL_PushEvent(&motion), 1) << SDL_GetError();
    ASSERT_EQ(SDL_PushEvent(&press), 1) << SDL_GetError();
    MSG m{};
    GetMessageA(&m, nullptr, 0, 0);
    EXPECT_EQ(m.message, UINT(WM_MOUSEMOVE));
    EXPECT_EQ(m.lParam, MAKELPARAM(100, 60)) << "got (" << LOWORD(m.lParam) << ", " << HIWORD(m.lParam) << ")";
    EXPECT_EQ(m.pt.x, 40 + 100);
    EXPECT_EQ(m.pt.y, 30 + 60);
    GetMessageA(&m, nullptr, 0, 0);
    EXPECT_EQ(m.message, UINT(WM_LBUTTONDOWN));
    EXPECT_EQ(m.lParam, MAKELPARAM(100, 60)) << "got (" << LOWORD(m.lParam) << ", " << HIWORD(m.lParam) << ")";
}

TEST_F(ScaledWindowTest, DesktopScaleShrinksUntilTheWindowFits)
{
    ScopedVariable forced("VELLUMO_SCALE", nullptr);
    ScopedVariable desktop("GDK_SCALE", "4");
    auto probe = makeWindow(100, 100);
    ASSERT_TRUE(probe->valid());
    if (vlo::isOffscreen())
        GTEST_SKIP() << "no real display";
    const SDL_Rect usable = usableBounds(probe->handle());
    probe.reset();
    if (usable.w < 1200 || usable.h < 900 || usable.w >= 1600 || usable.h >= 1200)
        GTEST_SKIP() << "needs a screen of at least 1200 x 900 and less than 1600 x 1200, not " << usable.w << " x "
                     << usable.h;

    // 400 x 300 at 4 is 1600 x 1200, too large; at 3 it fits.
    auto window = makeWindow(400, 300);
    ASSERT_TRUE(window->valid());
    EXPECT_EQ(screenWidth, 1200);
    EXPECT_EQ(screenHeight, 900);
    RECT client{};
    ASSERT_TRUE(GetClientRect(window->handle(), &client));
    EXPECT_EQ(client.right, 400);
    EXPECT_EQ(client.bottom, 300);
    window.reset();

    // 700 x 600 fits at no scale above 1 on a screen below 1400 x 1200.
    window = makeWindow(700, 600);
    ASSERT_TRUE(window->valid());
    EXPECT_EQ(screenWidth, 700) << "the window does not fit at scale 2 and must stay at 1";
    EXPECT_EQ(screenHeight, 600);
}

TEST_F(ScaledWindowTest, ScaleOneChangesNothing)
{
    ScopedVariable forced("VELLUMO_SCALE", "1");
    ScopedVariable desktop("GDK_SCALE", "2");
    auto window = makeWindow(300, 200);
    ASSERT_TRUE(window->valid());
    if (vlo::isOffscreen())
        GTEST_SKIP() << "no real display";
    EXPECT_EQ(screenWidth, 300) << "VELLUMO_SCALE=1 comes before the desktop's scale";
    EXPECT_EQ(screenHeight, 200);
    SetWindowPos(window->handle(), nullptr, 41, 31, 0, 0, SWP_NOSIZE);
    RECT rect{};
    ASSERT_TRUE(GetWindowRect(window->handle(), &rect));
    EXPECT_EQ(rect.left, 41);
    EXPECT_EQ(rect.top, 31);
}

} // namespace
