// Window classes: a name bound to a window procedure and a class style.

#include "platform/sdl/PlatformData.h"

using vlo::sdl::platformData;

WORD RegisterClassA(const WNDCLASSA* windowClass)
{
    if (windowClass == nullptr || windowClass->lpszClassName == nullptr || windowClass->lpfnWndProc == nullptr)
        return 0;
    auto& classes = platformData().classes;
    // A name can be registered once (ERROR_CLASS_ALREADY_EXISTS).
    auto inserted = classes.emplace(windowClass->lpszClassName, *windowClass);
    if (!inserted.second)
        return 0;
    WNDCLASSA& stored = inserted.first->second;
    stored.lpszClassName = inserted.first->first.c_str();
    // The menu name is not kept: no window of ours has a menu.
    stored.lpszMenuName = nullptr;
    // The atom: any non-zero number that names the class.
    return WORD(0xC000u + classes.size());
}

BOOL UnregisterClassA(const char* className, HINSTANCE)
{
    if (className == nullptr)
        return FALSE;
    auto& data = platformData();
    // A class whose windows still exist stays registered (ERROR_CLASS_HAS_WINDOWS).
    for (const auto& window : data.windows) {
        if (window->className == className)
            return FALSE;
    }
    return data.classes.erase(className) == 1 ? TRUE : FALSE;
}

HINSTANCE GetModuleHandleA(const char* moduleName)
{
    // Only the program's own module exists: it has no libraries of ours.
    static PlatformInstance program;
    return moduleName == nullptr ? &program : nullptr;
}

// Icons and cursors are never drawn (the window is borderless and keeps the
// system arrow), so a stock resource is just a non-null token: its own name.
HICON LoadIconA(HINSTANCE, const char* name)
{
    return const_cast<char*>(name);
}

HCURSOR LoadCursorA(HINSTANCE, const char* name)
{
    return const_cast<char*>(name);
}
