// Cost of a track change on the real audio back end (its own mixer on SDL's
// dummy driver): playCurrentTrack stops, closes, opens and plays a
// five-minute file. Also the per-frame step of the show with a playing track.
//
// The five-minute files are made once and kept in the build folder
// (bench-audio/): Ogg Vorbis always, MP3 and FLAC when their encoders were
// found, WAV byte by byte.

#include <benchmark/benchmark.h>

#include <cmath>
#include <cstdlib>
#include <filesystem>
#include <memory>
#include <string>

#include "content/ShowConfig.h"
#include "music/MusicPlayer.h"
#include "support/RecordingRenderer.h"
#include "support/ToneFiles.h"

namespace vlo {
namespace {

constexpr double kTrackSeconds = 300.0;

// A chord whose pitch drifts, so the encoders have something to encode.
const test::Tone& fiveMinuteTone()
{
    static const test::Tone tone = test::renderTone(kTrackSeconds, 44100, [](double t) {
        const double drift = 1.0 + 0.05 * std::sin(test::kTwoPi * t / 20.0);
        return 0.3 * std::sin(test::kTwoPi * 220.0 * drift * t) + 0.2 * std::sin(test::kTwoPi * 330.0 * drift * t)
            + 0.1 * std::sin(test::kTwoPi * 440.0 * t);
    });
    return tone;
}

// The path of the five-minute track in the given format, made when missing;
// "" when this build has no encoder for it.
std::string trackFile(const std::string& extension)
{
    const std::filesystem::path folder = std::filesystem::path(VLO_BINARY_DIR) / "bench-audio";
    std::filesystem::create_directories(folder);
    const std::string path = (folder / ("five-minutes." + extension)).string();
    std::error_code error;
    if (std::filesystem::file_size(path, error) > 0 && !error)
        return path;
    bool made = false;
    if (extension == "wav")
        made = test::writeWav(path, fiveMinuteTone());
    else if (extension == "ogg")
        made = test::writeOgg(path, fiveMinuteTone());
#ifdef VLO_HAVE_MP3_ENCODER
    else if (extension == "mp3")
        made = test::writeMp3(path, fiveMinuteTone());
#endif
#ifdef VLO_HAVE_FLAC_ENCODER
    else if (extension == "flac")
        made = test::writeFlac(path, fiveMinuteTone());
#endif
    if (!made) {
        std::filesystem::remove(path, error);
        return std::string();
    }
    return path;
}

// The real back end on the dummy driver, and a one-entry play list.
struct PlayerRig {
    explicit PlayerRig(const std::string& file)
        : config("")
    {
        setenv("SDL_AUDIODRIVER", "dummy", 1);
        setAudioBackend(nullptr);
        player = std::make_unique<MusicPlayer>(nullptr, 44100);
        config.tracks.push_back(TrackEntry{file, "picture.png"});
        config.trackCaptions.push_back("caption.png");
        config.loadFailed = 0;
        config.selectTrack(0);
    }
    ~PlayerRig()
    {
        player->stop();
        player->close();
        player->shutdown();
    }

    ShowConfig config;
    std::unique_ptr<MusicPlayer> player;
};

void trackChange(benchmark::State& state, const std::string& extension)
{
    const std::string file = trackFile(extension);
    if (file.empty()) {
        state.SkipWithError(("no " + extension + " encoder in this build").c_str());
        return;
    }
    PlayerRig rig(file);
    if (rig.player->initFailed) {
        state.SkipWithError("the audio device did not open");
        return;
    }
    for (auto _ : state) {
        const bool played = rig.config.playCurrentTrack(*rig.player);
        benchmark::DoNotOptimize(played);
        if (!played) {
            state.SkipWithError(("could not play " + file).c_str());
            break;
        }
    }
    state.counters["file_MB"] = double(std::filesystem::file_size(file)) / 1e6;
}

void BM_PlayCurrentTrack_Wav(benchmark::State& state)
{
    trackChange(state, "wav");
}
void BM_PlayCurrentTrack_Ogg(benchmark::State& state)
{
    trackChange(state, "ogg");
}
void BM_PlayCurrentTrack_Mp3(benchmark::State& state)
{
    trackChange(state, "mp3");
}
void BM_PlayCurrentTrack_Flac(benchmark::State& state)
{
    trackChange(state, "flac");
}

BENCHMARK(BM_PlayCurrentTrack_Wav)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_PlayCurrentTrack_Ogg)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_PlayCurrentTrack_Mp3)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_PlayCurrentTrack_Flac)->Unit(benchmark::kMillisecond);

// One frame of the show while a track plays: updateShow (which asks the
// back end whether the track is still going) and drawOverlays with no
// overlay running.
void BM_ShowFrame(benchmark::State& state)
{
    PlayerRig rig(trackFile("ogg"));
    test::RecordingRenderer renderer;
    renderer.recording = false;
    if (!rig.config.playCurrentTrack(*rig.player)) {
        state.SkipWithError("could not play the track");
        return;
    }
    for (auto _ : state) {
        const ShowEvent event = rig.config.updateShow(*rig.player);
        rig.config.drawOverlays(renderer);
        benchmark::DoNotOptimize(event);
    }
}
BENCHMARK(BM_ShowFrame);

// The same frame with the credits overlay of the closing sequence running,
// which also sets the volume every frame.
void BM_ClosingSequenceFrame(benchmark::State& state)
{
    PlayerRig rig(trackFile("ogg"));
    test::RecordingRenderer renderer;
    renderer.recording = false;
    rig.config.setCreditsDuration(1.0e6f);
    if (!rig.config.playCurrentTrack(*rig.player) || !rig.config.startCreditsOverlay(true)) {
        state.SkipWithError("could not start the closing sequence");
        return;
    }
    for (auto _ : state) {
        const ShowEvent event = rig.config.updateShow(*rig.player);
        rig.config.drawOverlays(renderer);
        benchmark::DoNotOptimize(event);
    }
}
BENCHMARK(BM_ClosingSequenceFrame);

} // namespace
} // namespace vlo
