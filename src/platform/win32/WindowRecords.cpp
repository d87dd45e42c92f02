#include "platform/win32/WindowRecords.h"

namespace vlo {
namespace win32 {

WindowRecords& windowRecords()
{
    static WindowRecords records;
    return records;
}

WindowRecord* recordOf(HWND window)
{
    for (const auto& record : windowRecords().windows) {
        if (window != nullptr && record->window == window)
            return record.get();
    }
    return nullptr;
}

WindowRecord* recordOf(HDC dc)
{
    return dc != nullptr ? recordOf(WindowFromDC(dc)) : nullptr;
}

ContextRecord* contextRecordOf(HGLRC context)
{
    for (ContextRecord& record : windowRecords().contexts) {
        if (context != nullptr && record.context == context)
            return &record;
    }
    return nullptr;
}

int floorDivide(int a, int b)
{
    const int quotient = a / b;
    return (a % b != 0 && (a < 0) != (b < 0)) ? quotient - 1 : quotient;
}

} // namespace win32
} // namespace vlo
