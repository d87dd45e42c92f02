// `vellumo-pack new` on a 12-track album of 4-minute MP3s (128 kbit/s, each
// tagged with its title and number and carrying a 600 x 600 JPEG cover), run
// as the built program into a fresh show folder, next to copying the album
// folder with cp on the same disk. Target: under 5 s on a 2-core machine.
#include <cstdlib>
#include <filesystem>
#include <string>

#include <benchmark/benchmark.h>

#include "support/AlbumFixture.h"
#include "support/ScratchDir.h"
#include "tools/PackRunner.h"

namespace {

constexpr int kTracks = 12;

struct Album {
    vlo::test::ScratchDir dir{"newbench"};
    bool ready = false;

    Album()
    {
#ifdef VLO_HAVE_MP3_ENCODER
        std::filesystem::create_directories(dir.path("album"));
        const std::string first = dir.path("album/track01.mp3");
        if (!vlo::test::writeMp3(first, vlo::test::sineTone(240.0, 440.0, 0.4)))
            return;
        // A cover with detail, so that its decoding costs what a photo's does.
        vlo::fixtures::Bytes pixels = vlo::fixtures::testPattern(600, 600, 3);
        const vlo::fixtures::Bytes jpeg = vlo::fixtures::jpegFile(600, 600, 3, pixels);
        const std::string cover(jpeg.begin(), jpeg.end());
        for (int i = 1; i <= kTracks; ++i) {
            const std::string path
                = dir.path("album/track" + std::string(i < 10 ? "0" : "") + std::to_string(i) + ".mp3");
            if (i > 1)
                std::filesystem::copy_file(first, path);
            if (!vlo::test::tagFile(
                    path, {"Song number " + std::to_string(i), "The Bench", "Twelve", unsigned(i), 2026})
                || !vlo::test::embedMp3Picture(path, cover))
                return;
        }
        ready = true;
#endif
    }
};

Album& album()
{
    static Album instance;
    return instance;
}

void BM_NewShowFrom12Mp3s(benchmark::State& state)
{
    if (!album().ready) {
        state.SkipWithError("could not make the album (is LAME installed?)");
        return;
    }
    int run = 0;
    for (auto _ : state) {
        const std::string show = album().dir.path("show" + std::to_string(run++));
        const vlo::test::PackResult result = vlo::test::runPack({"new", show, album().dir.path("album")});
        state.PauseTiming();
        std::filesystem::remove_all(show);
        state.ResumeTiming();
        if (result.status != 0) {
            state.SkipWithError(("vellumo-pack new failed: " + result.err).c_str());
            break;
        }
    }
}
BENCHMARK(BM_NewShowFrom12Mp3s)->Unit(benchmark::kMillisecond)->UseRealTime()->Iterations(5);

// The floor: copying the album's bytes alone.
void BM_CopyAlbumWithCp(benchmark::State& state)
{
    if (!album().ready) {
        state.SkipWithError("could not make the album (is LAME installed?)");
        return;
    }
    const std::string copy = album().dir.path("copy");
    for (auto _ : state) {
        const std::string command = "cp -r '" + album().dir.path("album") + "' '" + copy + "'";
        const int status = std::system(command.c_str());
        state.PauseTiming();
        std::filesystem::remove_all(copy);
        state.ResumeTiming();
        if (status != 0) {
            state.SkipWithError("cp failed");
            break;
        }
    }
}
BENCHMARK(BM_CopyAlbumWithCp)->Unit(benchmark::kMillisecond)->UseRealTime()->Iterations(5);

} // namespace
