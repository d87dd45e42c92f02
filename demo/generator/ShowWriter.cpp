#include "ShowWriter.h"

#include <algorithm>
#include <atomic>
#include <filesystem>
#include <thread>

#include "AudioEncoders.h"
#include "FileOutput.h"
#include "ImageEncoders.h"
#include "MusicRenderer.h"
#include "ShowPictures.h"
#include "TrackScenes.h"

namespace vlo::demo {

namespace {

namespace fs = std::filesystem;

// Left in a staging folder so that a later run knows it may clear it.
const char* const kStagingMarker = ".vellumo-demo-staging";

// The marker lives beside the archive's content, not in it: it names the
// staging folder's owner, and vellumo-pack packs every file it finds, so the
// marker sits in the parent folder under the staging folder's name.
fs::path markerFor(const fs::path& staging)
{
    return staging.parent_path() / (staging.filename().string() + kStagingMarker);
}

PixelImage pixelsOf(const Canvas& canvas, Blend blend)
{
    PixelImage image;
    image.width = canvas.width();
    image.height = canvas.height();
    switch (blend) {
    case Blend::Opaque:
        image.channels = 3;
        image.bytes = canvas.toRgb8();
        break;
    case Blend::Normal:
        image.channels = 4;
        image.bytes = canvas.toStraightRgba8();
        break;
    case Blend::Multiply:
        image.channels = 4;
        image.bytes = canvas.toPremultipliedRgba8();
        break;
    }
    return image;
}

// Composes, renders and encodes one track into the bytes of its file.
bool encodeTrack(
    const TrackPlan& track, int number, const ShowPlan& plan, std::vector<uint8_t>& bytes, std::string& error)
{
    StereoBuffer audio = renderScore(compose(track.style), track.style.seed);
    bool encoded = false;
    if (track.audioFormat == AudioFormat::Wav) {
        encoded = encodeWav(audio, bytes, error);
    } else {
        AudioTags tags{track.title, plan.artist, plan.album, number};
        encoded = encodeOgg(audio, 0.4f, 0x56D0 + number, tags, bytes, error);
    }
    if (!encoded) {
        error = track.musicPath + ": " + error;
    }
    return encoded;
}

// Tracks are independent, so they are made on as many threads as the
// machine has cores (each result depends only on its own track, so the
// bytes do not depend on the thread count).
struct EncodedTrack {
    std::vector<uint8_t> bytes;
    std::string error;
    bool ok = false;
};

std::vector<EncodedTrack> encodeAllTracks(const ShowPlan& plan)
{
    std::vector<EncodedTrack> results(plan.tracks.size());
    std::atomic<size_t> next{0};
    auto worker = [&]() {
        for (size_t i = next++; i < results.size(); i = next++) {
            results[i].ok
                = encodeTrack(plan.tracks[i], static_cast<int>(i) + 1, plan, results[i].bytes, results[i].error);
        }
    };
    unsigned threads
        = std::max(1u, std::min(std::thread::hardware_concurrency(), static_cast<unsigned>(results.size())));
    std::vector<std::thread> pool;
    for (unsigned t = 1; t < threads; ++t) {
        pool.emplace_back(worker);
    }
    worker();
    for (std::thread& t : pool) {
        t.join();
    }
    return results;
}

} // namespace

bool prepareStagingFolder(const std::string& folder, std::string& error)
{
    // "staging/" and "staging" are the same folder; the marker must land
    // beside it either way, never inside.
    fs::path staging = fs::path(folder).lexically_normal();
    if (!staging.has_filename()) {
        staging = staging.parent_path();
    }
    std::error_code ec;
    fs::path marker = markerFor(staging);
    bool exists = fs::exists(staging, ec);
    bool empty = !exists || fs::is_empty(staging, ec);
    if (exists && !empty) {
        if (!fs::exists(marker, ec)) {
            error = "refusing to clear '" + staging.string() + "': it holds files this generator did not write";
            return false;
        }
        fs::remove_all(staging, ec);
        if (ec) {
            error = "cannot clear '" + staging.string() + "': " + ec.message();
            return false;
        }
    }
    fs::create_directories(staging, ec);
    if (ec) {
        error = "cannot create '" + staging.string() + "': " + ec.message();
        return false;
    }
    return writeFileText(marker.string(), "staging folder of the Vellumo demo generator\n", error);
}

bool savePicture(const Canvas& canvas, PictureFormat format, Blend blend, const std::string& path, std::string& error)
{
    if (format != PictureFormat::Png && blend != Blend::Opaque) {
        error = path + ": only PNG pictures carry the alpha this picture needs";
        return false;
    }
    PixelImage image = pixelsOf(canvas, blend);
    std::vector<uint8_t> bytes;
    bool encoded = false;
    switch (format) {
    case PictureFormat::Png:
        encoded = encodePng(image, bytes, error);
        break;
    case PictureFormat::Jpeg:
        encoded = encodeJpeg(image, 90, bytes, error);
        break;
    case PictureFormat::Bmp:
        encoded = encodeBmp(image, bytes, error);
        break;
    case PictureFormat::Tga:
        encoded = encodeTga(image, bytes, error);
        break;
    }
    if (!encoded) {
        error = path + ": " + error;
        return false;
    }
    return writeFileBytes(path, bytes, error);
}

Canvas drawTrackPicture(int index)
{
    switch (index % 4) {
    case 0:
        return drawKindlingScene();
    case 1:
        return drawAshenRoadScene();
    case 2:
        return drawEmberTideScene();
    default:
        return drawLastLightScene();
    }
}

bool writeDemoShow(const ShowPlan& plan, const std::string& stagingDir, const std::string& showDir,
    void (*progress)(const std::string& line), std::string& error)
{
    fs::path staging(stagingDir);
    fs::path show(showDir);
    if (!prepareStagingFolder(stagingDir, error)) {
        return false;
    }
    auto done = [progress](const std::string& what) {
        if (progress) {
            progress(what);
        }
    };
    auto picture = [&](const Canvas& canvas, PictureFormat format, Blend blend, const std::string& entry) {
        if (!savePicture(canvas, format, blend, (staging / entry).string(), error)) {
            return false;
        }
        done(entry);
        return true;
    };

    StrokeFont font;
    std::vector<std::string> titles;
    for (const TrackPlan& t : plan.tracks) {
        titles.push_back(t.title);
    }
    if (!writeFileText((staging / "Vellumo.ini").string(), configurationText(plan), error)) {
        return false;
    }
    done("Vellumo.ini");
    if (!picture(drawTitlePicture(font), PictureFormat::Png, Blend::Opaque, plan.titlePath)
        || !picture(drawBackdropPicture(font), PictureFormat::Jpeg, Blend::Opaque, plan.maskPath)
        || !picture(drawCreditsPicture(font, titles), PictureFormat::Tga, Blend::Opaque, plan.creditsPath)) {
        return false;
    }
    int count = static_cast<int>(plan.tracks.size());
    for (int i = 0; i < count; ++i) {
        const TrackPlan& t = plan.tracks[i];
        if (!picture(drawTrackPicture(i), t.pictureFormat, Blend::Opaque, t.picturePath)
            || !picture(
                drawCaptionPicture(font, i + 1, count, t.title), PictureFormat::Png, Blend::Multiply, t.captionPath)) {
            return false;
        }
    }
    for (const GuiGraphic& g : plan.gui) {
        if (!picture(drawGuiGraphic(g, font), PictureFormat::Png, Blend::Multiply, g.path)) {
            return false;
        }
    }
    std::vector<EncodedTrack> music = encodeAllTracks(plan);
    for (int i = 0; i < count; ++i) {
        if (!music[i].ok) {
            error = music[i].error;
            return false;
        }
        if (!writeFileBytes((show / plan.tracks[i].musicPath).string(), music[i].bytes, error)) {
            return false;
        }
        done(plan.tracks[i].musicPath);
    }
    return true;
}

} // namespace vlo::demo
