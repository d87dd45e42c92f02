// The program's window at its whole-number scale on a dense display. The
// window is made scale times larger than asked, and the program is given a
// screen shrunk by the scale: its sizes, positions and mouse positions stay
// in its own pixels. The manifest declares the program aware of densities,
// so the system never stretches (and blurs) the window itself.
//
// Every window of the program also goes through the back end's window
// procedure first, which notes when the window's pixels may be gone.

#include <algorithm>
#include <cstdint>
#include <cstdlib>
#include <vector>

#include "platform/IconPicture.h"
#include "platform/WholeScale.h"
#include "platform/win32/WindowRecords.h"

using namespace vlo::win32;

namespace {

// VELLUMO_SCALE when it names a scale, else the screen's density (96 dots
// per inch are scale 1), shrunk until the window fits the work area of the
// monitor it opens on.
int desktopScale(int x, int y, int width, int height)
{
    const int forced = vlo::scaleFromText(std::getenv("VELLUMO_SCALE"));
    if (forced != 0)
        return forced;
    HDC screen = GetDC(nullptr);
    const int dpi = screen != nullptr ? GetDeviceCaps(screen, LOGPIXELSY) : 0;
    if (screen != nullptr)
        ReleaseDC(nullptr, screen);
    const int scale = std::max(vlo::scaleFromDpi(dpi), 1);
    MONITORINFO monitor{};
    monitor.cbSize = sizeof monitor;
    if (!GetMonitorInfoA(MonitorFromPoint(POINT{x, y}, MONITOR_DEFAULTTOPRIMARY), &monitor))
        return scale;
    return vlo::scaleThatFits(
        scale, width, height, monitor.rcWork.right - monitor.rcWork.left, monitor.rcWork.bottom - monitor.rcWork.top);
}

// A mouse position in client pixels (the halves of lParam, signed: a
// captured pointer left of or above the window is negative) in program
// pixels, packed the same way.
LPARAM programPoint(LPARAM lParam, int scale)
{
    const int x = floorDivide(short(LOWORD(lParam)), scale);
    const int y = floorDivide(short(HIWORD(lParam)), scale);
    return MAKELPARAM(WORD(x), WORD(y));
}

// The program's icon at size x size pixels, drawn into a 32-bit colour
// bitmap with its alpha; null when the system cannot make one.
HICON programIcon(int size)
{
    BITMAPV5HEADER header{};
    header.bV5Size = sizeof header;
    header.bV5Width = size;
    header.bV5Height = -size; // rows top first
    header.bV5Planes = 1;
    header.bV5BitCount = 32;
    header.bV5Compression = BI_BITFIELDS;
    header.bV5RedMask = 0x00FF0000;
    header.bV5GreenMask = 0x0000FF00;
    header.bV5BlueMask = 0x000000FF;
    header.bV5AlphaMask = 0xFF000000;
    void* bits = nullptr;
    HDC screen = GetDC(nullptr);
    HBITMAP colour
        = CreateDIBSection(screen, reinterpret_cast<BITMAPINFO*>(&header), DIB_RGB_COLORS, &bits, nullptr, 0);
    ReleaseDC(nullptr, screen);
    if (colour == nullptr)
        return nullptr;
    const std::vector<uint32_t> pixels = vlo::iconPixels(size);
    std::copy(pixels.begin(), pixels.end(), static_cast<uint32_t*>(bits));
    HBITMAP mask = CreateBitmap(size, size, 1, 1, nullptr);
    ICONINFO info{};
    info.fIcon = TRUE;
    info.hbmColor = colour;
    info.hbmMask = mask;
    HICON icon = CreateIconIndirect(&info);
    DeleteObject(colour);
    DeleteObject(mask);
    return icon;
}

// The window's icons (title bar size and task bar size) go with the window.
void giveIcons(HWND window)
{
    const int sizes[] = {GetSystemMetrics(SM_CXSMICON), GetSystemMetrics(SM_CXICON)};
    const WPARAM kinds[] = {ICON_SMALL, ICON_BIG};
    for (int i = 0; i < 2; ++i) {
        if (HICON icon = programIcon(sizes[i] > 0 ? sizes[i] : 32))
            SendMessageA(window, WM_SETICON, kinds[i], reinterpret_cast<LPARAM>(icon));
    }
}

void dropIcons(HWND window)
{
    for (const WPARAM kind : {ICON_SMALL, ICON_BIG}) {
        if (HICON icon = reinterpret_cast<HICON>(SendMessageA(window, WM_SETICON, kind, 0)))
            DestroyIcon(icon);
    }
}

bool hasClientPoint(UINT message)
{
    return message >= WM_MOUSEFIRST && message <= WM_MOUSELAST && message != WM_MOUSEWHEEL && message != WM_MOUSEHWHEEL;
}

LRESULT CALLBACK backEndProcedure(HWND window, UINT message, WPARAM wParam, LPARAM lParam)
{
    WindowRecord* record = recordOf(window);
    if (record == nullptr)
        return DefWindowProcA(window, message, wParam, lParam);
    switch (message) {
    case WM_PAINT:
    case WM_SIZE:
    case WM_SHOWWINDOW:
        record->damaged = true;
        break;
    default:
        break;
    }
    if (record->scale > 1 && hasClientPoint(message))
        lParam = programPoint(lParam, record->scale);
    return CallWindowProcA(record->programProcedure, window, message, wParam, lParam);
}

} // namespace

HWND vloCreateWindowExA(DWORD exStyle, const char* className, const char* windowName, DWORD style, int x, int y,
    int width, int height, HWND parent, HMENU menu, HINSTANCE instance, void* param)
{
    const int scale = parent == nullptr ? desktopScale(x, y, width, height) : 1;
    HWND window = CreateWindowExA(exStyle, className, windowName, style, x * scale, y * scale, width * scale,
        height * scale, parent, menu, instance, param);
    if (window == nullptr)
        return nullptr;
    auto record = std::make_unique<WindowRecord>();
    record->window = window;
    record->scale = scale;
    record->programProcedure = reinterpret_cast<WNDPROC>(
        SetWindowLongPtrA(window, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(backEndProcedure)));
    windowRecords().windows.push_back(std::move(record));
    if (parent == nullptr)
        giveIcons(window);
    return window;
}

BOOL vloDestroyWindow(HWND window)
{
    if (recordOf(window) != nullptr)
        dropIcons(window);
    // The window's last messages still pass the back end's procedure.
    const BOOL destroyed = DestroyWindow(window);
    auto& windows = windowRecords().windows;
    windows.erase(std::remove_if(windows.begin(), windows.end(),
                      [window](const std::unique_ptr<WindowRecord>& record) { return record->window == window; }),
        windows.end());
    return destroyed;
}

BOOL vloGetClientRect(HWND window, RECT* rect)
{
    if (!GetClientRect(window, rect))
        return FALSE;
    const WindowRecord* record = recordOf(window);
    const int scale = record != nullptr ? record->scale : 1;
    rect->right /= scale;
    rect->bottom /= scale;
    return TRUE;
}

// The windows are borderless: the window rectangle is the client area's.
BOOL vloGetWindowRect(HWND window, RECT* rect)
{
    if (!GetWindowRect(window, rect))
        return FALSE;
    const WindowRecord* record = recordOf(window);
    const int scale = record != nullptr ? record->scale : 1;
    const int width = (rect->right - rect->left) / scale;
    const int height = (rect->bottom - rect->top) / scale;
    rect->left = floorDivide(rect->left, scale);
    rect->top = floorDivide(rect->top, scale);
    rect->right = rect->left + width;
    rect->bottom = rect->top + height;
    return TRUE;
}

BOOL vloSetWindowPos(HWND window, HWND insertAfter, int x, int y, int width, int height, UINT flags)
{
    const WindowRecord* record = recordOf(window);
    const int scale = record != nullptr ? record->scale : 1;
    return SetWindowPos(window, insertAfter, x * scale, y * scale, width * scale, height * scale, flags);
}
