#pragma once
// The real show screen on a real main window and OpenGL renderer (needs the
// X server at DISPLAY), with the fake tick source and the recording audio
// back end, built from a show the test describes. Time moves only when the
// test says so: step() advances the clock and the simulated streams by some
// milliseconds and draws one frame, as the 10 ms timer would.
#include <cstdint>
#include <memory>
#include <string>

#include "content/ArchiveFS.h"
#include "content/ShowConfig.h"
#include "frontend/ShowScreen.h"
#include "music/MusicPlayer.h"
#include "platform/Clock.h"
#include "platform/Win32.h"
#include "render/GLRenderer.h"
#include "shell/MainWindow.h"
#include "support/RecordingAudio.h"
#include "support/ScratchDir.h"
#include "support/ShowFixture.h"
#include "widgets/WidgetHandler.h"

namespace vlo::test {

// The clock every FrameTimer reads while a harness exists, in milliseconds.
inline uint32_t& fakeTicks()
{
    static uint32_t ticks = 0;
    return ticks;
}

inline uint32_t readFakeTicks()
{
    return fakeTicks();
}

class ShowScreenHarness {
public:
    // The clock starts at an arbitrary non-zero value, as a real one would.
    static constexpr uint32_t startTick = 50000;

    explicit ShowScreenHarness(const show::ShowContent& content)
    {
        fakeTicks() = startTick;
        setTickSource(readFakeTicks);
        scratch.write("data.zuo", content.archive());
        archiveOpen = ArchiveFS::init(scratch.path("data.zuo"));
        // With the module's instance, destroying the window unregisters its
        // class, so that the next test's window can register it again.
        window = std::make_unique<MainWindow>(GetModuleHandleA(nullptr), WS_POPUP, 700, 600);
        dropStaleMessages();
        config = new ShowConfig("Vellumo.ini");
        renderer = new GLRenderer(window->getHandle(), 7.0f, 6.0f);
        player = new MusicPlayer(window->getHandle(), 44100);
        // From here on the window owns all three.
        rendererAccepted = window->setRenderer(renderer);
        window->setConfig(config);
        window->setPlayer(player);
        screen = std::make_unique<ShowScreen>(window.get());
    }

    // Tears down as the program does, except that the screen goes before
    // the window releases the renderer, configuration and player (the
    // screen needs none of them to go).
    ~ShowScreenHarness()
    {
        ArchiveFS::shutdown();
        screen.reset();
        window.reset();
        setTickSource(nullptr);
    }

    ShowScreenHarness(const ShowScreenHarness&) = delete;
    ShowScreenHarness& operator=(const ShowScreenHarness&) = delete;

    // Seconds since the screen was built.
    float now() const { return float(fakeTicks() - startTick) * 0.001f; }

    // Advances time by ms and draws one frame.
    void step(uint32_t ms = 10)
    {
        fakeTicks() += ms;
        audio.advance(ms);
        window->drawFrame();
    }

    // Draws frames every stepMs until `seconds` after construction.
    void runUntil(float seconds, uint32_t stepMs = 10)
    {
        while (now() + 0.0005f < seconds)
            step(stepMs);
    }

    // Gets to `seconds` after construction quickly, in frames of 50 ms: for
    // reaching a phase of the show (past the title) rather than watching it.
    void fastForward(float seconds) { runUntil(seconds, 50); }

    // Mouse input in window pixels through the window's dispatch, as the
    // window procedure delivers it.
    void press(int x, int y, int button = LeftButton) { window->dispatchMouseDown(x, y, button); }
    void release(int x, int y, int button = LeftButton) { window->dispatchMouseUp(x, y, button); }
    void move(int x, int y) { window->dispatchMouseMove(x, y); }
    void click(int x, int y, int button = LeftButton)
    {
        press(x, y, button);
        release(x, y, button);
    }

    // The stream the player has open now (0 when none).
    HSTREAM stream() const { return player->stream; }
    std::string playingPath() const
    {
        const RecordingAudio::SimStream* current = audio.stream(player->stream);
        return current ? current->path : std::string();
    }

    // The message queue is the process's: an earlier window's destruction
    // left a WM_QUIT in it. Everything posted before a marker of our own is
    // dropped unread.
    void dropStaleMessages()
    {
        constexpr WPARAM marker = 0x5E17;
        PostMessageA(window->getHandle(), WM_NULL, marker, 0);
        MSG message{};
        while (GetMessageA(&message, nullptr, 0, 0) != -1) {
            if (message.message == WM_NULL && message.wParam == marker)
                break;
        }
        // The quit an earlier window's destruction asked for waits behind
        // the queue; the start-up would take it as a request to give up.
        PeekMessageA(&message, nullptr, WM_QUIT, WM_QUIT, PM_REMOVE);
    }

    RecordingAudio audio;
    ScratchDir scratch{"frontend"};
    bool archiveOpen = false;
    bool rendererAccepted = false;
    std::unique_ptr<MainWindow> window;
    ShowConfig* config = nullptr;
    GLRenderer* renderer = nullptr;
    MusicPlayer* player = nullptr;
    std::unique_ptr<ShowScreen> screen;
};

} // namespace vlo::test
