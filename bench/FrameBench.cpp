// One whole frame of the show screen on the real OpenGL renderer: clear,
// identity, pushState, the textured and blended rectangles of the screen,
// popState, SwapBuffers. Run under an X server (DISPLAY), as the program.

#include <benchmark/benchmark.h>

#include <string>
#include <vector>

#include "BenchScreen.h"
#include "render/GLRenderer.h"
#include "support/ScratchDir.h"
#include "support/TestWindow.h"

namespace {

using vlo::GLRenderer;
using vlo::Vector2;
using vlo::bench::drawFrame;
using vlo::bench::loadScreen;
using vlo::bench::Panel;

void BM_ShowScreenFrame(benchmark::State& state)
{
    vlo::test::TestWindow window(700, 600);
    GLRenderer renderer(window.handle(), 7.0f, 6.0f);
    if (!vlo::bench::readyToDraw(state, window, renderer))
        return;
    vlo::test::ScratchDir scratch("framebench");
    const std::vector<Panel> panels = loadScreen(renderer, scratch);
    const bool withText = state.range(0) != 0;
    const int font = withText ? renderer.createFont("Courier New", 14, true, false, false) : -1;
    for (auto _ : state) {
        drawFrame(renderer, panels);
        if (withText) {
            // The popup menu's three lines, drawn after the frame's panels.
            renderer.setColor(0.0f, 0.0f, 0.0f, 1.0f);
            renderer.drawText(font, 1.0f, 1.2f, "Minimize");
            renderer.drawText(font, 1.0f, 1.4f, "Credits");
            renderer.drawText(font, 1.0f, 1.6f, "Exit");
        }
    }
    state.SetItemsProcessed(state.iterations());
    renderer.releaseContext();
}
BENCHMARK(BM_ShowScreenFrame)->Arg(0)->Arg(1)->ArgName("text")->Unit(benchmark::kMillisecond)->UseRealTime();

// A frame of the show while an overlay fades over the still screen, in the
// order the widgets draw it: the desktop's opaque fill, the background
// opaque over the whole view, the other panels blended, the overlay last
// with this frame's alpha.
void drawFadingFrame(GLRenderer& renderer, const std::vector<Panel>& panels, float overlayAlpha)
{
    renderer.clear(vlo::Color(1.0f, 1.0f, 1.0f, 0.5f));
    renderer.loadIdentity();
    renderer.pushState();
    renderer.pushState();
    renderer.setColor(0.2f, 0.4f, 0.6f, 1.0f);
    renderer.drawRect(Vector2(0.0f, 0.0f), Vector2(7.0f, 6.0f), Vector2(1.0f, 1.0f));
    renderer.popState();
    for (size_t i = 0; i < panels.size(); ++i) {
        const Panel& panel = panels[i];
        const bool background = i == 0;
        const bool overlay = i + 1 == panels.size();
        renderer.pushState();
        if (background)
            renderer.setBlendFunc(vlo::BlendOne, vlo::BlendZero);
        else
            renderer.setBlendFunc(vlo::BlendSrcAlpha, vlo::BlendOneMinusSrcAlpha);
        renderer.setColor(1.0f, 1.0f, 1.0f, overlay ? overlayAlpha : panel.alpha);
        renderer.bindTexture(panel.texture);
        renderer.drawTexturedRect(panel.topLeft, panel.bottomRight, panel.texture);
        renderer.disableBlend();
        renderer.popState();
    }
    renderer.popState();
    SwapBuffers(renderer.deviceContext());
}

// CPU of the whole process (the driver rasterises on threads of its own)
// per frame of a fade, with frame saving off (every frame drawn whole) and
// on (frames start from the copy of their unchanged beginning).
void BM_FadingFrame(benchmark::State& state)
{
    vlo::test::TestWindow window(700, 600);
    GLRenderer renderer(window.handle(), 7.0f, 6.0f);
    if (!vlo::bench::readyToDraw(state, window, renderer))
        return;
    vlo::test::ScratchDir scratch("fadebench");
    const std::vector<Panel> panels = loadScreen(renderer, scratch);
    renderer.setFrameSaving(state.range(0) != 0);
    int step = 0;
    for (auto _ : state) {
        // A new alpha every frame, as a fade at 100 frames a second.
        drawFadingFrame(renderer, panels, float(step % 100) / 100.0f);
        ++step;
    }
    state.SetItemsProcessed(state.iterations());
    state.counters["restored"] = double(renderer.frameCounts().restored);
    renderer.releaseContext();
}
BENCHMARK(BM_FadingFrame)
    ->Arg(0)
    ->Arg(1)
    ->ArgName("saving")
    ->Unit(benchmark::kMillisecond)
    ->UseRealTime()
    ->MeasureProcessCPUTime();

// CPU of the whole process per frame while nothing moves, with frame saving
// on: the frame is recorded, its starting state read back and compared,
// and neither sent nor presented.
void BM_UnchangedFrame(benchmark::State& state)
{
    vlo::test::TestWindow window(700, 600);
    GLRenderer renderer(window.handle(), 7.0f, 6.0f);
    if (!vlo::bench::readyToDraw(state, window, renderer))
        return;
    vlo::test::ScratchDir scratch("unchangedbench");
    const std::vector<Panel> panels = loadScreen(renderer, scratch);
    renderer.setFrameSaving(true);
    for (auto _ : state)
        drawFadingFrame(renderer, panels, 0.5f);
    state.SetItemsProcessed(state.iterations());
    state.counters["skipped"] = double(renderer.frameCounts().skipped);
    renderer.releaseContext();
}
BENCHMARK(BM_UnchangedFrame)->Unit(benchmark::kMicrosecond)->UseRealTime()->MeasureProcessCPUTime();

} // namespace
