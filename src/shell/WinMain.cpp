// The entry point: creates the long-lived objects in their fixed order, runs
// the main loop and tears everything down again.

#include <memory>

#include "content/ArchiveFS.h"
#include "content/ShowConfig.h"
#include "frontend/ShowRemote.h"
#include "frontend/ShowScreen.h"
#include "music/MusicPlayer.h"
#include "platform/MediaRemote.h"
#include "platform/Platform.h"
#include "platform/Win32.h"
#include "render/GLRenderer.h"
#include "shell/MainWindow.h"

namespace {

constexpr const char* ArchiveName = "data.zuo";
constexpr const char* ConfigName = "Vellumo.ini";
constexpr int WindowWidth = 700;
constexpr int WindowHeight = 600;
// The renderer's view in GUI units: one unit is 100 pixels of the window.
constexpr float ViewWidth = 7.0f;
constexpr float ViewHeight = 6.0f;
constexpr int SampleRate = 44100;
constexpr const char* Title = "Emberfall II";

// After a failed start: the window and the platform go, and -1 is the exit
// code (the archive is already shut down by the caller where it was open).
int failStart(vlo::MainWindow& window)
{
    window.destroy();
    vlo::platformShutdown();
    return -1;
}

} // namespace

int WinMain(HINSTANCE instance, HINSTANCE, char*, int)
{
    using namespace vlo;

    if (!ArchiveFS::init(ArchiveName)) {
        showMessage("Error initializing OrbVFS! :-(");
        platformShutdown();
        return -1;
    }

    // Started outside Windows, the program gets no instance from a loader.
    if (instance == nullptr)
        instance = GetModuleHandleA(nullptr);
    MainWindow window(instance, WS_POPUP, WindowWidth, WindowHeight);
    // Until they are handed to the window, the objects are the entry point's.
    // On the failure paths each goes at a fixed place in the teardown (before
    // the archive shuts down), not at the end of the scope.
    auto config = std::make_unique<ShowConfig>(ConfigName);
    if (config->loadFailed) {
        showMessage("Error reading main config file: Vellumo.ini!");
        config.reset();
        ArchiveFS::shutdown();
        return failStart(window);
    }
    // Without a window there is nothing to draw into (no display). Checked
    // after the configuration, so that a broken show says so first.
    if (window.getHandle() == nullptr) {
        showMessage("Cannot open the window.");
        config.reset();
        ArchiveFS::shutdown();
        return failStart(window);
    }

    auto renderer = std::make_unique<GLRenderer>(window.getHandle(), ViewWidth, ViewHeight);
    // Frames that change nothing on screen are neither drawn nor presented.
    renderer->setFrameSaving(true);
    auto player = std::make_unique<MusicPlayer>(window.getHandle(), SampleRate);

    // A renderer without an OpenGL context could draw nothing at all.
    if (!window.setRenderer(renderer.get())) {
        showMessage("OpenGL is not available.");
        renderer->releaseContext();
        renderer.reset();
        player->shutdown();
        player.reset();
        config.reset();
        ArchiveFS::shutdown();
        return failStart(window);
    }
    // The window took the renderer; run() releases and deletes the three.
    renderer.release();
    window.setConfig(config.release());
    window.setPlayer(player.release());
    window.setTitle(Title);

    auto screen = std::make_unique<ShowScreen>(&window);
    // A request to quit during the loading ends the program without showing
    // the window; run() then only releases what it holds.
    if (!window.answerDuringStart())
        window.showWindow();
    // The desktop's media controls, while the show runs; without a session
    // bus there are none, silently. The picture they show goes with them.
    auto remoteSource = std::make_unique<ShowRemote>(*screen);
    std::unique_ptr<MediaRemote> remote = window.isStartAbandoned() ? nullptr : openMediaRemote(*remoteSource);
    window.setMediaRemote(remote.get());
    const int exitCode = window.run();
    window.setMediaRemote(nullptr);
    remote.reset();
    remoteSource.reset();

    // The archive closes before the screen goes: deleting the screen needs
    // neither the archive nor the renderer.
    ArchiveFS::shutdown();
    screen.reset();
    window.destroy();
    platformShutdown();
    return exitCode;
}
