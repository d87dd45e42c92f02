// Start-up of the show screen with the demo show, in the program's order:
// open the archive, create the window, read the configuration, create the
// renderer and the player, build the screen (widget tree, every picture,
// the first track), show the window and present the first frame. The show
// folder is VLO_SHOW_DIR, else the demo show of this build. Runs under an X
// server (DISPLAY); set SDL_AUDIODRIVER=dummy for a machine without sound.
//
// Also the steady per-frame cost of the whole screen after the title.
#include <benchmark/benchmark.h>

#include <unistd.h>

#include <cstdlib>
#include <filesystem>
#include <memory>
#include <string>

#include "content/ArchiveFS.h"
#include "content/ShowConfig.h"
#include "frontend/ShowScreen.h"
#include "music/MusicPlayer.h"
#include "platform/Win32.h"
#include "render/GLRenderer.h"
#include "shell/MainWindow.h"

namespace {

std::string showFolder()
{
    const char* folder = std::getenv("VLO_SHOW_DIR");
    return folder ? folder : VLO_BINARY_DIR "/demo-show";
}

// The program's objects, built as the entry point builds them.
struct Show {
    Show()
    {
        archiveOpen = vlo::ArchiveFS::init("data.zuo");
        window = std::make_unique<vlo::MainWindow>(GetModuleHandleA(nullptr), WS_POPUP, 700, 600);
        auto* config = new vlo::ShowConfig("Vellumo.ini");
        configLoaded = config->loadFailed == 0;
        auto* renderer = new vlo::GLRenderer(window->getHandle(), 7.0f, 6.0f);
        auto* player = new vlo::MusicPlayer(window->getHandle(), 44100);
        window->setRenderer(renderer);
        window->setConfig(config);
        window->setPlayer(player);
        window->setTitle("Emberfall II");
        screen = std::make_unique<vlo::ShowScreen>(window.get());
        window->showWindow();
    }
    ~Show()
    {
        vlo::ArchiveFS::shutdown();
        screen.reset();
        window.reset();
    }

    bool archiveOpen = false;
    bool configLoaded = false;
    std::unique_ptr<vlo::MainWindow> window;
    std::unique_ptr<vlo::ShowScreen> screen;
};

bool enterShowFolder(benchmark::State& state)
{
    const std::string folder = showFolder();
    if (!std::filesystem::exists(folder + "/data.zuo") || chdir(folder.c_str()) != 0) {
        state.SkipWithError(("no show at " + folder + " (set VLO_SHOW_DIR)").c_str());
        return false;
    }
    return true;
}

void BM_StartToFirstFrame(benchmark::State& state)
{
    if (!enterShowFolder(state))
        return;
    for (auto _ : state) {
        auto show = std::make_unique<Show>();
        show->window->drawFrame();
        state.PauseTiming(); // the teardown is not start-up
        const bool started = show->archiveOpen && show->configLoaded && show->screen->desktop;
        show.reset();
        state.ResumeTiming();
        if (!started) {
            state.SkipWithError("the show did not start");
            break;
        }
    }
}

// A whole frame once the title is over and the buttons rest: what the show
// costs a hundred times a second while nothing happens.
void BM_IdleFrame(benchmark::State& state)
{
    if (!enterShowFolder(state))
        return;
    Show show;
    // Let the title pass in real time at the program's frame rate.
    const DWORD until = GetTickCount() + 10000;
    while (GetTickCount() < until)
        show.window->drawFrame();
    for (auto _ : state)
        show.window->drawFrame();
}

} // namespace

BENCHMARK(BM_StartToFirstFrame)->Unit(benchmark::kMillisecond)->UseRealTime()->Iterations(5);
BENCHMARK(BM_IdleFrame)->Unit(benchmark::kMillisecond)->UseRealTime();
