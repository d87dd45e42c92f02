#pragma once
#include <string>

#include "content/ConfigPlace.h"

namespace vlo::pack {

// The check's output on standard output: one line per problem,
// "error: PLACE: REASON" or "warning: PLACE: REASON", information lines
// ("info: ...") when asked for, then the summary "2 errors, 1 warning".
class CheckReport {
public:
    explicit CheckReport(bool verbose)
        : showInfo(verbose)
    {
    }

    void error(const std::string& place, const std::string& reason);
    void warning(const std::string& place, const std::string& reason);
    void info(const std::string& place, const std::string& text);
    // Prints the summary line and returns the exit status: 0 without
    // errors, 1 with.
    int finish() const;

    int errors() const { return errorCount; }
    int warnings() const { return warningCount; }

private:
    bool showInfo;
    int errorCount = 0;
    int warningCount = 0;
};

// "Vellumo.ini:3:1" for a place in the configuration, "Vellumo.ini" for the
// file as a whole.
std::string configPlace(ConfigPlace place);

} // namespace vlo::pack
