#pragma once
#include <cstdio>
#include <string>

namespace vlo::pack {

// A file the tool writes under a name the user gave (an archive, an extracted
// entry, a preview picture). What is at that name decides how it is written:
// - nothing, or a regular file: the content goes to a temporary file in the
//   same folder, which commit() renames over the name, so that the name holds
//   either the old content or all of the new. A replaced file keeps its
//   permission bits and, where the user may give them, its owner and group.
// - a symbolic link: followed, also through several links; the file it names
//   is written as above and the link stays a link.
// - a FIFO, a device, or one of this program's own descriptors (/dev/stdout,
//   /dev/fd/N): written to directly and never replaced. On Windows the same
//   holds for the devices ("CON", "NUL", "COM1", in any folder), for pipes,
//   and for "-", which stands for standard output there.
// On Windows a replaced file keeps its attributes (hidden, archive...), and
// a read-only file is refused as one the user may not write.
// Whatever rules the write out (a file the user may not write, a folder that
// cannot take the temporary file, a folder or a socket at the name) is found
// by open(), before anything has changed.
//
//   OutputFile file;
//   if (!file.open(path, error) || !write(file.stream()) || !file.commit(error))
//       return reportError(error);
class OutputFile {
public:
    OutputFile() = default;
    // Removes the temporary file of a replacement that was not committed.
    ~OutputFile();
    OutputFile(const OutputFile&) = delete;
    OutputFile& operator=(const OutputFile&) = delete;

    // Gets ready to write `target`. On failure fills error with one line
    // naming the path and the reason; nothing has changed then.
    bool open(const std::string& target, std::string& error);
    // The stream to write to; null before a successful open().
    std::FILE* stream() const { return file; }
    // Writes out what the stream holds and, for a replacement, puts the new
    // file in place. On failure fills error; a replaced file then keeps its
    // old content, and the temporary file is gone.
    bool commit(std::string& error);

private:
    void discard();

    // The name as the user gave it, for messages.
    std::string targetPath;
    // The file that commit() replaces, links followed; empty when the
    // target is written directly.
    std::string replacedPath;
    std::string temporaryPath;
    std::FILE* file = nullptr;
};

} // namespace vlo::pack
