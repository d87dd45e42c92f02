#include "CheckReport.h"

#include <cstdio>

#include "Diagnostics.h"

namespace vlo::pack {

namespace {

void printLine(const char* kind, const std::string& place, const std::string& text)
{
    // Names in reasons are escaped already; the place may hold a path.
    std::printf("%s: %s: %s\n", kind, escaped(place).c_str(), text.c_str());
}

std::string counted(int count, const char* noun)
{
    return std::to_string(count) + " " + noun + (count == 1 ? "" : "s");
}

} // namespace

void CheckReport::error(const std::string& place, const std::string& reason)
{
    ++errorCount;
    printLine("error", place, reason);
}

void CheckReport::warning(const std::string& place, const std::string& reason)
{
    ++warningCount;
    printLine("warning", place, reason);
}

void CheckReport::info(const std::string& place, const std::string& text)
{
    if (showInfo)
        printLine("info", place, text);
}

int CheckReport::finish() const
{
    std::printf("%s, %s\n", counted(errorCount, "error").c_str(), counted(warningCount, "warning").c_str());
    std::fflush(stdout);
    return errorCount > 0 ? kExitFailure : kExitSuccess;
}

std::string configPlace(ConfigPlace place)
{
    if (place.line == 0)
        return "Vellumo.ini";
    return "Vellumo.ini:" + std::to_string(place.line) + ":" + std::to_string(place.column);
}

} // namespace vlo::pack
