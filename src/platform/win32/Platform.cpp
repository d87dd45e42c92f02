// The program's own platform services on Windows: the system gives a real
// display and lets the program place its windows.

#include <cstdio>

#include "platform/MediaRemote.h"
#include "platform/win32/WindowRecords.h"

void vlo::setOffscreenAllowed(bool)
{
}

bool vlo::isOffscreen()
{
    return false;
}

void vlo::useStartingTerminal()
{
    const HANDLE output = GetStdHandle(STD_OUTPUT_HANDLE);
    if ((output != nullptr && output != INVALID_HANDLE_VALUE) || !AttachConsole(ATTACH_PARENT_PROCESS))
        return;
    std::freopen("CONOUT$", "w", stdout);
    std::freopen("CONOUT$", "w", stderr);
}

void vlo::platformShutdown()
{
    win32::WindowRecords& records = win32::windowRecords();
    // Whatever the program left behind goes, silently: the window procedures
    // may belong to objects already gone.
    if (records.current != nullptr)
        vloWglMakeCurrent(nullptr, nullptr);
    while (!records.contexts.empty())
        vloWglDeleteContext(records.contexts.back().context);
    while (!records.windows.empty()) {
        HWND window = records.windows.back()->window;
        SetWindowLongPtrA(window, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(DefWindowProcA));
        vloDestroyWindow(window);
    }
}

// The program moves its window itself, as the drag handlers do.
void vlo::setDragAreaTest(HWND, DragAreaTest, void*)
{
}

// The desktop's media controls arrive as media keys (WM_KEYDOWN); there is
// no bus to offer the show on.
std::unique_ptr<vlo::MediaRemote> vlo::openMediaRemote(MediaSource&)
{
    return nullptr;
}
