#pragma once
// For the Windows back end's own files: the program's declarations with the
// system's calls under their own names again (Win32.h sends a few of them
// through this back end). Never included outside src/platform/win32/.

#include "platform/Win32.h"

#undef GetTickCount
#undef CreateWindowExA
#undef DestroyWindow
#undef GetClientRect
#undef GetWindowRect
#undef SetWindowPos
#undef wglMakeCurrent
#undef wglDeleteContext
#undef SwapBuffers
#undef wglUseFontBitmapsA
