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

#include "render/GLRenderer.h"
#include "support/ImageFixtures.h"
#include "support/ScratchDir.h"
#include "support/TestWindow.h"

namespace {

using vlo::Color;
using vlo::GLRenderer;
using vlo::Vector2;

constexpr int BurstSize = 200;

// The client position of the last WM_MOUSEMOVE the window procedure saw.
LPARAM lastMove = 0;

LRESULT recordMoves(HWND window, UINT message, WPARAM wParam, LPARAM lParam)
{
    if (message == WM_MOUSEMOVE)
        lastMove = lParam;
    return DefWindowProcA(window, message, wParam, lParam);
}

struct Panel {
    int texture;
    Vector2 topLeft;
    Vector2 bottomRight;
    float alpha;
};

std::string bitmap(int width, int height)
{
    const vlo::fixtures::Bytes rgb = vlo::fixtures::testPattern(width, height, 3);
    vlo::fixtures::Bytes bottomUp;
    bottomUp.reserve(rgb.size());
    for (int y = height - 1; y >= 0; --y) {
        for (int x = 0; x < width; ++x) {
            const uint8_t* p = &rgb[(size_t(y) * size_t(width) + size_t(x)) * 3];
            bottomUp.insert(bottomUp.end(), {p[2], p[1], p[0]});
        }
    }
    const vlo::fixtures::Bytes file = vlo::fixtures::bmpFile(width, height, 24, 0, bottomUp);
    return std::string(file.begin(), file.end());
}

// The layers of the show screen: background, track picture, caption, four
// buttons and an overlay.
std::vector<Panel> loadScreen(GLRenderer& renderer, const vlo::test::ScratchDir& scratch)
{
    struct Picture {
        const char* name;
        int width;
        int height;
        Vector2 topLeft;
        float alpha;
    };
    const Picture pictures[] = {
        {"background.bmp", 700, 600, Vector2(0.0f, 0.0f), 1.0f},
        {"track.bmp", 400, 300, Vector2(0.5f, 0.5f), 0.8f},
        {"caption.bmp", 300, 60, Vector2(0.5f, 3.7f), 1.0f},
        {"play.bmp", 48, 48, Vector2(4.8f, 5.3f), 1.0f},
        {"stop.bmp", 48, 48, Vector2(5.3f, 5.3f), 1.0f},
        {"previous.bmp", 48, 48, Vector2(5.8f, 5.3f), 1.0f},
        {"next.bmp", 48, 48, Vector2(6.3f, 5.3f), 1.0f},
        {"overlay.bmp", 700, 600, Vector2(0.0f, 0.0f), 0.3f},
    };
    std::vector<Panel> panels;
    for (const Picture& picture : pictures) {
        scratch.write(picture.name, bitmap(picture.width, picture.height));
        const int texture = renderer.loadTexture(scratch.path(picture.name).c_str(), vlo::FilterLinear, false);
        const Vector2 size(picture.width / 100.0f, picture.height / 100.0f);
        panels.push_back({texture, picture.topLeft, picture.topLeft + size, picture.alpha});
    }
    return panels;
}

void drawFrame(GLRenderer& renderer, const std::vector<Panel>& panels)
{
    renderer.clear(Color(1.0f, 1.0f, 1.0f, 0.5f));
    renderer.loadIdentity();
    renderer.pushState();
    for (const Panel& panel : panels) {
        renderer.pushState();
        renderer.setBlendFunc(vlo::BlendSrcAlpha, vlo::BlendOneMinusSrcAlpha);
        renderer.setColor(1.0f, 1.0f, 1.0f, panel.alpha);
        renderer.bindTexture(panel.texture);
        renderer.drawTexturedRect(panel.topLeft, panel.bottomRight, panel.texture);
        renderer.popState();
    }
    renderer.popState();
    SwapBuffers(renderer.deviceContext());
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
    if (!window.valid()) {
        state.SkipWithError("no window (is DISPLAY set?)");
        return;
    }
    GLRenderer renderer(window.handle(), 7.0f, 6.0f);
    if (renderer.status != vlo::RendererReady) {
        state.SkipWithError("no OpenGL context");
        return;
    }
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
