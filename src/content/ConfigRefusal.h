#pragma once

#include "content/ConfigToken.h"

namespace vlo {

// Why the configuration reader refused a file, and where: the token it
// stopped at, with its line and column.
struct ConfigRefusal {
    enum class Reason {
        // The file loaded.
        Accepted,
        // The file could not be opened (no token).
        CannotOpen,
        // The file ends before its first section header (no token).
        NoSection,
        // The token stands where a section header is expected.
        NotASection,
        // The file ends right after a data section's header (the token is
        // that header).
        NoKey,
        // The token stands where a data section's key or "[end]" is expected.
        UnknownKey,
    };

    Reason reason = Reason::Accepted;
    ConfigToken token;
};

} // namespace vlo
