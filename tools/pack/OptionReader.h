#pragma once
#include <string>
#include <vector>

#include "Commands.h"

namespace vlo::pack {

// One option a command takes.
struct CommandOption {
    // The letter of its short form ('o' for -o), or a number above 255 for
    // an option that has only a long form.
    int code;
    // The long form without its "--" ("verbose"); null for none.
    const char* longName;
    // What its value is called in messages, with its article ("a FILE",
    // "SECONDS"); null for an option that takes no value.
    const char* valueName;
};

// An option as it stood on the command line, with its value ("" for none).
struct GivenOption {
    int code;
    std::string value;
};

// Reads a command's arguments with getopt_long: options may stand anywhere
// among the operands, in the forms "-o FILE", "-oFILE", "--at SECONDS" and
// "--at=SECONDS", and "--" ends them, so that an operand may start with "-".
//
//   OptionReader reader({{'o', nullptr, "FILE"}});
//   if (!reader.read("extract", arguments, error))
//       return reportUsage(error);
//   for (const GivenOption& option : reader.given()) ...
class OptionReader {
public:
    explicit OptionReader(std::vector<CommandOption> options);

    // False for an unknown option or a missing value, with error "<command>:
    // unknown option '--force'" or "<command>: -o needs a FILE".
    bool read(const std::string& command, const Arguments& arguments, std::string& error);
    // The options in the order given, repeats included.
    const std::vector<GivenOption>& given() const { return options; }
    // The arguments that are no options, in their order.
    const Arguments& operands() const { return others; }

    // Whether "-h" or "--help" stands among the options (before any "--"),
    // whatever else is there.
    static bool asksForHelp(const Arguments& arguments);

private:
    // The option's name as typed: "-o", or "--at" for a long-only option.
    std::string nameOf(int code) const;

    std::vector<CommandOption> known;
    std::vector<GivenOption> options;
    Arguments others;
};

} // namespace vlo::pack
