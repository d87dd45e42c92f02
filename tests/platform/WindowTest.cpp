// Window classes, window creation and destruction, geometry, text, showing
// and mouse capture.

#include <cstring>
#include <string>
#include <vector>

#include <SDL.h>
#include <gtest/gtest.h>

#include "platform/sdl/PlatformWindow.h"
#include "support/TestWindow.h"

namespace {

std::vector<UINT>& calls()
{
    static std::vector<UINT> messages;
    return messages;
}

// Records messages; checks that WM_DESTROY arrives while the window exists.
LRESULT recordingProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam)
{
    calls().push_back(message);
    if (message == WM_DESTROY) {
        RECT rect{};
        EXPECT_TRUE(GetClientRect(window, &rect)) << "WM_DESTROY came after the window was gone";
    }
    return DefWindowProcA(window, message, wParam, lParam);
}

LRESULT refusingProc(HWND, UINT message, WPARAM, LPARAM)
{
    return message == WM_CREATE ? -1 : 0;
}

WNDCLASSA windowClass(const char* name, WNDPROC procedure)
{
    WNDCLASSA c{};
    c.style = CS_HREDRAW | CS_VREDRAW | CS_OWNDC;
    c.lpfnWndProc = procedure;
    c.hIcon = LoadIconA(nullptr, IDI_APPLICATION);
    c.hCursor = LoadCursorA(nullptr, IDC_ARROW);
    c.lpszClassName = name;
    return c;
}

bool sdlVisible(HWND window)
{
    return (SDL_GetWindowFlags(window->sdl) & SDL_WINDOW_SHOWN) != 0;
}

TEST(WindowTest, ClassRegistrationRules)
{
    vlo::setOffscreenAllowed(true);
    char name[] = "VLO Class Test";
    const WNDCLASSA c = windowClass(name, recordingProc);
    ASSERT_NE(RegisterClassA(&c), 0);
    EXPECT_EQ(RegisterClassA(&c), 0) << "a class name registers once";
    // The name was copied: changing the caller's buffer changes nothing.
    name[0] = 'X';
    HWND window = CreateWindowExA(0, "VLO Class Test", "w", WS_POPUP, 0, 0, 10, 10, nullptr, nullptr, nullptr, nullptr);
    ASSERT_NE(window, nullptr);
    EXPECT_FALSE(UnregisterClassA("VLO Class Test", nullptr)) << "the class still has a window";
    DestroyWindow(window);
    EXPECT_TRUE(UnregisterClassA("VLO Class Test", nullptr));
    EXPECT_FALSE(UnregisterClassA("VLO Class Test", nullptr)) << "unregistered twice";
    EXPECT_EQ(
        CreateWindowExA(0, "VLO Class Test", "w", WS_POPUP, 0, 0, 10, 10, nullptr, nullptr, nullptr, nullptr), nullptr)
        << "a window of an unregistered class";

    WNDCLASSA noProcedure = windowClass("VLO No Procedure", nullptr);
    EXPECT_EQ(RegisterClassA(&noProcedure), 0);
    EXPECT_NE(LoadIconA(nullptr, IDI_APPLICATION), nullptr);
    EXPECT_NE(LoadCursorA(nullptr, IDC_ARROW), nullptr);
}

TEST(WindowTest, CreationSendsCreateAndDestructionSendsDestroy)
{
    vlo::setOffscreenAllowed(true);
    const WNDCLASSA c = windowClass("VLO Lifecycle Test", recordingProc);
    ASSERT_NE(RegisterClassA(&c), 0);
    calls().clear();
    HWND window = CreateWindowExA(
        0, "VLO Lifecycle Test", "VLO Window", WS_POPUP, 100, 100, 700, 600, nullptr, nullptr, nullptr, nullptr);
    ASSERT_NE(window, nullptr);
    ASSERT_EQ(calls().size(), 1u);
    EXPECT_EQ(calls()[0], WM_CREATE);
    EXPECT_FALSE(sdlVisible(window)) << "a window without WS_VISIBLE starts hidden";
    EXPECT_EQ(SDL_GetWindowFlags(window->sdl) & SDL_WINDOW_BORDERLESS, Uint32(SDL_WINDOW_BORDERLESS));

    calls().clear();
    EXPECT_TRUE(DestroyWindow(window));
    ASSERT_EQ(calls().size(), 1u);
    EXPECT_EQ(calls()[0], WM_DESTROY);
    EXPECT_FALSE(DestroyWindow(window)) << "a window is destroyed once";
    UnregisterClassA("VLO Lifecycle Test", nullptr);

    const WNDCLASSA refusing = windowClass("VLO Refusing Test", refusingProc);
    ASSERT_NE(RegisterClassA(&refusing), 0);
    EXPECT_EQ(CreateWindowExA(0, "VLO Refusing Test", "", WS_POPUP, 0, 0, 10, 10, nullptr, nullptr, nullptr, nullptr),
        nullptr)
        << "WM_CREATE answered -1 refuses the window";
    EXPECT_TRUE(UnregisterClassA("VLO Refusing Test", nullptr)) << "the refused window was kept";
}

TEST(WindowTest, ClientAndWindowRectanglesAndMoving)
{
    vlo::test::TestWindow window(700, 600);
    ASSERT_TRUE(window.valid());
    RECT client{};
    ASSERT_TRUE(GetClientRect(window.handle(), &client));
    EXPECT_EQ(client.left, 0);
    EXPECT_EQ(client.top, 0);
    EXPECT_EQ(client.right, 700);
    EXPECT_EQ(client.bottom, 600);

    RECT placed{};
    ASSERT_TRUE(GetWindowRect(window.handle(), &placed));
    EXPECT_EQ(placed.left, 100) << "created at x = 100";
    EXPECT_EQ(placed.top, 100) << "created at y = 100";
    EXPECT_EQ(placed.right - placed.left, 700);
    EXPECT_EQ(placed.bottom - placed.top, 600);

    // SWP_NOSIZE: the size arguments are ignored.
    ASSERT_TRUE(SetWindowPos(window.handle(), nullptr, 130, 170, 1, 1, SWP_NOSIZE));
    RECT moved{};
    GetWindowRect(window.handle(), &moved);
    EXPECT_EQ(moved.left, 130);
    EXPECT_EQ(moved.top, 170);
    EXPECT_EQ(moved.right, 830) << "SWP_NOSIZE changed the width";
    EXPECT_EQ(moved.bottom, 770) << "SWP_NOSIZE changed the height";

    ASSERT_TRUE(SetWindowPos(window.handle(), nullptr, 0, 0, 320, 200, SWP_NOMOVE));
    GetClientRect(window.handle(), &client);
    EXPECT_EQ(client.right, 320);
    EXPECT_EQ(client.bottom, 200);
    GetWindowRect(window.handle(), &moved);
    EXPECT_EQ(moved.left, 130) << "SWP_NOMOVE moved the window";
}

TEST(WindowTest, TextIsKeptAsGivenAndHandedToSdlAsUtf8)
{
    vlo::test::TestWindow window(64, 64);
    ASSERT_TRUE(window.valid());
    ASSERT_TRUE(SetWindowTextA(window.handle(), "Emberfall II"));
    char text[64] = {};
    EXPECT_EQ(GetWindowTextA(window.handle(), text, sizeof(text)), 12);
    EXPECT_STREQ(text, "Emberfall II");
    EXPECT_STREQ(SDL_GetWindowTitle(window.handle()->sdl), "Emberfall II");

    // An ANSI byte above 0x7F ("\xE9", e acute in Latin-1) reaches SDL as UTF-8.
    ASSERT_TRUE(SetWindowTextA(window.handle(), "Caf\xE9"));
    EXPECT_STREQ(SDL_GetWindowTitle(window.handle()->sdl), "Caf\xC3\xA9");
    char small[3] = {};
    EXPECT_EQ(GetWindowTextA(window.handle(), small, sizeof(small)), 2) << "truncated copy";
    EXPECT_STREQ(small, "Ca");
}

TEST(WindowTest, ShowHideAndMinimise)
{
    vlo::test::TestWindow window(64, 64);
    ASSERT_TRUE(window.valid());
    EXPECT_FALSE(ShowWindow(window.handle(), SW_SHOW)) << "it was hidden before";
    EXPECT_TRUE(sdlVisible(window.handle()));
    EXPECT_TRUE(ShowWindow(window.handle(), SW_SHOW)) << "it was visible before";
    EXPECT_TRUE(UpdateWindow(window.handle()));
    EXPECT_TRUE(ShowWindow(window.handle(), SW_HIDE));
    EXPECT_FALSE(sdlVisible(window.handle()));
    ShowWindow(window.handle(), SW_SHOWMINNOACTIVE);
    // A window manager decides whether it really is iconified; without one
    // (Xvfb) the request is all there is. It must not have been destroyed.
    RECT rect{};
    EXPECT_TRUE(GetClientRect(window.handle(), &rect));
}

TEST(WindowTest, CaptureIsSetReleasedAndDroppedWithTheWindow)
{
    vlo::test::TestWindow window(64, 64);
    ASSERT_TRUE(window.valid());
    EXPECT_EQ(SetCapture(window.handle()), nullptr);
    EXPECT_EQ(GetCapture(), window.handle());
    EXPECT_EQ(SetCapture(window.handle()), window.handle()) << "returns the previous capture";
    EXPECT_TRUE(ReleaseCapture());
    EXPECT_EQ(GetCapture(), nullptr);

    {
        vlo::test::TestWindow other(32, 32, DefWindowProcA, "VLO Capture Other");
        ASSERT_TRUE(other.valid());
        SetCapture(other.handle());
    }
    EXPECT_EQ(GetCapture(), nullptr) << "a destroyed window kept the capture";
}

TEST(WindowTest, CallsOnNullOrGoneWindowsFail)
{
    RECT rect{};
    EXPECT_FALSE(GetClientRect(nullptr, &rect));
    EXPECT_FALSE(GetWindowRect(nullptr, &rect));
    EXPECT_FALSE(SetWindowPos(nullptr, nullptr, 0, 0, 0, 0, SWP_NOSIZE));
    EXPECT_FALSE(ShowWindow(nullptr, SW_SHOW));
    EXPECT_FALSE(SetWindowTextA(nullptr, "x"));
    EXPECT_FALSE(DestroyWindow(nullptr));
    EXPECT_EQ(GetDC(nullptr), nullptr);
    EXPECT_EQ(SetCapture(nullptr), GetCapture());
}

} // namespace
