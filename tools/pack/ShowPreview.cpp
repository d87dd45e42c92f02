#include "ShowPreview.h"

#include "audio/AudioLibrary.h"
#include "common/Color.h"
#include "content/ArchiveFS.h"
#include "content/ShowConfig.h"
#include "frontend/ShowScreen.h"
#include "music/MusicPlayer.h"
#include "platform/Clock.h"
#include "platform/Platform.h"
#include "platform/Win32.h"
#include "render/GLRenderer.h"
#include "shell/MainWindow.h"
#include "widgets/Widget.h"

namespace vlo::pack {

namespace {

// The viewer's fixed start-up values.
constexpr const char* kArchiveName = "data.zuo";
constexpr const char* kConfigName = "Vellumo.ini";
constexpr int kWindowWidth = 700;
constexpr int kWindowHeight = 600;
constexpr float kViewWidth = 7.0f;
constexpr float kViewHeight = 6.0f;
constexpr int kSampleRate = 44100;
constexpr const char* kTitle = "Emberfall II";
// Every frame starts from white at half alpha, as the main loop's do.
const Color kClearColor(1.0f, 1.0f, 1.0f, 0.5f);

// Show time 0 on the tick clock. Any value works (timers count differences);
// a large one keeps "0 = never started" apart from a real start.
constexpr uint32_t kStartTick = 1000000;

uint32_t previewTicks = kStartTick;

uint32_t readPreviewTicks()
{
    return previewTicks;
}

} // namespace

ShowPreview::ShowPreview()
{
    previewTicks = kStartTick;
    setTickSource(readPreviewTicks);
}

ShowPreview::~ShowPreview()
{
    // The screen goes first, while the window it took its keys and drag
    // area from still exists (in the viewer the window object outlives the
    // screen too); then the window releases the renderer's context and frees
    // renderer, configuration and player, the archive closes, and the
    // platform is released.
    screen.reset();
    window.reset();
    if (archiveOpen)
        ArchiveFS::shutdown();
    platformShutdown();
    setAudioBackend(nullptr);
    setTickSource(nullptr);
}

bool ShowPreview::start(std::string& error)
{
    // The renderer needs a window, and without a display that window can only
    // be an off-screen one.
    setOffscreenAllowed(true);
    if (!ArchiveFS::init(kArchiveName)) {
        error = "cannot open data.zuo";
        return false;
    }
    archiveOpen = true;

    window = std::make_unique<MainWindow>(GetModuleHandleA(nullptr), WS_POPUP, kWindowWidth, kWindowHeight);
    if (window->getHandle() == nullptr) {
        error = "cannot open a window to draw into (no display and no off-screen video driver)";
        return false;
    }
    ShowConfig* config = new ShowConfig(kConfigName);
    if (config->loadFailed) {
        delete config;
        error = "the viewer refuses Vellumo.ini (it stops with \"Error reading main config file: Vellumo.ini!\"); "
                "'vellumo-pack check' tells why";
        return false;
    }

    setAudioBackend(&previewAudioBackend());
    GLRenderer* renderer = new GLRenderer(window->getHandle(), kViewWidth, kViewHeight);
    MusicPlayer* player = new MusicPlayer(window->getHandle(), kSampleRate);
    if (!window->setRenderer(renderer)) {
        renderer->releaseContext();
        delete renderer;
        player->shutdown();
        delete player;
        delete config;
        error = "cannot create an OpenGL context to draw with";
        return false;
    }
    window->setConfig(config);
    window->setPlayer(player);
    window->setTitle(kTitle);
    // The window stays hidden: nothing needs to see it.
    screen = std::make_unique<ShowScreen>(window.get());
    return true;
}

bool ShowPreview::drawFrameAt(uint32_t milliseconds, CapturedFrame* capture)
{
    previewTicks = kStartTick + milliseconds;
    Renderer* renderer = window != nullptr ? window->getRenderer() : nullptr;
    if (renderer == nullptr)
        return false;
    // The main loop's frame, read back where the main loop would swap.
    renderer->clear(kClearColor);
    renderer->loadIdentity();
    if (Widget* root = window->getRootWidget()) {
        root->updateLayout();
        renderer->pushState();
        root->draw(*renderer);
        renderer->popState();
    }
    // Nobody sees the hidden window, so the frame is never presented: the
    // next one starts with a clear of the same back buffer.
    return capture == nullptr || captureFrame(*capture);
}

} // namespace vlo::pack
