// Input latency of the message loop: the time from a burst of 200 mouse
// motion events to the end of the frame that shows the last of them. The
// loop is the program's own: one message taken, dispatched, and one frame
// drawn (a screen of eight textured, blended rectangles) and presented per
// message, with the 10 ms frame timer running. Run under an X server
// (DISPLAY), as the program, with the pointer kept still.

#include <benchmark/benchmark.h>

#include <SDL.h>

#include <chrono>
#include <string>
#include <vector>

#include "BenchScreen.h"
#include "render/GLRenderer.h"
#include "support/ScratchDir.h"
#include "support/TestWindow.h"

namespace {

using vlo::GLRenderer;
using vlo::bench::drawFrame;
using vlo::bench::loadScreen;
using vlo::bench::Panel;

constexpr int BurstSize = 200;

// The client position of the last WM_MOUSEMOVE the window procedure saw.
LPARAM lastMove = 0;

LRESULT recordMoves(HWND window, UINT message, WPARAM wParam, LPARAM lParam)
{
    if (message == WM_MOUSEMOVE)
        lastMove = lParam;
    return DefWindowProcA(window, message, wParam, lParam);
}

void pushMotion(Uint32 windowId, int x, int y)
{
    SDL_Event event{};
    event.type = SDL_MOUSEMOTION;
    event.motion.windowID = windowId;
    event.motion.x = x;
    event.motion.y = y;
    SDL_PushEvent(&event);
}

void BM_MotionBurstToFrame(benchmark::State& state)
{
    vlo::test::TestWindow window(700, 600, recordMoves, "VLO Latency Bench");
    GLRenderer renderer(window.handle(), 7.0f, 6.0f);
    if (!vlo::bench::readyToDraw(state, window, renderer))
        return;
    SDL_Window* sdlWindow = SDL_GL_GetCurrentWindow();
    if (sdlWindow == nullptr) {
        state.SkipWithError("no SDL window behind the context");
        return;
    }
    const Uint32 windowId = SDL_GetWindowID(sdlWindow);
    ShowWindow(window.handle(), SW_SHOW);
    vlo::test::ScratchDir scratch("latencybench");
    const std::vector<Panel> panels = loadScreen(renderer, scratch);
    const UINT_PTR timer = SetTimer(window.handle(), 0, 10, nullptr);
    // The events of the window's showing come first (a real pointer over the
    // new window makes a move of its own, which would be coalesced with the
    // first burst's last move and take its place).
    const DWORD settleUntil = GetTickCount() + 500;
    while (GetTickCount() < settleUntil) {
        MSG message{};
        if (GetMessageA(&message, nullptr, 0, 0) <= 0)
            break;
        DispatchMessageA(&message);
    }

    int round = 0;
    for (auto _ : state) {
        // Each burst ends somewhere new, so the last position is told apart
        // from every earlier one.
        const int finalX = 10 + BurstSize + (round % 2) * 100;
        const int finalY = 20 + round % 50;
        ++round;
        const auto start = std::chrono::steady_clock::now();
        for (int i = BurstSize - 1; i >= 0; --i)
            pushMotion(windowId, finalX - i, finalY);
        // The program's loop until a frame has been drawn after the last
        // position reached the window procedure.
        for (;;) {
            MSG message{};
            if (GetMessageA(&message, nullptr, 0, 0) <= 0)
                break;
            TranslateMessage(&message);
            DispatchMessageA(&message);
            drawFrame(renderer, panels);
            if (lastMove == MAKELPARAM(finalX, finalY))
                break;
        }
        const auto end = std::chrono::steady_clock::now();
        state.SetIterationTime(std::chrono::duration<double>(end - start).count());
        if (lastMove != MAKELPARAM(finalX, finalY)) {
            state.SkipWithError("the last motion never arrived");
            break;
        }
    }
    KillTimer(window.handle(), timer);
    renderer.releaseContext();
}
BENCHMARK(BM_MotionBurstToFrame)->Unit(benchmark::kMillisecond)->UseManualTime();

} // namespace
