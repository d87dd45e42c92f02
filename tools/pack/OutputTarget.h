#pragma once
#include <cstdio>
#include <string>

namespace vlo::pack {

// The system's side of OutputFile (posix/OutputTarget.cpp,
// windows/OutputTarget.cpp): how a name is opened for writing and how a
// finished temporary file takes its place.

// What opening a name gave: the stream to write, and for a replacement the
// file it replaces (links followed) and the temporary file being written
// beside it. Both paths are empty when the name is written in place.
struct OpenedTarget {
    std::FILE* file = nullptr;
    std::string replacedPath;
    std::string temporaryPath;
};

// Opens `target` for writing as OutputFile describes. On failure fills error
// with one line naming the target and the reason; nothing has changed then.
bool openTarget(const std::string& target, OpenedTarget& opened, std::string& error);
// Makes what the stream's file holds reach the disk; the reason on failure,
// else empty.
std::string syncToDisk(std::FILE* file);
// Puts the written temporary file in the place of `replaced`, keeping what
// the old file there had of its own (mode, owner, attributes); the reason on
// failure, else empty.
std::string putInPlace(const std::string& temporary, const std::string& replaced);
// Deletes a temporary file that is not put in place.
void removeTemporary(const std::string& path);
// Makes the stream pass bytes unchanged (Windows' standard output would
// turn each "\n" into "\r\n"); nothing to do on POSIX systems.
void makeBinary(std::FILE* file);

} // namespace vlo::pack
