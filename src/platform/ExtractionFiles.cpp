// Extraction files on POSIX: exclusive creation, ownership by device and
// inode number, the private folder and its removal at exit and on signals.

#include "platform/ExtractionFiles.h"

#include <fcntl.h>
#include <signal.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <system_error>

namespace vlo {
namespace ExtractionFiles {

namespace {

// A show has a handful of extensions, and each extraction is normally
// deleted right after its read; the table only has to hold what is on disk
// at one time.
constexpr int MaxFiles = 128;
constexpr std::size_t MaxPath = 4096;

// A file this run created. The descriptor stays open until the file is
// deleted, which keeps its inode allocated: no other file can get the same
// device and inode numbers meanwhile, so a file found at the path with those
// numbers is this very file.
struct OwnedFile {
    char path[MaxPath];
    dev_t device;
    ino_t inode;
    int descriptor;
    // Set after the other fields are filled and cleared before they change,
    // because the signal handler reads the table too.
    volatile sig_atomic_t inUse;
};

struct State {
    OwnedFile files[MaxFiles];
    char folder[MaxPath];
    volatile sig_atomic_t hasFolder;
    bool hooksInstalled;
};

// Zero-initialised before anything runs, so a signal handler may read it at
// any time.
State theState;

// Only async-signal-safe calls from here to removeAll(): it also runs inside
// the signal handler.
bool stillOurs(const OwnedFile& file)
{
    struct stat now;
    return lstat(file.path, &now) == 0 && S_ISREG(now.st_mode) && now.st_dev == file.device && now.st_ino == file.inode;
}

void forget(OwnedFile& file)
{
    file.inUse = 0;
    close(file.descriptor);
}

void deleteIfOurs(OwnedFile& file)
{
    if (stillOurs(file))
        unlink(file.path);
    forget(file);
}

void onSignal(int signalNumber)
{
    removeAll();
    // Ends the process as the signal would have, once this handler returns.
    signal(signalNumber, SIG_DFL);
    raise(signalNumber);
}

OwnedFile* find(const std::string& path)
{
    for (OwnedFile& file : theState.files) {
        if (file.inUse && path == file.path)
            return &file;
    }
    return nullptr;
}

OwnedFile* freeSlot()
{
    for (int pass = 0; pass < 2; ++pass) {
        for (OwnedFile& file : theState.files) {
            if (!file.inUse)
                return &file;
        }
        // Full: let go of files that someone else has deleted or replaced.
        for (OwnedFile& file : theState.files) {
            if (!stillOurs(file))
                forget(file);
        }
    }
    return nullptr;
}

// A new file at `path`, or -1. A name taken by a file of this run is taken
// over: that file is deleted and the name created afresh.
int createNew(const std::string& path)
{
    if (path.empty() || path.size() >= MaxPath)
        return -1;
    const int flags = O_WRONLY | O_CREAT | O_EXCL | O_NOFOLLOW | O_CLOEXEC;
    int descriptor = open(path.c_str(), flags, 0600);
    if (descriptor < 0 && errno == EEXIST) {
        OwnedFile* earlier = find(path);
        if (earlier != nullptr && stillOurs(*earlier)) {
            deleteIfOurs(*earlier);
            descriptor = open(path.c_str(), flags, 0600);
        }
    }
    return descriptor;
}

// Notes the new file as this run's own and opens a stream on it.
std::FILE* adopt(const std::string& path, int descriptor)
{
    if (OwnedFile* stale = find(path))
        forget(*stale);
    struct stat info;
    OwnedFile* slot = freeSlot();
    const int writer = slot != nullptr && fstat(descriptor, &info) == 0 ? dup(descriptor) : -1;
    std::FILE* stream = writer >= 0 ? fdopen(writer, "wb") : nullptr;
    if (stream == nullptr) {
        if (writer >= 0)
            close(writer);
        // Just created and not yet known to anyone: safe to take back.
        unlink(path.c_str());
        close(descriptor);
        return nullptr;
    }
    std::memcpy(slot->path, path.c_str(), path.size() + 1);
    slot->device = info.st_dev;
    slot->inode = info.st_ino;
    slot->descriptor = descriptor;
    slot->inUse = 1;
    return stream;
}

bool makeFolderUnder(const std::string& base)
{
    if (base.empty() || base[0] != '/')
        return false;
    std::string pattern = base;
    if (pattern.back() != '/')
        pattern += '/';
    pattern += "vellumo-XXXXXX";
    if (pattern.size() >= MaxPath)
        return false;
    // mkdtemp makes the folder with mode 0700 under a name no one else has.
    if (mkdtemp(pattern.data()) == nullptr)
        return false;
    std::memcpy(theState.folder, pattern.c_str(), pattern.size() + 1);
    theState.hasFolder = 1;
    return true;
}

bool ensureFolder()
{
    if (theState.hasFolder)
        return true;
    const char* runtime = std::getenv("XDG_RUNTIME_DIR");
    if (runtime != nullptr && makeFolderUnder(runtime))
        return true;
    std::error_code error;
    const std::filesystem::path temporary = std::filesystem::temp_directory_path(error);
    if (!error && makeFolderUnder(temporary.string()))
        return true;
    return makeFolderUnder("/tmp");
}

void removeAllAtExit()
{
    removeAll();
}

void installHooks()
{
    if (theState.hooksInstalled)
        return;
    theState.hooksInstalled = true;
    std::atexit(removeAllAtExit);
    guardSignals();
}

} // namespace

std::FILE* create(const std::string& wanted, std::string& path)
{
    path.clear();
    installHooks();
    std::string where = wanted;
    int descriptor = createNew(where);
    if (descriptor < 0 && ensureFolder()) {
        where = std::string(theState.folder) + "/" + std::filesystem::path(wanted).filename().string();
        descriptor = createNew(where);
    }
    if (descriptor < 0)
        return nullptr;
    std::FILE* stream = adopt(where, descriptor);
    if (stream != nullptr)
        path = where;
    return stream;
}

void remove(const std::string& path)
{
    if (OwnedFile* file = find(path))
        deleteIfOurs(*file);
}

void removeAll()
{
    for (OwnedFile& file : theState.files) {
        if (file.inUse)
            deleteIfOurs(file);
    }
    if (theState.hasFolder) {
        theState.hasFolder = 0;
        rmdir(theState.folder);
    }
}

std::string privateFolder()
{
    return theState.hasFolder ? std::string(theState.folder) : std::string();
}

void guardSignals()
{
    for (const int signalNumber : {SIGINT, SIGTERM, SIGHUP}) {
        struct sigaction current;
        if (sigaction(signalNumber, nullptr, &current) != 0)
            continue;
        if ((current.sa_flags & SA_SIGINFO) != 0 || current.sa_handler != SIG_DFL)
            continue;
        struct sigaction mine;
        std::memset(&mine, 0, sizeof mine);
        mine.sa_handler = onSignal;
        sigemptyset(&mine.sa_mask);
        mine.sa_flags = SA_RESTART;
        sigaction(signalNumber, &mine, nullptr);
    }
}

} // namespace ExtractionFiles
} // namespace vlo
