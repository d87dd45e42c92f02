#pragma once
// Comparing what end-to-end runs leave: a folder's tree before and after,
// and two pictures of a window.
#include <algorithm>
#include <filesystem>
#include <string>
#include <vector>

#include "support/E2eProgram.h"

namespace vlo::e2e {

// Every path under a folder with its size, sorted: what "unchanged" means.
inline std::string treeOf(const std::string& folder)
{
    std::vector<std::string> lines;
    for (const auto& entry : std::filesystem::recursive_directory_iterator(folder)) {
        std::string line = std::filesystem::relative(entry.path(), folder).string();
        if (entry.is_regular_file())
            line += " " + std::to_string(entry.file_size());
        lines.push_back(line);
    }
    std::sort(lines.begin(), lines.end());
    std::string text;
    for (const std::string& line : lines)
        text += line + "\n";
    return text;
}

// The share of points on a 25-pixel grid where two pictures of the window
// differ by more than `tolerance` in a channel.
inline double differingShare(const Screenshot& a, const Screenshot& b, int tolerance = 24)
{
    int points = 0;
    int differing = 0;
    for (int y = 12; y < 600; y += 25)
        for (int x = 12; x < 700; x += 25) {
            ++points;
            differing += near(a.at(x, y), b.at(x, y), tolerance) ? 0 : 1;
        }
    return double(differing) / double(points);
}

} // namespace vlo::e2e
