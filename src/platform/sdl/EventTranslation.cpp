#include "platform/sdl/EventTranslation.h"

#include <SDL_syswm.h>

#include "platform/sdl/PlatformData.h"
#include "platform/sdl/WindowPosition.h"

namespace vlo {
namespace sdl {

namespace {

// Client position of a mouse event as Win32 packs it: x in the low and y in
// the high 16 bits, each cut to a WORD. While the mouse is captured a pointer
// left of or above the client area has negative coordinates, which therefore
// read as 32768..65535 when taken back out unsigned.
LPARAM packPosition(int x, int y)
{
    return MAKELPARAM(WORD(x), WORD(y));
}

// The button and modifier flags that mouse messages carry in wParam.
WPARAM mouseKeyFlags(Uint32 buttons)
{
    WPARAM flags = 0;
    if ((buttons & SDL_BUTTON_LMASK) != 0)
        flags |= MK_LBUTTON;
    if ((buttons & SDL_BUTTON_RMASK) != 0)
        flags |= MK_RBUTTON;
    if ((buttons & SDL_BUTTON_MMASK) != 0)
        flags |= MK_MBUTTON;
    const SDL_Keymod mods = SDL_GetModState();
    if ((mods & KMOD_SHIFT) != 0)
        flags |= MK_SHIFT;
    if ((mods & KMOD_CTRL) != 0)
        flags |= MK_CONTROL;
    return flags;
}

// Where the pointer was on the screen, in pixels, when the X server made the
// event SDL turned into this mouse event at (x, y) in sdlWindowId's client
// area. The X event itself tells (SDL passes it on just before its own
// event); without it (another video driver, an event pushed by the program)
// the SDL window's position now stands in for the one the event was made
// against.
bool screenPosition(Uint32 sdlWindowId, int x, int y, POINT& screen)
{
    PointerSample& sample = platformData().pointerSample;
    const bool fromServer = sample.valid && sample.x == x && sample.y == y;
    sample.valid = false;
    if (fromServer) {
        screen = POINT{sample.rootX, sample.rootY};
        return true;
    }
    HWND window = windowFromSdlId(sdlWindowId);
    if (window == nullptr)
        window = liveWindow(platformData().capture);
    if (window == nullptr)
        return false;
    int windowX = 0;
    int windowY = 0;
    windowScreenPosition(window->sdl, windowX, windowY);
    screen = POINT{windowX + x, windowY + y};
    return true;
}

// The window a mouse event belongs to: the one holding the capture gets
// every mouse event, the others their own.
HWND mouseTarget(Uint32 sdlWindowId)
{
    const HWND capture = liveWindow(platformData().capture);
    return capture != nullptr ? capture : windowFromSdlId(sdlWindowId);
}

// Notes the pointer position of the X event that comes next as an SDL mouse
// event: its client position (to recognise that event) and its position on
// the screen.
void notePointer(const SDL_SysWMmsg* message)
{
#if defined(SDL_VIDEO_DRIVER_X11)
    if (message == nullptr || message->subsystem != SDL_SYSWM_X11)
        return;
    const XEvent& event = message->msg.x11.event;
    PointerSample& sample = platformData().pointerSample;
    switch (event.type) {
    case MotionNotify:
        sample = PointerSample{true, event.xmotion.x, event.xmotion.y, event.xmotion.x_root, event.xmotion.y_root};
        break;
    case ButtonPress:
    case ButtonRelease:
        sample = PointerSample{true, event.xbutton.x, event.xbutton.y, event.xbutton.x_root, event.xbutton.y_root};
        break;
    case EnterNotify:
    case LeaveNotify:
        sample
            = PointerSample{true, event.xcrossing.x, event.xcrossing.y, event.xcrossing.x_root, event.xcrossing.y_root};
        break;
    default:
        break;
    }
#else
    (void)message;
#endif
}

bool translateButton(const SDL_MouseButtonEvent& button, bool down, MSG& out)
{
    UINT message = 0;
    if (button.button == SDL_BUTTON_LEFT)
        message = down ? WM_LBUTTONDOWN : WM_LBUTTONUP;
    else if (button.button == SDL_BUTTON_RIGHT)
        message = down ? WM_RBUTTONDOWN : WM_RBUTTONUP;
    else
        return false; // the middle and extra buttons are not used
    out.hwnd = mouseTarget(button.windowID);
    if (out.hwnd == nullptr || !screenPosition(button.windowID, button.x, button.y, out.pt))
        return false;
    // Only a class with CS_DBLCLKS sees the second press of a double click
    // as a double click; for all others it is one more press.
    if (down && button.clicks == 2 && (out.hwnd->classStyle & CS_DBLCLKS) != 0)
        message = button.button == SDL_BUTTON_LEFT ? WM_LBUTTONDBLCLK : WM_RBUTTONDBLCLK;
    out.message = message;
    out.wParam = mouseKeyFlags(SDL_GetMouseState(nullptr, nullptr));
    return true;
}

bool translateKey(const SDL_KeyboardEvent& key, bool down, MSG& out)
{
    out.hwnd = windowFromSdlId(key.windowID);
    if (out.hwnd == nullptr)
        return false;
    const WPARAM code = virtualKey(key.keysym.sym);
    if (code == 0)
        return false;
    // A key pressed with Alt held (or Alt itself, or F10) is a system key,
    // which DefWindowProcA acts on (Alt+F4 closes the window).
    const bool alt = (key.keysym.mod & KMOD_ALT) != 0;
    const bool system = alt || code == VK_MENU || key.keysym.sym == SDLK_F10;
    if (down)
        out.message = system ? WM_SYSKEYDOWN : WM_KEYDOWN;
    else
        out.message = system ? WM_SYSKEYUP : WM_KEYUP;
    out.wParam = code;
    // Key lParam: repeat count 1, the scan code in bits 16-23, bit 29 when
    // Alt is held, bit 30 when the key was already down, bit 31 on release.
    DWORD bits = 1 | (DWORD(key.keysym.scancode & 0xFF) << 16);
    if (alt)
        bits |= 1u << 29;
    if (!down || key.repeat != 0)
        bits |= 1u << 30;
    if (!down)
        bits |= 1u << 31;
    out.lParam = LPARAM(bits);
    return true;
}

// Events after which the window may no longer show its last frame: it was
// uncovered, resized or shown again. They carry no message; the next present
// must happen.
void noteDamage(const SDL_WindowEvent& window)
{
    switch (window.event) {
    case SDL_WINDOWEVENT_SHOWN:
    case SDL_WINDOWEVENT_EXPOSED:
    case SDL_WINDOWEVENT_RESIZED:
    case SDL_WINDOWEVENT_SIZE_CHANGED:
    case SDL_WINDOWEVENT_MAXIMIZED:
    case SDL_WINDOWEVENT_RESTORED:
        if (HWND target = windowFromSdlId(window.windowID))
            target->damaged = true;
        break;
    default:
        break;
    }
}

} // namespace

bool isPointerMessage(UINT message)
{
    return message >= WM_MOUSEMOVE && message <= WM_RBUTTONDBLCLK;
}

void placePointerMessage(MSG& message)
{
    PlatformWindow* window = liveWindow(message.hwnd);
    const int scale = window != nullptr ? window->scale : 1;
    int windowX = 0;
    int windowY = 0;
    if (window != nullptr)
        windowScreenPosition(window->sdl, windowX, windowY);
    // The program sees a screen shrunk by the window's scale; rounding down
    // keeps a pointer just left of or above the window negative.
    message.lParam
        = packPosition(floorDivide(message.pt.x - windowX, scale), floorDivide(message.pt.y - windowY, scale));
    message.pt = POINT{floorDivide(message.pt.x, scale), floorDivide(message.pt.y, scale)};
}

bool capturedPointerMove(MSG& out)
{
    PlatformData& data = platformData();
    const HWND capture = liveWindow(data.capture);
    if (capture == nullptr)
        return false;
    // Only a drag the user makes: a held button, after a pointer message.
    int x = 0;
    int y = 0;
    bool buttonHeld = false;
    if (!data.lastPointerKnown || !pointerScreenPosition(capture->sdl, x, y, buttonHeld) || !buttonHeld)
        return false;
    if (data.lastPointer.x == x && data.lastPointer.y == y)
        return false;
    out = MSG{};
    out.time = GetTickCount();
    out.hwnd = capture;
    out.message = WM_MOUSEMOVE;
    out.pt = POINT{x, y};
    out.wParam = mouseKeyFlags(SDL_GetMouseState(nullptr, nullptr));
    notePointerMessage(out);
    return true;
}

bool moveBeforeButton(const MSG& button, MSG& out)
{
    const PlatformData& data = platformData();
    const HWND capture = liveWindow(data.capture);
    if (button.message == WM_MOUSEMOVE || !data.lastPointerKnown || capture == nullptr)
        return false;
    // Only where the program moves its window itself (X11, where the pointer
    // can be asked): elsewhere the window system carries out the move.
    int x = 0;
    int y = 0;
    bool buttonHeld = false;
    if (!pointerScreenPosition(capture->sdl, x, y, buttonHeld))
        return false;
    // Where the server has the pointer now, not where the button event says:
    // that place is relative to where the window was when the event was made,
    // and the window may have moved since.
    if (data.lastPointer.x == x && data.lastPointer.y == y)
        return false;
    out = button;
    out.message = WM_MOUSEMOVE;
    out.pt = POINT{x, y};
    // The buttons as they were before this press or release.
    const WPARAM changed = button.message == WM_LBUTTONDOWN || button.message == WM_LBUTTONUP ? MK_LBUTTON
        : button.message == WM_RBUTTONDOWN || button.message == WM_RBUTTONUP                  ? MK_RBUTTON
                                                                                              : 0;
    out.wParam = button.wParam ^ changed;
    return true;
}

void notePointerMessage(const MSG& message)
{
    PlatformData& data = platformData();
    data.lastPointer = message.pt;
    data.lastPointerKnown = true;
}

bool translateEvent(const SDL_Event& event, MSG& out)
{
    out = MSG{};
    out.time = GetTickCount();
    switch (event.type) {
    case SDL_MOUSEMOTION:
        out.hwnd = mouseTarget(event.motion.windowID);
        if (out.hwnd == nullptr || !screenPosition(event.motion.windowID, event.motion.x, event.motion.y, out.pt))
            return false;
        out.message = WM_MOUSEMOVE;
        out.wParam = mouseKeyFlags(event.motion.state);
        return true;
    case SDL_SYSWMEVENT:
        // The window system's own event behind the SDL event that follows.
        notePointer(event.syswm.msg);
        return false;
    case SDL_MOUSEBUTTONDOWN:
        return translateButton(event.button, true, out);
    case SDL_MOUSEBUTTONUP:
        return translateButton(event.button, false, out);
    case SDL_MOUSEWHEEL:
        // The program has no use for the wheel.
        return false;
    case SDL_KEYDOWN:
        return translateKey(event.key, true, out);
    case SDL_KEYUP:
        return translateKey(event.key, false, out);
    case SDL_WINDOWEVENT:
        noteDamage(event.window);
        // The close button or the window manager's close request: the window
        // is asked with WM_CLOSE and decides itself; SDL never destroys it.
        if (event.window.event != SDL_WINDOWEVENT_CLOSE)
            return false;
        out.hwnd = windowFromSdlId(event.window.windowID);
        out.message = WM_CLOSE;
        return out.hwnd != nullptr;
    case SDL_QUIT:
        // A signal or the end of the session: asked of the first window as a
        // close request, like the close button.
        if (platformData().windows.empty())
            return false;
        out.hwnd = platformData().windows.front().get();
        out.message = WM_CLOSE;
        return true;
    default:
        return false;
    }
}

WPARAM virtualKey(SDL_Keycode key)
{
    if (key >= SDLK_a && key <= SDLK_z)
        return WPARAM('A' + (key - SDLK_a));
    if (key >= SDLK_0 && key <= SDLK_9)
        return WPARAM('0' + (key - SDLK_0));
    if (key >= SDLK_F1 && key <= SDLK_F12)
        return VK_F1 + WPARAM(key - SDLK_F1);
    switch (key) {
    case SDLK_ESCAPE:
        return VK_ESCAPE;
    case SDLK_RETURN:
        return VK_RETURN;
    case SDLK_KP_ENTER:
        return VK_RETURN;
    case SDLK_BACKSPACE:
        return VK_BACK;
    case SDLK_TAB:
        return VK_TAB;
    case SDLK_SPACE:
        return VK_SPACE;
    case SDLK_PAUSE:
        return VK_PAUSE;
    case SDLK_PAGEUP:
        return VK_PRIOR;
    case SDLK_PAGEDOWN:
        return VK_NEXT;
    case SDLK_END:
        return VK_END;
    case SDLK_HOME:
        return VK_HOME;
    case SDLK_LEFT:
        return VK_LEFT;
    case SDLK_UP:
        return VK_UP;
    case SDLK_RIGHT:
        return VK_RIGHT;
    case SDLK_DOWN:
        return VK_DOWN;
    case SDLK_INSERT:
        return VK_INSERT;
    case SDLK_DELETE:
        return VK_DELETE;
    case SDLK_LSHIFT:
    case SDLK_RSHIFT:
        return VK_SHIFT;
    case SDLK_LCTRL:
    case SDLK_RCTRL:
        return VK_CONTROL;
    case SDLK_LALT:
    case SDLK_RALT:
        return VK_MENU;
    // The keyboard's media keys; SDL 2 has one key for play and pause.
    case SDLK_AUDIOPLAY:
        return VK_MEDIA_PLAY_PAUSE;
    case SDLK_AUDIOSTOP:
        return VK_MEDIA_STOP;
    case SDLK_AUDIONEXT:
        return VK_MEDIA_NEXT_TRACK;
    case SDLK_AUDIOPREV:
        return VK_MEDIA_PREV_TRACK;
    default:
        return 0;
    }
}

} // namespace sdl
} // namespace vlo
