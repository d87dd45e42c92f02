#pragma once
#include <string>

namespace vlo {

// Metrics of one bitmap font, as the window system reported them (pixels).
struct FontInfo {
    std::string face;
    int height = 0;
    int averageCharWidth = 0;
    int textHeight = 0;
    int maxCharWidth = 0;
    int ascent = 0;
    int descent = 0;
    int overhang = 0;
    bool bold = false;
    bool italic = false;
    bool underline = false;
    int advanceWidths[256] = {};
};

} // namespace vlo
