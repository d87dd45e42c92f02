// The whole of loadTexture for a 700 x 600 picture from the content archive:
// extraction, decoding, enlargement to 1024 x 1024 and upload. The PNG and
// JPEG files are made here with libpng and libjpeg.

#include <benchmark/benchmark.h>

#include <string>

#include "BenchScreen.h"
#include "content/ArchiveFS.h"
#include "render/GLRenderer.h"
#include "support/ArchiveBytes.h"
#include "support/ImageFixtures.h"
#include "support/ScratchDir.h"
#include "support/TestWindow.h"

namespace {

using vlo::fixtures::Bytes;

std::string text(const Bytes& bytes)
{
    return std::string(bytes.begin(), bytes.end());
}

void BM_LoadTexture(benchmark::State& state, const char* entry)
{
    vlo::test::TestWindow window(700, 600);
    vlo::GLRenderer renderer(window.handle(), 7.0f, 6.0f);
    if (!vlo::bench::readyToDraw(state, window, renderer))
        return;
    const Bytes rgb = vlo::fixtures::testPattern(700, 600, 3);
    vlo::fixtures::PngSpec png;
    png.width = 700;
    png.height = 600;
    png.rows = rgb;
    vlo::test::ScratchDir scratch("texturebench");
    scratch.write("data.zuo",
        vlo::test::archiveOf({{"pictures/page.png", text(vlo::fixtures::pngFile(png))},
            {"pictures/page.jpg", text(vlo::fixtures::jpegFile(700, 600, 3, rgb))}}));
    if (!vlo::ArchiveFS::init(scratch.path("data.zuo"))) {
        state.SkipWithError("archive not readable");
        return;
    }
    for (auto _ : state) {
        const int texture = renderer.loadTexture(entry, vlo::FilterLinear, false);
        if (texture == 0) {
            state.SkipWithError("the picture did not load");
            break;
        }
        state.PauseTiming();
        renderer.deleteTexture(texture);
        state.ResumeTiming();
    }
    state.SetItemsProcessed(state.iterations());
    vlo::ArchiveFS::shutdown();
    renderer.releaseContext();
}
BENCHMARK_CAPTURE(BM_LoadTexture, png, "pictures/page.png")->Unit(benchmark::kMillisecond)->UseRealTime();
BENCHMARK_CAPTURE(BM_LoadTexture, jpeg, "pictures/page.jpg")->Unit(benchmark::kMillisecond)->UseRealTime();

} // namespace
