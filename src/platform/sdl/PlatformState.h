#pragma once
// Back-end state shared by the SDL platform files; never included outside
// src/platform/.

#include "platform/Win32.h"

// A window's one device context (the class has CS_OWNDC): the window it
// draws to and the GDI object currently selected into it.
struct PlatformDeviceContext {
    HWND window = nullptr;
    HGDIOBJ selected = nullptr;
};
