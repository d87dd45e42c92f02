#pragma once
#include <string>

namespace vlo::pack {

// Exit statuses of every command: 0 done, 1 the input was wrong or the work
// failed, 2 the command line itself was wrong.
constexpr int kExitSuccess = 0;
constexpr int kExitFailure = 1;
constexpr int kExitUsage = 2;

// Prints "vellumo-pack: <line>" on standard error and returns kExitFailure.
// Each failure is one line naming the place (file, entry, byte) and the value
// that was wrong.
int reportError(const std::string& line);

// Prints "vellumo-pack: <line>" and a hint at --help on standard error and
// returns kExitUsage.
int reportUsage(const std::string& line);

// A name as it may be printed on one line: control characters become \xNN.
std::string escaped(const std::string& text);

// Quotes a name or path for a message, so that empty names and names with
// spaces stay visible.
std::string inQuotes(const std::string& text);

} // namespace vlo::pack
