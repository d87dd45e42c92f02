#include "platform/Win32.h"

// The program starts as it would on Windows; -1 from WinMain is exit status 255.
int main()
{
    return WinMain(nullptr, nullptr, nullptr, 0);
}
