#include "OptionReader.h"

#include <getopt.h>

#include "Diagnostics.h"

namespace vlo::pack {

namespace {

// getopt_long's view of the arguments: argv[0] is the command, and the
// pointers may be reordered by it (options before operands).
class ArgumentVector {
public:
    ArgumentVector(const std::string& command, const Arguments& arguments)
        : strings(1, command)
    {
        strings.insert(strings.end(), arguments.begin(), arguments.end());
        for (std::string& text : strings)
            pointers.push_back(&text[0]);
        pointers.push_back(nullptr);
    }
    int count() const { return int(strings.size()); }
    char** data() { return pointers.data(); }

private:
    std::vector<std::string> strings;
    std::vector<char*> pointers;
};

// Makes the next getopt_long start afresh, and quietly: every message is
// the command's own.
void restartGetopt()
{
    optind = 0;
    opterr = 0;
}

} // namespace

OptionReader::OptionReader(std::vector<CommandOption> options)
    : known(std::move(options))
{
}

bool OptionReader::read(const std::string& command, const Arguments& arguments, std::string& error)
{
    // "-" first: operands come back in place, as code 1, so that options
    // may follow them also when POSIXLY_CORRECT is set; ":" then: a missing
    // value is told apart from an unknown option.
    std::string shortOptions = "-:";
    std::vector<option> longOptions;
    for (const CommandOption& entry : known) {
        if (entry.code < 256) {
            shortOptions += char(entry.code);
            if (entry.valueName)
                shortOptions += ':';
        }
        if (entry.longName)
            longOptions.push_back(
                {entry.longName, entry.valueName ? required_argument : no_argument, nullptr, entry.code});
    }
    longOptions.push_back({nullptr, 0, nullptr, 0});

    options.clear();
    others.clear();
    ArgumentVector argv(command, arguments);
    restartGetopt();
    for (;;) {
        const int code = getopt_long(argv.count(), argv.data(), shortOptions.c_str(), longOptions.data(), nullptr);
        if (code == -1)
            break;
        if (code == ':') {
            const CommandOption* entry = nullptr;
            for (const CommandOption& candidate : known)
                entry = candidate.code == optopt ? &candidate : entry;
            error = command + ": " + nameOf(optopt) + " needs " + (entry ? entry->valueName : "a value");
            return false;
        }
        if (code == '?') {
            const std::string typed = optind > 0 && optind <= argv.count() ? argv.data()[optind - 1] : "";
            if (optopt == 0) {
                error = command + ": unknown option " + inQuotes(typed.substr(0, typed.find('=')));
            } else if (typed.rfind("--", 0) == 0 && nameOf(optopt) != "-?") {
                error = command + ": " + inQuotes(typed.substr(0, typed.find('='))) + " takes no value";
            } else {
                error = command + ": unknown option " + inQuotes(std::string("-") + char(optopt));
            }
            return false;
        }
        if (code == 1)
            others.push_back(optarg);
        else
            options.push_back({code, optarg ? optarg : ""});
    }
    for (int i = optind; i < argv.count(); ++i)
        others.push_back(argv.data()[i]);
    return true;
}

bool OptionReader::asksForHelp(const Arguments& arguments)
{
    // Every other option is unknown here and passed over.
    const option longOptions[] = {{"help", no_argument, nullptr, 'h'}, {nullptr, 0, nullptr, 0}};
    ArgumentVector argv("", arguments);
    restartGetopt();
    for (;;) {
        const int code = getopt_long(argv.count(), argv.data(), "-:h", longOptions, nullptr);
        if (code == -1)
            return false;
        if (code == 'h')
            return true;
    }
}

std::string OptionReader::nameOf(int code) const
{
    for (const CommandOption& entry : known) {
        if (entry.code != code)
            continue;
        if (entry.code < 256)
            return std::string("-") + char(entry.code);
        return std::string("--") + entry.longName;
    }
    return "-?";
}

} // namespace vlo::pack
