#pragma once
// End-to-end helpers: run the real `vellumo` binary in a folder of the
// test's own, find its window on the X server, look at the screen and drive
// the mouse and keyboard with the X tools (xwininfo, import, xdotool).
//
// The program is started with fork and exec and ended only by its own
// process id. Its standard error goes to a file in its folder. It is built
// with the sanitizers; unless the caller's environment already says how
// (ASAN_OPTIONS), leak reports are switched off in the child so that the
// exit status is the program's own (leaks are checked by the unit tests).
#include <fcntl.h>
#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <fstream>
#include <iterator>
#include <sstream>
#include <string>
#include <thread>
#include <vector>

extern char** environ;

namespace vlo::e2e {

using Clock = std::chrono::steady_clock;

inline void sleepSeconds(double seconds)
{
    std::this_thread::sleep_for(std::chrono::duration<double>(seconds));
}

// The display the tests run on, empty when there is none.
inline std::string displayName()
{
    const char* display = std::getenv("DISPLAY");
    return display ? display : "";
}

// Runs a shell command and returns what it printed on standard output.
inline std::string capture(const std::string& command)
{
    std::string out;
    FILE* pipe = popen(command.c_str(), "r");
    if (!pipe)
        return out;
    char buffer[4096];
    size_t got = 0;
    while ((got = std::fread(buffer, 1, sizeof buffer, pipe)) > 0)
        out.append(buffer, got);
    pclose(pipe);
    return out;
}

inline bool run(const std::string& command)
{
    return std::system(command.c_str()) == 0;
}

// A top-level window as xwininfo lists it: id and geometry in screen pixels.
struct WindowInfo {
    bool found = false;
    std::string id;
    int x = 0;
    int y = 0;
    int width = 0;
    int height = 0;
};

// Finds the window whose title is exactly `title` ("title": in the tree
// listing, whose lines read: 0x1a00002 "Emberfall II": (...)  700x600+100+100  +100+100).
inline WindowInfo findWindow(const std::string& title)
{
    WindowInfo info;
    std::istringstream lines(capture("xwininfo -root -tree 2>/dev/null"));
    const std::string quoted = "\"" + title + "\":";
    std::string line;
    while (std::getline(lines, line)) {
        const size_t at = line.find(quoted);
        if (at == std::string::npos)
            continue;
        std::istringstream fields(line.substr(0, at));
        fields >> info.id;
        // The size, then the absolute position, are the last two fields.
        const std::string rest = line.substr(at + quoted.size());
        const size_t closing = rest.rfind(')');
        std::istringstream geometry(rest.substr(closing == std::string::npos ? 0 : closing + 1));
        std::string relative;
        std::string absolute;
        geometry >> relative >> absolute;
        if (std::sscanf(relative.c_str(), "%dx%d", &info.width, &info.height) != 2)
            continue;
        if (std::sscanf(absolute.c_str(), "+%d+%d", &info.x, &info.y) != 2)
            continue;
        info.found = true;
        return info;
    }
    return info;
}

// Waits until the window titled `title` has been at the same place for a few
// polls (the program may still be working through the last motion), and
// returns it.
inline WindowInfo settledWindow(const std::string& title)
{
    WindowInfo last = findWindow(title);
    int same = 0;
    for (int poll = 0; poll < 100 && same < 5; ++poll) {
        sleepSeconds(0.05);
        const WindowInfo now = findWindow(title);
        same = now.found && now.x == last.x && now.y == last.y ? same + 1 : 0;
        last = now;
    }
    return last;
}

// True when the window is mapped and visible (xwininfo's map state).
inline bool isViewable(const std::string& windowId)
{
    return capture("xwininfo -id " + windowId + " 2>/dev/null").find("IsViewable") != std::string::npos;
}

// The geometry of one window as xwininfo reports it now.
inline WindowInfo windowById(const std::string& id)
{
    WindowInfo info;
    std::istringstream lines(capture("xwininfo -id " + id + " 2>/dev/null"));
    std::string line;
    int fields = 0;
    auto number = [](const std::string& text) { return std::atoi(text.substr(text.find(':') + 1).c_str()); };
    while (std::getline(lines, line)) {
        if (line.find("Absolute upper-left X:") != std::string::npos)
            info.x = number(line), ++fields;
        else if (line.find("Absolute upper-left Y:") != std::string::npos)
            info.y = number(line), ++fields;
        else if (line.find("Width:") != std::string::npos)
            info.width = number(line), ++fields;
        else if (line.find("Height:") != std::string::npos)
            info.height = number(line), ++fields;
    }
    info.id = id;
    info.found = fields == 4;
    return info;
}

// The window titled `title` that belongs to process `pid` (by _NET_WM_PID).
inline WindowInfo findWindowOf(const std::string& title, pid_t pid)
{
    std::istringstream lines(capture("xwininfo -root -tree 2>/dev/null"));
    const std::string quoted = "\"" + title + "\":";
    std::string line;
    while (std::getline(lines, line)) {
        if (line.find(quoted) == std::string::npos)
            continue;
        std::istringstream fields(line);
        std::string id;
        fields >> id;
        const std::string owner = capture("xdotool getwindowpid " + id + " 2>/dev/null");
        if (std::atol(owner.c_str()) == long(pid))
            return windowById(id);
    }
    return WindowInfo();
}

// Moves a top-level window so that its top-left corner is at (x, y) on the
// screen, and waits until the X server reports it there.
inline WindowInfo moveWindow(const std::string& id, int x, int y)
{
    WindowInfo info;
    for (int attempt = 0; attempt < 40; ++attempt) {
        run("xdotool windowmove " + id + " " + std::to_string(x) + " " + std::to_string(y) + " 2>/dev/null");
        info = windowById(id);
        if (info.found && info.x == x && info.y == y)
            return info;
        sleepSeconds(0.05);
    }
    return info;
}

// An RGB picture of part of the screen, rows from the top.
struct Rgb {
    int r = 0;
    int g = 0;
    int b = 0;
};

inline std::string describe(Rgb c)
{
    return "(" + std::to_string(c.r) + ", " + std::to_string(c.g) + ", " + std::to_string(c.b) + ")";
}

// True when every channel is within `tolerance` of the expected value.
inline bool near(Rgb got, Rgb expected, int tolerance = 12)
{
    return std::abs(got.r - expected.r) <= tolerance && std::abs(got.g - expected.g) <= tolerance
        && std::abs(got.b - expected.b) <= tolerance;
}

struct Screenshot {
    int width = 0;
    int height = 0;
    std::vector<uint8_t> rgb;

    bool valid() const { return width > 0 && rgb.size() == size_t(width) * size_t(height) * 3; }
    Rgb at(int x, int y) const
    {
        if (!valid() || x < 0 || y < 0 || x >= width || y >= height)
            return Rgb{-1, -1, -1};
        const size_t i = (size_t(y) * size_t(width) + size_t(x)) * 3;
        return Rgb{rgb[i], rgb[i + 1], rgb[i + 2]};
    }
};

// The screen's pixels inside the window's rectangle as it is now.
inline Screenshot screenshot(const WindowInfo& window, const std::string& scratchFile)
{
    Screenshot shot;
    const std::string command = "import -window root -crop " + std::to_string(window.width) + "x"
        + std::to_string(window.height) + "+" + std::to_string(window.x) + "+" + std::to_string(window.y)
        + " -depth 8 rgb:" + scratchFile + " 2>/dev/null";
    if (!run(command))
        return shot;
    std::ifstream in(scratchFile, std::ios::binary);
    shot.rgb.assign(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
    shot.width = window.width;
    shot.height = window.height;
    if (!shot.valid())
        shot.rgb.clear();
    return shot;
}

// Pointer and keyboard through the XTEST extension, in screen pixels.
inline void mouseTo(int x, int y)
{
    run("xdotool mousemove " + std::to_string(x) + " " + std::to_string(y));
}
inline void mouseDown(int button)
{
    run("xdotool mousedown " + std::to_string(button));
}
inline void mouseUp(int button)
{
    run("xdotool mouseup " + std::to_string(button));
}
inline void clickAt(int x, int y, int button)
{
    mouseTo(x, y);
    run("xdotool click " + std::to_string(button));
}
// A key to the given window: focus it, then type. The display may be shared
// with other programs, so the focus is checked before the key goes out.
inline void keyTo(const std::string& windowId, const std::string& key)
{
    const unsigned long wanted = std::strtoul(windowId.c_str(), nullptr, 0);
    for (int attempt = 0; attempt < 20; ++attempt) {
        run("xdotool windowfocus " + windowId + " 2>/dev/null");
        const std::string focused = capture("xdotool getwindowfocus 2>/dev/null");
        if (std::strtoul(focused.c_str(), nullptr, 10) == wanted)
            break;
        sleepSeconds(0.05);
    }
    run("xdotool key " + key);
}

// The `vellumo` binary running in a folder of the test's own.
class Program {
public:
    // extraEnvironment: "NAME=value" entries set on top of the test's own
    // environment. withDisplay false runs it without DISPLAY. arguments
    // follow the binary's name; errorFile receives standard error (default:
    // stderr.txt in the folder).
    Program(const std::string& binary, const std::string& folder, const std::vector<std::string>& extraEnvironment,
        bool withDisplay = true, const std::vector<std::string>& arguments = {}, const std::string& errorFile = "")
        : stderrPath(errorFile.empty() ? folder + "/stderr.txt" : errorFile)
    {
        std::vector<std::string> environment;
        bool sanitizerOptions = false;
        // An entry of extraEnvironment replaces the test's own of that name.
        auto overridden = [&](const std::string& text) {
            for (const std::string& extra : extraEnvironment)
                if (text.compare(0, extra.find('=') + 1, extra, 0, extra.find('=') + 1) == 0)
                    return true;
            return false;
        };
        for (char** entry = environ; *entry; ++entry) {
            const std::string text = *entry;
            if ((!withDisplay && text.rfind("DISPLAY=", 0) == 0) || overridden(text))
                continue;
            sanitizerOptions = sanitizerOptions || text.rfind("ASAN_OPTIONS=", 0) == 0;
            environment.push_back(text);
        }
        if (!sanitizerOptions)
            environment.push_back("ASAN_OPTIONS=detect_leaks=0");
        for (const std::string& extra : extraEnvironment)
            environment.push_back(extra);
        std::vector<char*> envp;
        for (std::string& text : environment)
            envp.push_back(text.data());
        envp.push_back(nullptr);
        std::string program = binary;
        std::vector<std::string> argumentCopies(arguments);
        std::vector<char*> argv{program.data()};
        for (std::string& argument : argumentCopies)
            argv.push_back(argument.data());
        argv.push_back(nullptr);

        started = Clock::now();
        pid = fork();
        if (pid == 0) {
            // Only async-signal-safe calls between fork and exec.
            if (chdir(folder.c_str()) != 0)
                _exit(127);
            const int err = open(stderrPath.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0644);
            if (err >= 0)
                dup2(err, 2);
            const int out = open("/dev/null", O_WRONLY);
            if (out >= 0)
                dup2(out, 1);
            execve(program.c_str(), argv.data(), envp.data());
            _exit(127);
        }
    }

    ~Program()
    {
        if (pid > 0 && !exited) {
            kill(pid, SIGKILL);
            waitpid(pid, nullptr, 0);
        }
    }

    Program(const Program&) = delete;
    Program& operator=(const Program&) = delete;

    bool startedOk() const { return pid > 0; }
    pid_t processId() const { return pid; }

    // Sends a signal to the program (by its process id only).
    void sendSignal(int number) const
    {
        if (pid > 0 && !exited)
            kill(pid, number);
    }

    // Waits up to `seconds` for this process's window with the title.
    WindowInfo waitForOwnWindow(const std::string& title, double seconds)
    {
        const auto until = Clock::now() + std::chrono::duration<double>(seconds);
        while (Clock::now() < until && running()) {
            const WindowInfo info = findWindowOf(title, pid);
            if (info.found)
                return info;
            sleepSeconds(0.05);
        }
        return WindowInfo();
    }

    double secondsSinceStart() const { return std::chrono::duration<double>(Clock::now() - started).count(); }

    bool running()
    {
        poll();
        return pid > 0 && !exited;
    }

    // Waits up to `seconds` for the program to end; true when it did.
    bool waitExit(double seconds)
    {
        const auto until = Clock::now() + std::chrono::duration<double>(seconds);
        while (running() && Clock::now() < until)
            sleepSeconds(0.02);
        return exited;
    }

    // When it ended, in seconds since it started.
    double exitTime() const { return std::chrono::duration<double>(ended - started).count(); }

    // The exit status (0..255), or -1 when it did not exit normally.
    int exitStatus() const { return exited && WIFEXITED(status) ? WEXITSTATUS(status) : -1; }
    bool crashed() const { return exited && WIFSIGNALED(status); }

    std::string errorOutput() const
    {
        std::ifstream in(stderrPath, std::ios::binary);
        return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
    }

    // Waits up to `seconds` for a window with the title to appear.
    WindowInfo waitForWindow(const std::string& title, double seconds)
    {
        const auto until = Clock::now() + std::chrono::duration<double>(seconds);
        WindowInfo info;
        while (Clock::now() < until && running()) {
            info = findWindow(title);
            if (info.found)
                return info;
            sleepSeconds(0.05);
        }
        return info;
    }

    // Waits until the window found is shown (mapped). The program shows it
    // once its pictures are loaded and its title overlay has begun, so times
    // of the show count from here.
    bool waitUntilShown(const WindowInfo& window, double seconds)
    {
        const auto until = Clock::now() + std::chrono::duration<double>(seconds);
        while (!isViewable(window.id) && running() && Clock::now() < until)
            sleepSeconds(0.02);
        return isViewable(window.id);
    }

private:
    void poll()
    {
        if (pid <= 0 || exited)
            return;
        if (waitpid(pid, &status, WNOHANG) == pid) {
            exited = true;
            ended = Clock::now();
        }
    }

    std::string stderrPath;
    pid_t pid = -1;
    int status = 0;
    bool exited = false;
    Clock::time_point started;
    Clock::time_point ended;
};

} // namespace vlo::e2e
