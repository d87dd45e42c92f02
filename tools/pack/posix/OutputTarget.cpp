// How a name is written on POSIX systems: links followed by hand (also to
// this process's own descriptors under /dev/fd and /proc), a replacement made
// with mkstemp beside the file and rename(), owner and mode carried over.
#include "OutputTarget.h"

#include <cerrno>
#include <climits>
#include <cstring>
#include <filesystem>
#include <vector>

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include "Diagnostics.h"

namespace vlo::pack {

namespace {

// As many links in a row as the system itself follows.
constexpr int kMostLinks = 40;

std::string reason()
{
    return std::strerror(errno);
}

bool startsWith(const std::string& text, const std::string& prefix)
{
    return text.compare(0, prefix.size(), prefix) == 0;
}

// N when the path names this process's own descriptor N ("/dev/fd/N",
// "/proc/self/fd/N", "/proc/<this process>/fd/N"), else -1. Such a name is
// written through the descriptor: opening it anew would need the rights on
// whatever the descriptor leads to (a pipe owned by another user), and
// renaming over it would lose the output altogether.
int ownDescriptor(const std::string& path)
{
    const std::string prefixes[] = {"/dev/fd/", "/proc/self/fd/", "/proc/" + std::to_string(getpid()) + "/fd/"};
    for (const std::string& prefix : prefixes) {
        if (!startsWith(path, prefix))
            continue;
        const std::string digits = path.substr(prefix.size());
        if (!digits.empty() && digits.size() < 9 && digits.find_first_not_of("0123456789") == std::string::npos)
            return std::stoi(digits);
    }
    return -1;
}

// The name a chain of symbolic links ends at, and the descriptor it stands
// for when it is one of this process's own (else -1).
struct LinkEnd {
    std::string path;
    int descriptor = -1;
};

bool followLinks(const std::string& target, LinkEnd& end, std::string& error)
{
    std::string path = target;
    for (int links = 0; links <= kMostLinks; ++links) {
        end.path = path;
        end.descriptor = ownDescriptor(path);
        struct stat info;
        if (end.descriptor >= 0 || lstat(path.c_str(), &info) != 0 || !S_ISLNK(info.st_mode))
            return true;
        // The links under /proc lead to open files, not to names ("pipe:[12]").
        if (startsWith(path, "/proc/"))
            return true;
        std::vector<char> buffer(size_t(info.st_size > 0 ? info.st_size : PATH_MAX) + 1);
        const ssize_t length = readlink(path.c_str(), buffer.data(), buffer.size());
        if (length < 0 || size_t(length) >= buffer.size()) {
            error = inQuotes(target) + ": cannot read the link " + inQuotes(path) + ": " + reason();
            return false;
        }
        const std::filesystem::path next(std::string(buffer.data(), size_t(length)));
        path = next.is_absolute() ? next.string() : (std::filesystem::path(path).parent_path() / next).string();
    }
    error = inQuotes(target) + ": more than " + std::to_string(kMostLinks) + " symbolic links in a row";
    return false;
}

// Whether the socket is this program's standard output or error, the only
// sockets it can write to as files.
int inheritedDescriptorOf(const struct stat& socket)
{
    for (const int descriptor : {STDOUT_FILENO, STDERR_FILENO}) {
        struct stat own;
        if (fstat(descriptor, &own) == 0 && own.st_dev == socket.st_dev && own.st_ino == socket.st_ino)
            return descriptor;
    }
    return -1;
}

// Gives the new file the owner and group of the old one, or at least its
// group; false when neither is allowed.
bool keepOwner(int descriptor, const struct stat& old)
{
    return fchown(descriptor, old.st_uid, old.st_gid) == 0 || fchown(descriptor, uid_t(-1), old.st_gid) == 0;
}

bool openDirect(const std::string& target, int descriptor, OpenedTarget& opened, std::string& error)
{
    opened.file = fdopen(descriptor, "wb");
    if (!opened.file) {
        error = inQuotes(target) + ": cannot write: " + reason();
        ::close(descriptor);
        return false;
    }
    return true;
}

bool openReplacement(
    const std::string& target, const std::string& path, bool exists, OpenedTarget& opened, std::string& error)
{
    // A file the user may not write is not replaced either, although its
    // folder would let the rename through.
    struct stat old;
    if (exists && (access(path.c_str(), W_OK) != 0 || stat(path.c_str(), &old) != 0)) {
        error = inQuotes(target) + ": cannot write: " + reason();
        return false;
    }
    std::string pattern = path + ".tmp-XXXXXX";
    std::vector<char> name(pattern.begin(), pattern.end());
    name.push_back('\0');
    const int descriptor = ::mkstemp(name.data());
    if (descriptor < 0) {
        const std::string folder = std::filesystem::path(path).parent_path().string();
        error = "cannot create a temporary file beside " + inQuotes(target) + " in the folder "
            + inQuotes(folder.empty() ? "." : folder) + ": " + reason();
        return false;
    }
    if (exists) {
        // The owner first: a change of owner clears the set-user-ID and
        // set-group-ID bits that the mode then puts back. Whoever may not
        // give the file away still keeps its group where they belong to it.
        keepOwner(descriptor, old);
        ::fchmod(descriptor, old.st_mode & 07777);
    } else {
        // mkstemp creates the file readable by its owner only; give it the
        // permissions any new file of this user would get.
        const mode_t mask = ::umask(0);
        ::umask(mask);
        ::fchmod(descriptor, 0666 & ~mask);
    }
    opened.file = ::fdopen(descriptor, "wb");
    if (!opened.file) {
        error = "cannot write " + inQuotes(name.data()) + ": " + reason();
        ::close(descriptor);
        ::unlink(name.data());
        return false;
    }
    opened.temporaryPath = name.data();
    opened.replacedPath = path;
    return true;
}

} // namespace

bool openTarget(const std::string& target, OpenedTarget& opened, std::string& error)
{
    LinkEnd end;
    if (!followLinks(target, end, error))
        return false;
    if (end.descriptor >= 0) {
        const int copy = fcntl(end.descriptor, F_DUPFD_CLOEXEC, 0);
        if (copy < 0) {
            error
                = inQuotes(target) + ": cannot write to descriptor " + std::to_string(end.descriptor) + ": " + reason();
            return false;
        }
        return openDirect(target, copy, opened, error);
    }

    struct stat info;
    if (stat(end.path.c_str(), &info) != 0) {
        if (errno != ENOENT) {
            error = inQuotes(target) + ": " + reason();
            return false;
        }
        return openReplacement(target, end.path, false, opened, error);
    }
    const bool underProc = startsWith(end.path, "/proc/");
    if (S_ISREG(info.st_mode) && !underProc)
        return openReplacement(target, end.path, true, opened, error);
    if (S_ISDIR(info.st_mode)) {
        error = inQuotes(target) + ": is a folder";
        return false;
    }
    if (S_ISSOCK(info.st_mode)) {
        const int inherited = inheritedDescriptorOf(info);
        const int copy = inherited >= 0 ? fcntl(inherited, F_DUPFD_CLOEXEC, 0) : -1;
        if (copy < 0) {
            error = inQuotes(target) + ": is a socket, not a file that can be written";
            return false;
        }
        return openDirect(target, copy, opened, error);
    }
    // A FIFO or a device, or a file that a link under /proc leads to (which
    // has no name to rename over). Opening a FIFO waits for its reader, as
    // any program writing to it would.
    const int flags = O_WRONLY | O_NOCTTY | O_CLOEXEC | (S_ISREG(info.st_mode) ? O_TRUNC : 0);
    const int descriptor = ::open(end.path.c_str(), flags);
    if (descriptor < 0) {
        error = inQuotes(target) + ": cannot write: " + reason();
        return false;
    }
    return openDirect(target, descriptor, opened, error);
}

std::string syncToDisk(std::FILE* file)
{
    return ::fsync(::fileno(file)) == 0 ? std::string() : reason();
}

std::string putInPlace(const std::string& temporary, const std::string& replaced)
{
    return std::rename(temporary.c_str(), replaced.c_str()) == 0 ? std::string() : reason();
}

void removeTemporary(const std::string& path)
{
    ::unlink(path.c_str());
}

void makeBinary(std::FILE*)
{
}

} // namespace vlo::pack
