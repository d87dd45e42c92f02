#pragma once
#include <cstddef>
#include <string>

#include "content/ConfigPlace.h"

namespace vlo {

// One token of the configuration as read, with where it starts. A token that
// was never read has no place (line 0).
struct ConfigToken {
    std::string text;
    ConfigPlace place;
    // Byte offset of the token's first character.
    size_t offset = 0;
};

} // namespace vlo
