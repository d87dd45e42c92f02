// The process-wide platform switches: the offscreen check, message boxes
// without a display, and shutting the platform down and up again.

#include <cstdlib>
#include <string>

#include <gtest/gtest.h>

#include "platform/Platform.h"
#include "platform/Win32.h"

namespace {

LRESULT quietProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam)
{
    return DefWindowProcA(window, message, wParam, lParam);
}

// Runs the test body under SDL's offscreen video driver (what SDL falls back
// to without a display), then restores the platform as it was.
class OffscreenTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        vlo::platformShutdown();
        const char* display = std::getenv("SDL_VIDEODRIVER");
        savedDriver = display != nullptr ? display : "";
        hadDriver = display != nullptr;
        setenv("SDL_VIDEODRIVER", "offscreen", 1);
        WNDCLASSA c{};
        c.lpfnWndProc = quietProc;
        c.lpszClassName = "VLO Offscreen Test";
        ASSERT_NE(RegisterClassA(&c), 0);
    }

    void TearDown() override
    {
        vlo::setOffscreenAllowed(false);
        vlo::platformShutdown();
        if (hadDriver)
            setenv("SDL_VIDEODRIVER", savedDriver.c_str(), 1);
        else
            unsetenv("SDL_VIDEODRIVER");
    }

    static HWND create()
    {
        return CreateWindowExA(
            0, "VLO Offscreen Test", "t", WS_POPUP, 100, 100, 70, 60, nullptr, nullptr, nullptr, nullptr);
    }

    std::string savedDriver;
    bool hadDriver = false;
};

TEST_F(OffscreenTest, WindowIsRefusedUnlessAllowed)
{
    vlo::setOffscreenAllowed(false);
    EXPECT_TRUE(vlo::isOffscreen());
    EXPECT_EQ(create(), nullptr) << "an offscreen window was created without permission";

    vlo::setOffscreenAllowed(true);
    HWND window = create();
    ASSERT_NE(window, nullptr) << "an allowed offscreen window was refused";
    RECT rect{};
    EXPECT_TRUE(GetClientRect(window, &rect));
    EXPECT_EQ(rect.right, 70);
    EXPECT_TRUE(DestroyWindow(window));
}

// Removes an environment variable for one scope.
class UnsetVariable {
public:
    explicit UnsetVariable(const char* name_)
        : name(name_)
    {
        const char* value = std::getenv(name_);
        had = value != nullptr;
        saved = had ? value : "";
        unsetenv(name_);
    }
    ~UnsetVariable()
    {
        if (had)
            setenv(name, saved.c_str(), 1);
    }

private:
    const char* name;
    bool had = false;
    std::string saved;
};

TEST_F(OffscreenTest, MessageBoxWritesToStandardErrorAndReturnsWithoutADisplay)
{
    // No display at all: the box must not wait for a user who cannot see it.
    UnsetVariable display("DISPLAY");
    UnsetVariable wayland("WAYLAND_DISPLAY");
    ::testing::internal::CaptureStderr();
    const int result
        = MessageBoxA(nullptr, "Error initializing OrbVFS! :-(", "Orrin Tide Vellumo", MB_OK | MB_ICONWARNING);
    const std::string written = ::testing::internal::GetCapturedStderr();
    EXPECT_EQ(result, IDOK);
    EXPECT_NE(written.find("Error initializing OrbVFS! :-("), std::string::npos) << "standard error got: " << written;
    EXPECT_NE(written.find("Orrin Tide Vellumo"), std::string::npos) << "the caption is missing from: " << written;
}

TEST_F(OffscreenTest, MessageBoxOnTheOffscreenDriverShowsNoBox)
{
    // A display may be named, but SDL is told to draw off screen: nobody
    // could close a box there. (Were one shown, this test would hang.)
    ::testing::internal::CaptureStderr();
    EXPECT_EQ(MessageBoxA(nullptr, "text", "caption", MB_OK), IDOK);
    EXPECT_NE(::testing::internal::GetCapturedStderr().find("caption: text"), std::string::npos);
}

TEST_F(OffscreenTest, ShutdownReleasesWindowsAndStartsAfresh)
{
    vlo::setOffscreenAllowed(true);
    HWND window = create();
    ASSERT_NE(window, nullptr);
    SetTimer(window, 0, 10, nullptr);
    PostMessageA(window, WM_TIMER, 0, 0);
    PostQuitMessage(3);

    vlo::platformShutdown();
    RECT rect{};
    EXPECT_FALSE(GetClientRect(window, &rect)) << "the window survived the shutdown";
    EXPECT_FALSE(UnregisterClassA("VLO Offscreen Test", nullptr)) << "the class survived";

    // Everything starts again on demand, with an empty queue.
    WNDCLASSA c{};
    c.lpfnWndProc = quietProc;
    c.lpszClassName = "VLO Offscreen Test";
    ASSERT_NE(RegisterClassA(&c), 0);
    HWND again = create();
    ASSERT_NE(again, nullptr);
    PostMessageA(nullptr, 0x0400, 1, 0);
    MSG m{};
    ASSERT_TRUE(GetMessageA(&m, nullptr, 0, 0));
    EXPECT_EQ(m.message, 0x0400u) << "messages from before the shutdown were kept";
    DestroyWindow(again);
}

} // namespace
