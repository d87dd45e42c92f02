#pragma once
#include <cstdio>
#include <string>

namespace vlo {

// Where extraction files are made and how they go again. Process-wide state
// (the files this run created and its private folder) with free operations.
//
// A file is always created new and exclusively: an existing name is never
// opened, so a symbolic link, a folder or another program's file under that
// name is never written through or truncated. Only a file this run created
// and still holds may be replaced, and only that file is ever deleted.
// When the wanted place cannot take a new file (the folder cannot be written,
// or the name is taken by something else), the file goes under the same name
// into a folder private to this process: created with mode 0700 under
// $XDG_RUNTIME_DIR, else under the system's temporary folder, and removed
// with everything this run put there when the process ends, also when
// SIGINT, SIGTERM or SIGHUP end it while nothing else handles them.
namespace ExtractionFiles {

// Opens a new, empty file for writing, at `wanted` when possible, else in the
// private folder under the same file name. On success `path` names the file
// and the caller writes and closes the returned stream; on failure the result
// is null and `path` is empty.
std::FILE* create(const std::string& wanted, std::string& path);

// Deletes the file at `path` when it is one that create() made in this run
// and it is still that very file; forgets it either way. Anything else at
// that path is left alone.
void remove(const std::string& path);

// Deletes every file this run created that is still in place, then the
// private folder; the next create() that needs a private folder makes a new
// one. Runs by itself at exit.
void removeAll();

// The private folder, empty while no extraction has needed it.
std::string privateFolder();

// Lets SIGINT, SIGTERM and SIGHUP, wherever they are still at their default
// action, remove the files and the private folder before they end the
// process. Signals that someone else handles (the window system turns SIGINT
// and SIGTERM into a close request) stay with their handler. Called by
// create() and again once the window system has let go of its handlers.
void guardSignals();

} // namespace ExtractionFiles
} // namespace vlo
