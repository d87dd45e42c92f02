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
using vlo::bench::drawFrame;
using vlo::bench::loadScreen;
using vlo::bench::Panel;

void BM_ShowScreenFrame(benchmark::State& state)
{
    vlo::test::TestWindow window(700, 600);
    if (!window.valid()) {
        state.SkipWithError("no window (is DISPLAY set?)");
        return;
    }
    GLRenderer renderer(window.handle(), 7.0f, 6.0f);
    if (renderer.status != vlo::RendererReady) {
        state.SkipWithError("no OpenGL context");
        return;
    }
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

} // namespace
