#include "shell/MainWindow.h"

#include <cstring>

#include "content/ShowConfig.h"
#include "frontend/PlayerCommands.h"
#include "music/MusicPlayer.h"
#include "platform/MediaRemote.h"
#include "render/Renderer.h"
#include "widgets/Widget.h"

namespace vlo {

MainWindow* theWindow = nullptr;
bool windowRegistered = false;

namespace {

constexpr const char* WindowClassName = "VLO WindowClass";
constexpr const char* InitialWindowText = "VLO Window";
// Top-left corner of the window at creation, in screen pixels.
constexpr int InitialX = 100;
constexpr int InitialY = 100;
// The timer that keeps the main loop drawing: one WM_TIMER per 10 ms.
constexpr UINT FrameTimerPeriodMs = 10;
// Every frame starts from white at half alpha.
const Color ClearColor(1.0f, 1.0f, 1.0f, 0.5f);

// lParam bit 30 of a key message: the key was already down (auto-repeat).
constexpr uintptr_t KeyWasDown = uintptr_t(1) << 30;

// The player keys: Space, the arrows and the keyboard's media keys. True with
// the command for one of them; mediaKey for the keys a desktop may deliver
// over its media controls too.
bool playerKey(WPARAM key, MediaCommand& command, bool& mediaKey)
{
    mediaKey = key != VK_SPACE && key != VK_RIGHT && key != VK_LEFT;
    switch (key) {
    case VK_SPACE:
    case VK_MEDIA_PLAY_PAUSE:
        command = MediaCommand::PlayPause;
        return true;
    case VK_PLAY:
        command = MediaCommand::Play;
        return true;
    case VK_MEDIA_STOP:
        command = MediaCommand::Stop;
        return true;
    case VK_RIGHT:
    case VK_MEDIA_NEXT_TRACK:
        command = MediaCommand::Next;
        return true;
    case VK_LEFT:
    case VK_MEDIA_PREV_TRACK:
        command = MediaCommand::Previous;
        return true;
    default:
        return false;
    }
}

} // namespace

MainWindow::MainWindow(HINSTANCE instance_, DWORD style, int width, int height)
{
    // One main window per process: a second one gets neither class nor window.
    if (windowRegistered)
        return;
    renderer = nullptr;
    config = nullptr;
    player = nullptr;
    rootWidget = nullptr;
    handle = nullptr;
    theWindow = this;
    windowRegistered = true;
    instance = instance_;
    shown = false;
    quitRequested = false;
    startAbandoned = false;
    exitCode = 0;
    std::strncpy(className, WindowClassName, sizeof(className) - 1);
    std::strncpy(windowName, InitialWindowText, sizeof(windowName) - 1);
    create(style, width, height);
}

MainWindow::~MainWindow()
{
    // Normally run() has released these and destroy() has run; a window
    // given up earlier (a failed start) must not leak them or leave
    // theWindow pointing at a dead object.
    releaseObjects();
    if (theWindow == this)
        destroy();
}

bool MainWindow::create(DWORD style, int width, int height)
{
    WNDCLASSA windowClass{};
    // CS_OWNDC: one device context for the window's life, which the renderer
    // takes once. No CS_DBLCLKS: a double click is two presses.
    windowClass.style = CS_HREDRAW | CS_VREDRAW | CS_OWNDC;
    windowClass.lpfnWndProc = windowProc;
    windowClass.cbClsExtra = 0;
    windowClass.cbWndExtra = 0;
    windowClass.hInstance = instance;
    windowClass.hIcon = LoadIconA(nullptr, IDI_APPLICATION);
    windowClass.hCursor = LoadCursorA(nullptr, IDC_ARROW);
    windowClass.hbrBackground = nullptr;
    windowClass.lpszMenuName = nullptr;
    windowClass.lpszClassName = className;
    if (RegisterClassA(&windowClass) == 0)
        return false;

    handle = CreateWindowExA(
        0, className, windowName, style, InitialX, InitialY, width, height, nullptr, nullptr, instance, nullptr);
    if (handle == nullptr)
        return false;
    // The style has no WS_VISIBLE: the window stays hidden until showWindow.
    UpdateWindow(handle);
    timerId = SetTimer(handle, 0, FrameTimerPeriodMs, nullptr);
    return true;
}

void MainWindow::showWindow()
{
    if (shown)
        return;
    ShowWindow(handle, SW_SHOW);
    UpdateWindow(handle);
    shown = true;
}

void MainWindow::minimize()
{
    // Minimised without activating another window.
    ShowWindow(handle, SW_SHOWMINNOACTIVE);
}

void MainWindow::raise()
{
    ShowWindow(handle, SW_RESTORE);
}

void MainWindow::setTitle(const char* text)
{
    SetWindowTextA(handle, text);
}

bool MainWindow::setRenderer(Renderer* candidate)
{
    if (candidate == nullptr || !candidate->isUsable() || candidate->status != RendererReady)
        return false;
    renderer = candidate;
    // The program's one font; as the renderer's first it is font number 0,
    // which the text widgets draw with.
    renderer->createFont("Courier New", 14, true, false, false);
    return true;
}

void MainWindow::setConfig(ShowConfig* value)
{
    config = value;
}

void MainWindow::setPlayer(MusicPlayer* value)
{
    player = value;
}

void MainWindow::setRootWidget(Widget* root)
{
    if (root == nullptr)
        return;
    rootWidget = root;
    rootWidget->updateLayout();
}

int MainWindow::run()
{
    while (!startAbandoned && pumpMessage()) {
        if (remote != nullptr)
            remote->poll();
        drawFrame();
    }
    releaseObjects();
    return exitCode;
}

bool MainWindow::pumpMessage()
{
    MSG message{};
    const BOOL got = GetMessageA(&message, nullptr, 0, 0);
    // -1 is GetMessageA's error result: there is nothing left to pump.
    if (got == -1)
        return false;
    bool dispatched = false;
    if (got != 0) {
        TranslateMessage(&message);
        DispatchMessageA(&message);
        dispatched = true;
    }
    if (message.message != WM_QUIT && dispatched)
        return true;

    // A WM_QUIT. The second one ends the loop; the first starts the closing
    // sequence, unless it cannot start (an overlay is running) or there is
    // no configuration to run it.
    if (quitRequested)
        return false;
    if (config == nullptr || !config->startCreditsOverlay(true))
        return false;
    quitRequested = true;
    exitCode = int(message.wParam);
    return true;
}

bool MainWindow::answerDuringStart()
{
    if (shown || startAbandoned)
        return startAbandoned;
    MSG message{};
    while (PeekMessageA(&message, nullptr, 0, 0, PM_REMOVE)) {
        // No closing sequence: nothing has been shown yet.
        if (message.message == WM_QUIT) {
            startAbandoned = true;
            exitCode = int(message.wParam);
            break;
        }
        TranslateMessage(&message);
        DispatchMessageA(&message);
    }
    return startAbandoned;
}

void MainWindow::drawFrame()
{
    // Without a renderer there is nothing to draw with.
    if (renderer == nullptr)
        return;
    renderer->clear(ClearColor);
    renderer->loadIdentity();
    if (rootWidget == nullptr)
        return;
    rootWidget->updateLayout();
    renderer->pushState();
    rootWidget->draw(*renderer);
    renderer->popState();
    SwapBuffers(renderer->deviceContext());
}

void MainWindow::releaseObjects()
{
    if (renderer != nullptr) {
        // The rendering context goes first, with the window still there.
        renderer->releaseContext();
        delete renderer;
        renderer = nullptr;
    }
    if (config != nullptr) {
        delete config;
        config = nullptr;
    }
    if (player != nullptr) {
        player->stop();
        player->close();
        player->shutdown();
        delete player;
        player = nullptr;
    }
}

void MainWindow::destroy()
{
    if (handle != nullptr) {
        ShowWindow(handle, SW_HIDE);
        // Sends WM_DESTROY, whose WM_QUIT nobody reads any more.
        DestroyWindow(handle);
        KillTimer(handle, timerId);
        handle = nullptr;
    }
    if (instance != nullptr)
        UnregisterClassA(className, instance);
    // Only the registered window gives up the process-wide slot: destroying
    // a second, inert MainWindow must not cut the first one off from its
    // window procedure.
    if (theWindow == this) {
        theWindow = nullptr;
        windowRegistered = false;
    }
}

void MainWindow::dispatchMouseMove(int x, int y)
{
    if (rootWidget == nullptr || renderer == nullptr)
        return;
    const Vector2 point = renderer->unproject(x, y);
    Vector2 local(0.0f, 0.0f);
    // Strictly inside the root only: points on its edge and outside the
    // client area (while the mouse is captured) are dropped.
    if (!rootWidget->hitTest(point, local))
        return;
    rootWidget->onMouseMove(local);
}

void MainWindow::dispatchMouseDown(int x, int y, int button)
{
    if (rootWidget == nullptr || renderer == nullptr)
        return;
    const Vector2 point = renderer->unproject(x, y);
    Vector2 local(0.0f, 0.0f);
    if (!rootWidget->hitTest(point, local))
        return;
    rootWidget->onMouseDown(local, button);
}

void MainWindow::dispatchMouseUp(int x, int y, int button)
{
    if (rootWidget == nullptr || renderer == nullptr)
        return;
    const Vector2 point = renderer->unproject(x, y);
    Vector2 local(0.0f, 0.0f);
    if (!rootWidget->hitTest(point, local))
        return;
    rootWidget->onMouseUp(local, button);
}

LRESULT windowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam)
{
    if (theWindow == nullptr)
        return 0;
    // Mouse positions: client pixels, each half of lParam taken unsigned, so
    // a captured pointer left of or above the window reads 32768..65535 and
    // falls outside the root.
    const int x = LOWORD(uintptr_t(lParam));
    const int y = HIWORD(uintptr_t(lParam));
    switch (message) {
    case WM_CREATE:
        return 0;
    case WM_DESTROY:
    case WM_CLOSE:
        // Every way of quitting posts WM_QUIT; the window itself stays until
        // the program ends (the closing sequence still draws into it).
        PostQuitMessage(0);
        return 0;
    case WM_KEYDOWN: {
        if (wParam == VK_ESCAPE) {
            PostQuitMessage(0);
            return 0;
        }
        // A held key acts once, not at the keyboard's repeat rate.
        MediaCommand command = MediaCommand::Stop;
        bool mediaKey = false;
        if (theWindow->getPlayerCommands() != nullptr && (uintptr_t(lParam) & KeyWasDown) == 0
            && playerKey(wParam, command, mediaKey))
            theWindow->getPlayerCommands()->fromKey(command, mediaKey);
        return 0;
    }
    case WM_TIMER:
        // Only wakes the main loop, which draws a frame for it.
        return 0;
    case WM_MOUSEMOVE:
        theWindow->dispatchMouseMove(x, y);
        return 0;
    case WM_LBUTTONDOWN:
        SetCapture(window);
        theWindow->dispatchMouseDown(x, y, 0);
        return 0;
    case WM_LBUTTONUP:
        ReleaseCapture();
        theWindow->dispatchMouseUp(x, y, 0);
        return 0;
    case WM_RBUTTONDOWN:
        SetCapture(window);
        theWindow->dispatchMouseDown(x, y, 1);
        return 0;
    case WM_RBUTTONUP:
        ReleaseCapture();
        theWindow->dispatchMouseUp(x, y, 1);
        return 0;
    default:
        return DefWindowProcA(window, message, wParam, lParam);
    }
}

void showMessage(std::string text)
{
    MessageBoxA(nullptr, text.c_str(), "Orrin Tide Vellumo", MB_OK | MB_ICONWARNING);
}

} // namespace vlo
