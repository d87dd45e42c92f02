#pragma once
// What the audio back end makes of a music file, without a sound device: the
// viewer's player and the authoring tool's check ask the same question.

#include <string>

namespace vlo {

// Why the audio back end would refuse the music file at `path`: it does not
// exist, it is no regular file (a folder, a device, a FIFO or a socket, which
// are never opened), or no decoder reads its content. Empty when it plays.
std::string musicFileProblem(const std::string& path);

} // namespace vlo
