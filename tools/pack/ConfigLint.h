#pragma once
#include <string>
#include <vector>

#include "content/ConfigToken.h"

namespace vlo::pack {

enum class Severity { Error, Warning };

struct ConfigProblem {
    Severity severity = Severity::Error;
    // Line 0: the file as a whole.
    ConfigPlace place;
    std::string text;
};

// A value as the viewer ends up with it, and where the token that set it
// stands (line 0: never set).
struct ConfigValue {
    std::string text;
    ConfigPlace place;
    bool isSet() const { return place.line != 0; }
};

// One music line: music file on disk, track picture and caption picture.
struct ConfigTrack {
    ConfigToken file;
    ConfigToken picture;
    ConfigToken caption;
};

struct ConfigLintResult {
    // Whether the viewer accepts the file.
    bool loads = false;
    ConfigValue title;
    ConfigValue mask;
    ConfigValue credits;
    ConfigValue fade;
    // The complete music lines read, in file order (as far as the viewer
    // read before refusing the file).
    std::vector<ConfigTrack> tracks;
    std::vector<ConfigProblem> problems;
};

// Loads the text of Vellumo.ini with the viewer's own reader (from a copy
// written into scratchFolder) and names every problem it meets with its
// place: what makes the viewer refuse the file (the first such problem ends
// the reading, as it does for the viewer), and what loads but cannot be what
// the author meant.
ConfigLintResult lintConfig(const std::string& text, const std::string& scratchFolder);

} // namespace vlo::pack
