#pragma once
// The show the end-to-end tests run: the standard test show (flat colours
// for every picture, see ShowFixture.h) written into a folder as "data.zuo"
// with its music beside it, and the reading of the audio the program wrote
// through SDL's disk audio driver.
#include <algorithm>
#include <cmath>
#include <cstdint>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

#include "support/ScratchDir.h"
#include "support/ShowFixture.h"

namespace vlo::e2e {

// Each track is a minute long: a quiet first second (level 0.05), then loud
// (0.5), so that the output tells a track that starts over from one that
// goes on. Tracks differ in pitch.
inline std::string e2eTrackMusic(size_t index)
{
    static const double pitches[] = {440.0, 550.0, 660.0, 330.0};
    return show::wavOf(60.0, pitches[index % 4], {0.05, 0.5});
}

// Writes the show's archive and every track's WAV file beside it.
inline void writeShow(const test::ScratchDir& folder, const show::ShowContent& content)
{
    folder.write("data.zuo", content.archive());
    for (size_t i = 0; i < content.tracks.size(); ++i)
        folder.write(content.tracks[i].music, e2eTrackMusic(i));
}

// The extraction files left beside the archive, space-separated.
inline std::string leftoverExtractionFiles(const test::ScratchDir& folder)
{
    std::string found;
    for (const auto& entry : std::filesystem::directory_iterator(folder.root)) {
        const std::string name = entry.path().filename().string();
        if (name.rfind("data.zuo.temp", 0) == 0)
            found += name + " ";
    }
    return found;
}

// Sound levels of a raw 16-bit stereo 44100 Hz file (what SDL's disk driver
// writes for the program's output), one per block of `blockSeconds`: the
// amplitude of a sine with the block's loudness, 0..1.
inline std::vector<double> audioLevels(const std::string& rawPath, double blockSeconds = 0.1)
{
    std::ifstream in(rawPath, std::ios::binary);
    const std::string bytes((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
    const size_t frameBytes = 4;
    const size_t blockFrames = size_t(44100 * blockSeconds);
    std::vector<double> levels;
    const size_t frames = bytes.size() / frameBytes;
    for (size_t start = 0; start + blockFrames <= frames; start += blockFrames) {
        double sum = 0.0;
        for (size_t f = start; f < start + blockFrames; ++f) {
            const auto* p = reinterpret_cast<const uint8_t*>(bytes.data() + f * frameBytes);
            const int16_t left = int16_t(uint16_t(p[0]) | uint16_t(p[1]) << 8);
            sum += double(left) * double(left);
        }
        levels.push_back(std::sqrt(sum / double(blockFrames)) * std::sqrt(2.0) / 32767.0);
    }
    return levels;
}

} // namespace vlo::e2e
