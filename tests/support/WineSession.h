#pragma once
// The Windows programs of the zip (vellumo.exe, vellumo-pack.exe) run under
// Wine for the end-to-end tests, on an X server of the session's own.
//
// VLO_WINDOWS_ZIP names the zip, or a folder laid out like it (the exes and
// the DLLs beside them). It is unpacked into a scratch folder, and a fresh
// Wine prefix is made there once per session: 64-bit, no debug output, no
// Mono or Gecko, no WINEPATH (a DLL missing from the zip fails the run),
// unmanaged windows (without a window manager a managed window's
// DestroyWindow waits 2 s) and an ALSA null device in the session's HOME so
// that the audio opens without a sound card. One wine server is kept for the
// whole session (Debian's wine wrapper would start one for each program) and
// ended with it.
//
// VLO_WINDOWS_NATIVE=1 instead runs the same tests on this build's Linux
// programs, to check the tests themselves where no zip is at hand.
#include <cstdlib>
#include <filesystem>
#include <memory>
#include <string>
#include <utility>
#include <vector>

#include "support/E2eProgram.h"
#include "support/OwnServer.h"
#include "support/RunProgram.h"
#include "support/ScratchDir.h"

namespace vlo::e2e {

class WineSession {
public:
    WineSession()
    {
        const char* zip = std::getenv("VLO_WINDOWS_ZIP");
        const char* nativeSwitch = std::getenv("VLO_WINDOWS_NATIVE");
        native = nativeSwitch && std::string(nativeSwitch) == "1";
        if (!native && (!zip || !*zip)) {
            skipReason = "VLO_WINDOWS_ZIP is not set (the zip of the Windows build, or a folder laid out like it)";
            return;
        }
        for (const char* tool : {"Xvfb", "xdotool", "xwininfo", "import", "xrdb"})
            if (toolPath(tool).empty()) {
                skipReason = std::string("needs ") + tool;
                return;
            }
        if (native) {
            viewer = VLO_BINARY_DIR "/vellumo";
            pack = VLO_BINARY_DIR "/vellumo-pack";
        } else {
            wine = toolPath("wine");
            if (wine.empty() || toolPath("wineserver").empty()) {
                skipReason = "needs Wine (wine, wineserver)";
                return;
            }
            if (!unpack(zip))
                return;
        }
        // The session's programs must not find DLLs anywhere but beside them.
        unsetenv("WINEPATH");
        std::filesystem::create_directories(root.path("home"));
        server = std::make_unique<OwnServer>("1920x1440x24", 200);
        if (!server->ready) {
            problem = "could not start Xvfb with a 1920 x 1440 screen";
            return;
        }
        if (!native && !makePrefix())
            return;
        ready = true;
    }

    ~WineSession()
    {
        if (!wine.empty() && serverStarted)
            run(shellEnvironment() + " wineserver -k </dev/null >/dev/null 2>&1");
    }

    WineSession(const WineSession&) = delete;
    WineSession& operator=(const WineSession&) = delete;

    // Set when the session cannot run here at all (the test skips)...
    std::string skipReason;
    // ... or when it should have and failed (the test fails).
    std::string problem;
    bool ready = false;
    bool native = false;

    // Starts the viewer in `folder` with standard error to errorFile.
    std::unique_ptr<Program> startViewer(const std::string& folder, const std::string& errorFile,
        const std::vector<std::string>& extraEnvironment = {}) const
    {
        // An entry of extraEnvironment replaces the session's of its name.
        std::vector<std::string> environment;
        for (const std::string& entry : programEnvironment()) {
            bool replaced = false;
            for (const std::string& extra : extraEnvironment)
                replaced = replaced || extra.compare(0, extra.find('=') + 1, entry, 0, entry.find('=') + 1) == 0;
            if (!replaced)
                environment.push_back(entry);
        }
        environment.insert(environment.end(), extraEnvironment.begin(), extraEnvironment.end());
        if (native)
            return std::make_unique<Program>(viewer, folder, environment, true, std::vector<std::string>{}, errorFile);
        return std::make_unique<Program>(wine, folder, environment, true, std::vector<std::string>{viewer}, errorFile);
    }

    // Runs vellumo-pack with `arguments` in `folder`; standard output and
    // error are kept.
    test::ProgramRun runPack(const std::string& folder, const std::vector<std::string>& arguments) const
    {
        std::vector<std::pair<std::string, std::string>> set;
        for (const std::string& entry : programEnvironment())
            set.emplace_back(entry.substr(0, entry.find('=')), entry.substr(entry.find('=') + 1));
        std::vector<std::string> all = arguments;
        if (native)
            return test::runProgram(pack, folder, {}, set, 60, all, root.path());
        all.insert(all.begin(), pack);
        return test::runProgram(wine, folder, {"WINEPATH"}, set, 60, all, root.path());
    }

    // The desktop's density for programs started from now on, in dots per
    // inch (96 is scale 1): Wine's LogPixels, or Xft.dpi for the Linux
    // programs.
    bool setDensity(int dotsPerInch) const
    {
        const std::string value = std::to_string(dotsPerInch);
        if (native)
            return run("echo 'Xft.dpi: " + value + "' | xrdb -display " + server->display + " -merge");
        return run(shellEnvironment() + " wine reg add 'HKCU\\Control Panel\\Desktop' /v LogPixels /t REG_DWORD /d "
            + value + " /f </dev/null >/dev/null 2>&1");
    }

    // The environment under which the text of a message box can be read
    // from standard error, and the text it is read as there: Wine's own
    // trace of the message box for the exe, the program's own line for the
    // Linux program.
    std::vector<std::string> messageTraceEnvironment() const
    {
        return native ? std::vector<std::string>{} : std::vector<std::string>{"WINEDEBUG=-all,+msgbox"};
    }
    std::string messageTrace(const std::string& text) const
    {
        return native ? text : "MSGBOX_OnInit L\"" + text + "\"";
    }

    // The program files (the exes, or the Linux programs when native).
    const std::string& viewerFile() const { return viewer; }
    const std::string& packFile() const { return pack; }

    // The Linux tool of this build, to compare with.
    static std::string linuxPack() { return VLO_BINARY_DIR "/vellumo-pack"; }

    // A folder of the session's own for scratch files.
    std::string scratch(const std::string& relative) const { return root.path(relative); }

private:
    static std::string toolPath(const std::string& name)
    {
        std::string found = capture("command -v " + name + " 2>/dev/null");
        while (!found.empty() && (found.back() == '\n' || found.back() == '\r'))
            found.pop_back();
        return found;
    }

    static std::string quoted(const std::string& text) { return "'" + text + "'"; }

    // The zip unpacked (or the folder copied) under app/; the exes may lie
    // in a folder of the zip's own.
    bool unpack(const std::string& zip)
    {
        namespace fs = std::filesystem;
        const std::string app = root.path("app");
        fs::create_directories(app);
        const bool copied = fs::is_directory(zip)
            ? run("cp -a " + quoted(zip) + "/. " + quoted(app) + " 2>/dev/null")
            : run("unzip -q " + quoted(zip) + " -d " + quoted(app) + " 2>/dev/null");
        if (!copied) {
            problem = "could not unpack " + zip;
            return false;
        }
        for (const auto& entry : fs::recursive_directory_iterator(app)) {
            const std::string name = entry.path().filename().string();
            if (name == "vellumo.exe")
                viewer = entry.path().string();
            else if (name == "vellumo-pack.exe")
                pack = entry.path().string();
        }
        if (viewer.empty() || pack.empty())
            problem = zip + " holds no vellumo.exe and vellumo-pack.exe";
        return problem.empty();
    }

    // What every Wine program of the session runs with.
    std::vector<std::string> programEnvironment() const
    {
        std::vector<std::string> environment{"DISPLAY=" + server->display, "HOME=" + root.path("home")};
        if (native)
            return environment;
        environment.insert(environment.end(),
            {"WINEPREFIX=" + root.path("prefix"), "WINEARCH=win64", "WINEDEBUG=-all",
                "WINEDLLOVERRIDES=mscoree,mshtml=;winemenubuilder.exe=d"});
        return environment;
    }

    std::string shellEnvironment() const
    {
        std::string text = "env -u WINEPATH";
        for (const std::string& entry : programEnvironment())
            text += " " + quoted(entry);
        return text;
    }

    bool makePrefix()
    {
        root.write("home/.asoundrc", "pcm.!default { type null }\n");
        std::filesystem::create_directories(root.path("prefix"));
        // The server first, so that wineboot and every program after it
        // share it; it ends 30 s after its last program if the session is
        // cut short.
        serverStarted = run(shellEnvironment() + " wineserver -p30 </dev/null >/dev/null 2>&1");
        const std::string log = root.path("wineboot.log");
        // wineboot's status is 2 on a 64-bit-only Wine (no 32-bit helper for
        // the syswow64 part), which the 64-bit programs do not need: the
        // registry tells whether the prefix was made.
        run(shellEnvironment() + " wine wineboot --init </dev/null >" + quoted(log) + " 2>&1");
        const bool unmanaged = run(shellEnvironment()
            + " wine reg add 'HKCU\\Software\\Wine\\X11 Driver' /v Managed /t REG_SZ /d N /f </dev/null >>"
            + quoted(log) + " 2>&1");
        if (!serverStarted || !unmanaged) {
            problem = "could not make the Wine prefix: " + test::readFile(log);
            return false;
        }
        return true;
    }

    test::ScratchDir root{"windows"};
    std::unique_ptr<OwnServer> server;
    std::string wine;
    std::string viewer;
    std::string pack;
    bool serverStarted = false;
};

} // namespace vlo::e2e
