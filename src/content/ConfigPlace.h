#pragma once

namespace vlo {

// Where a token of the configuration starts: 1-based line and column, both
// counted in bytes (a line feed ends a line). Line 0 means no place in the
// file.
struct ConfigPlace {
    int line = 0;
    int column = 0;
};

} // namespace vlo
