#pragma once
// The Windows user, GDI and WGL services the program calls, with their Win32
// names and semantics, implemented on SDL2 and FreeType in platform/sdl/.
// Portable code includes this header, never SDL or FreeType. On Windows the
// services are the system's own.

#ifdef _WIN32
#ifndef WIN32_LEAN_AND_MEAN
#define WIN32_LEAN_AND_MEAN
#endif
#ifndef NOMINMAX
#define NOMINMAX
#endif
#include <windows.h>

// The calls through which the program's replaceable clock, its whole-number
// scale on dense displays and its present hook pass (src/platform/win32/).
// Each does the system's own call, with the program's pixels turned into
// screen pixels on a scaled window; every other call is the system's.
DWORD vloGetTickCount();
HWND vloCreateWindowExA(DWORD exStyle, const char* className, const char* windowName, DWORD style, int x, int y,
    int width, int height, HWND parent, HMENU menu, HINSTANCE instance, void* param);
BOOL vloDestroyWindow(HWND window);
BOOL vloGetClientRect(HWND window, RECT* rect);
BOOL vloGetWindowRect(HWND window, RECT* rect);
BOOL vloSetWindowPos(HWND window, HWND insertAfter, int x, int y, int width, int height, UINT flags);
BOOL vloWglMakeCurrent(HDC dc, HGLRC context);
BOOL vloWglDeleteContext(HGLRC context);
BOOL vloSwapBuffers(HDC dc);
BOOL vloWglUseFontBitmapsA(HDC dc, DWORD first, DWORD count, DWORD listBase);
#undef CreateWindowEx
#define GetTickCount vloGetTickCount
#define CreateWindowExA vloCreateWindowExA
#define DestroyWindow vloDestroyWindow
#define GetClientRect vloGetClientRect
#define GetWindowRect vloGetWindowRect
#define SetWindowPos vloSetWindowPos
#define wglMakeCurrent vloWglMakeCurrent
#define wglDeleteContext vloWglDeleteContext
#define SwapBuffers vloSwapBuffers
#define wglUseFontBitmapsA vloWglUseFontBitmapsA

#else

#include <cstdint>

using BOOL = int;
using BYTE = uint8_t;
using WORD = uint16_t;
using DWORD = uint32_t;
using UINT = unsigned int;
using LONG = int32_t;
using WPARAM = uintptr_t;
using LPARAM = intptr_t;
using LRESULT = intptr_t;
using UINT_PTR = uintptr_t;

#ifndef TRUE
#define TRUE 1
#endif
#ifndef FALSE
#define FALSE 0
#endif

// Opaque handles; their structures live in the back end.
struct PlatformWindow;
struct PlatformDeviceContext;
struct PlatformGLContext;
struct PlatformGdiObject;
struct PlatformInstance;
using HWND = PlatformWindow*;
using HDC = PlatformDeviceContext*;
using HGLRC = PlatformGLContext*;
using HGDIOBJ = PlatformGdiObject*;
using HFONT = PlatformGdiObject*;
using HINSTANCE = PlatformInstance*;
using HICON = void*;
using HCURSOR = void*;
using HBRUSH = void*;
using HMENU = void*;

using WNDPROC = LRESULT (*)(HWND, UINT, WPARAM, LPARAM);

struct POINT {
    LONG x;
    LONG y;
};

struct RECT {
    LONG left;
    LONG top;
    LONG right;
    LONG bottom;
};

struct MSG {
    HWND hwnd;
    UINT message;
    WPARAM wParam;
    LPARAM lParam;
    DWORD time;
    POINT pt;
};

struct WNDCLASSA {
    UINT style;
    WNDPROC lpfnWndProc;
    int cbClsExtra;
    int cbWndExtra;
    HINSTANCE hInstance;
    HICON hIcon;
    HCURSOR hCursor;
    HBRUSH hbrBackground;
    const char* lpszMenuName;
    const char* lpszClassName;
};

struct PIXELFORMATDESCRIPTOR {
    WORD nSize;
    WORD nVersion;
    DWORD dwFlags;
    BYTE iPixelType;
    BYTE cColorBits;
    BYTE cRedBits, cRedShift, cGreenBits, cGreenShift, cBlueBits, cBlueShift;
    BYTE cAlphaBits, cAlphaShift;
    BYTE cAccumBits, cAccumRedBits, cAccumGreenBits, cAccumBlueBits, cAccumAlphaBits;
    BYTE cDepthBits;
    BYTE cStencilBits;
    BYTE cAuxBuffers;
    BYTE iLayerType;
    BYTE bReserved;
    DWORD dwLayerMask;
    DWORD dwVisibleMask;
    DWORD dwDamageMask;
};

struct TEXTMETRICA {
    LONG tmHeight;
    LONG tmAscent;
    LONG tmDescent;
    LONG tmInternalLeading;
    LONG tmExternalLeading;
    LONG tmAveCharWidth;
    LONG tmMaxCharWidth;
    LONG tmWeight;
    LONG tmOverhang;
    LONG tmDigitizedAspectX;
    LONG tmDigitizedAspectY;
    BYTE tmFirstChar;
    BYTE tmLastChar;
    BYTE tmDefaultChar;
    BYTE tmBreakChar;
    BYTE tmItalic;
    BYTE tmUnderlined;
    BYTE tmStruckOut;
    BYTE tmPitchAndFamily;
    BYTE tmCharSet;
};

struct ABC {
    int abcA;
    UINT abcB;
    int abcC;
};

// Window messages.
constexpr UINT PM_NOREMOVE = 0x0000;
constexpr UINT PM_REMOVE = 0x0001;
constexpr UINT WM_NULL = 0x0000;
constexpr UINT WM_CREATE = 0x0001;
constexpr UINT WM_DESTROY = 0x0002;
constexpr UINT WM_PAINT = 0x000F;
constexpr UINT WM_CLOSE = 0x0010;
constexpr UINT WM_QUIT = 0x0012;
constexpr UINT WM_KEYDOWN = 0x0100;
constexpr UINT WM_KEYUP = 0x0101;
constexpr UINT WM_CHAR = 0x0102;
constexpr UINT WM_SYSKEYDOWN = 0x0104;
constexpr UINT WM_SYSKEYUP = 0x0105;
constexpr UINT WM_TIMER = 0x0113;
constexpr UINT WM_MOUSEMOVE = 0x0200;
constexpr UINT WM_LBUTTONDOWN = 0x0201;
constexpr UINT WM_LBUTTONUP = 0x0202;
constexpr UINT WM_LBUTTONDBLCLK = 0x0203;
constexpr UINT WM_RBUTTONDOWN = 0x0204;
constexpr UINT WM_RBUTTONUP = 0x0205;
constexpr UINT WM_RBUTTONDBLCLK = 0x0206;

// Virtual-key codes (letters and digits are their upper-case ASCII codes).
constexpr WPARAM VK_BACK = 0x08;
constexpr WPARAM VK_TAB = 0x09;
constexpr WPARAM VK_RETURN = 0x0D;
constexpr WPARAM VK_SHIFT = 0x10;
constexpr WPARAM VK_CONTROL = 0x11;
constexpr WPARAM VK_MENU = 0x12;
constexpr WPARAM VK_PAUSE = 0x13;
constexpr WPARAM VK_ESCAPE = 0x1B;
constexpr WPARAM VK_SPACE = 0x20;
constexpr WPARAM VK_PRIOR = 0x21;
constexpr WPARAM VK_NEXT = 0x22;
constexpr WPARAM VK_END = 0x23;
constexpr WPARAM VK_HOME = 0x24;
constexpr WPARAM VK_LEFT = 0x25;
constexpr WPARAM VK_UP = 0x26;
constexpr WPARAM VK_RIGHT = 0x27;
constexpr WPARAM VK_DOWN = 0x28;
constexpr WPARAM VK_INSERT = 0x2D;
constexpr WPARAM VK_DELETE = 0x2E;
constexpr WPARAM VK_F1 = 0x70;
constexpr WPARAM VK_F4 = 0x73;
constexpr WPARAM VK_F12 = 0x7B;
constexpr WPARAM VK_MEDIA_NEXT_TRACK = 0xB0;
constexpr WPARAM VK_MEDIA_PREV_TRACK = 0xB1;
constexpr WPARAM VK_MEDIA_STOP = 0xB2;
constexpr WPARAM VK_MEDIA_PLAY_PAUSE = 0xB3;
constexpr WPARAM VK_PLAY = 0xFA;

// Mouse-message wParam flags: buttons and modifier keys held.
constexpr WPARAM MK_LBUTTON = 0x0001;
constexpr WPARAM MK_RBUTTON = 0x0002;
constexpr WPARAM MK_SHIFT = 0x0004;
constexpr WPARAM MK_CONTROL = 0x0008;
constexpr WPARAM MK_MBUTTON = 0x0010;

// Window and class styles.
constexpr UINT CS_VREDRAW = 0x0001;
constexpr UINT CS_HREDRAW = 0x0002;
constexpr UINT CS_DBLCLKS = 0x0008;
constexpr UINT CS_OWNDC = 0x0020;
constexpr DWORD WS_POPUP = 0x80000000u;
constexpr DWORD WS_VISIBLE = 0x10000000u;

// ShowWindow commands.
constexpr int SW_HIDE = 0;
constexpr int SW_SHOW = 5;
constexpr int SW_SHOWMINNOACTIVE = 7;
constexpr int SW_RESTORE = 9;

// SetWindowPos flags.
constexpr UINT SWP_NOSIZE = 0x0001;
constexpr UINT SWP_NOMOVE = 0x0002;
constexpr UINT SWP_NOOWNERZORDER = 0x0200;

// MessageBox flags.
constexpr UINT MB_OK = 0x0000;
constexpr UINT MB_ICONWARNING = 0x0030;
constexpr int IDOK = 1;

// Stock resources (MAKEINTRESOURCE values).
#define IDI_APPLICATION (reinterpret_cast<const char*>(uintptr_t(32512)))
#define IDC_ARROW (reinterpret_cast<const char*>(uintptr_t(32512)))

// Pixel formats.
constexpr DWORD PFD_DOUBLEBUFFER = 0x00000001;
constexpr DWORD PFD_DRAW_TO_WINDOW = 0x00000004;
constexpr DWORD PFD_SUPPORT_OPENGL = 0x00000020;
constexpr BYTE PFD_TYPE_RGBA = 0;
constexpr BYTE PFD_MAIN_PLANE = 0;

// Fonts.
constexpr int FW_NORMAL = 400;
constexpr int FW_BOLD = 700;
constexpr DWORD ANSI_CHARSET = 0;
constexpr DWORD OUT_TT_PRECIS = 4;
constexpr DWORD CLIP_DEFAULT_PRECIS = 0;
constexpr DWORD ANTIALIASED_QUALITY = 4;
constexpr DWORD DEFAULT_PITCH = 0;

inline WORD LOWORD(uintptr_t v)
{
    return WORD(v & 0xFFFF);
}
inline WORD HIWORD(uintptr_t v)
{
    return WORD((v >> 16) & 0xFFFF);
}
inline LPARAM MAKELPARAM(WORD lo, WORD hi)
{
    return LPARAM(DWORD(lo) | (DWORD(hi) << 16));
}

// The module instance of the program itself (name null), as the Windows
// start-up code hands it to WinMain.
HINSTANCE GetModuleHandleA(const char* moduleName);

// User services.
WORD RegisterClassA(const WNDCLASSA* windowClass);
BOOL UnregisterClassA(const char* className, HINSTANCE instance);
HWND CreateWindowExA(DWORD exStyle, const char* className, const char* windowName, DWORD style, int x, int y, int width,
    int height, HWND parent, HMENU menu, HINSTANCE instance, void* param);
BOOL ShowWindow(HWND window, int command);
BOOL UpdateWindow(HWND window);
BOOL SetWindowTextA(HWND window, const char* text);
// Copies at most capacity - 1 bytes of the window text; returns their count.
int GetWindowTextA(HWND window, char* text, int capacity);
BOOL DestroyWindow(HWND window);
BOOL GetClientRect(HWND window, RECT* rect);
BOOL GetWindowRect(HWND window, RECT* rect);
BOOL SetWindowPos(HWND window, HWND insertAfter, int x, int y, int width, int height, UINT flags);
HWND SetCapture(HWND window);
BOOL ReleaseCapture();
HWND GetCapture();
int MessageBoxA(HWND owner, const char* text, const char* caption, UINT type);
HICON LoadIconA(HINSTANCE instance, const char* name);
HCURSOR LoadCursorA(HINSTANCE instance, const char* name);

// Message queue and timer.
BOOL GetMessageA(MSG* msg, HWND window, UINT filterMin, UINT filterMax);
// Like GetMessageA without waiting: FALSE when no message is there. With
// PM_REMOVE the message is taken (a WM_QUIT included, and due timers);
// with PM_NOREMOVE it stays, and due timers are not looked at.
BOOL PeekMessageA(MSG* msg, HWND window, UINT filterMin, UINT filterMax, UINT removeFlags);
BOOL TranslateMessage(const MSG* msg);
LRESULT DispatchMessageA(const MSG* msg);
LRESULT DefWindowProcA(HWND window, UINT message, WPARAM wParam, LPARAM lParam);
void PostQuitMessage(int exitCode);
BOOL PostMessageA(HWND window, UINT message, WPARAM wParam, LPARAM lParam);
UINT_PTR SetTimer(HWND window, UINT_PTR id, UINT periodMs, void* callback);
BOOL KillTimer(HWND window, UINT_PTR id);

// Kernel: milliseconds since start, 32-bit, wrapping (see platform/Clock.h).
DWORD GetTickCount();

// GDI and WGL.
HDC GetDC(HWND window);
int ChoosePixelFormat(HDC dc, const PIXELFORMATDESCRIPTOR* descriptor);
BOOL SetPixelFormat(HDC dc, int format, const PIXELFORMATDESCRIPTOR* descriptor);
HGLRC wglCreateContext(HDC dc);
BOOL wglMakeCurrent(HDC dc, HGLRC context);
BOOL wglDeleteContext(HGLRC context);
BOOL SwapBuffers(HDC dc);

HFONT CreateFontA(int height, int width, int escapement, int orientation, int weight, DWORD italic, DWORD underline,
    DWORD strikeOut, DWORD charSet, DWORD outPrecision, DWORD clipPrecision, DWORD quality, DWORD pitchAndFamily,
    const char* face);
HGDIOBJ SelectObject(HDC dc, HGDIOBJ object);
BOOL DeleteObject(HGDIOBJ object);
BOOL GetTextMetricsA(HDC dc, TEXTMETRICA* metrics);
BOOL GetCharABCWidthsA(HDC dc, UINT first, UINT last, ABC* widths);
BOOL wglUseFontBitmapsA(HDC dc, DWORD first, DWORD count, DWORD listBase);

// The entry point, as on Windows; main() calls it.
int WinMain(HINSTANCE instance, HINSTANCE previous, char* commandLine, int showCommand);

#endif // _WIN32
