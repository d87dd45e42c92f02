#include "MusicCheck.h"

#include <cstdlib>
#include <filesystem>

#include "Diagnostics.h"
#include "platform/AudioLibrary.h"

namespace vlo::pack {

namespace {

// The viewer's player: the default device at 44100 Hz.
constexpr DWORD kFrequency = 44100;

bool startAudio()
{
    return BASS_Init(-1, kFrequency, 0, nullptr, nullptr) != FALSE;
}

} // namespace

MusicCheck::MusicCheck()
{
    started = startAudio();
    if (!started) {
        // No sound device: SDL does not fall back to its dummy driver by
        // itself. Opening a stream decodes the same there.
        setenv("SDL_AUDIODRIVER", "dummy", 1);
        started = startAudio();
    }
}

MusicCheck::~MusicCheck()
{
    if (started) {
        BASS_Stop();
        BASS_Free();
    }
}

std::string MusicCheck::problemWith(const std::string& showFolder, const std::string& path) const
{
    if (path.empty())
        return "the path is empty";
    const std::filesystem::path full = std::filesystem::path(showFolder) / path;
    std::error_code status;
    if (!std::filesystem::exists(full, status))
        return "there is no such file (looked for " + inQuotes(full.string()) + ")";
    if (std::filesystem::is_directory(full, status))
        return "it is a folder, not a music file";
    if (!started)
        return std::string();
    const HSTREAM stream = BASS_StreamCreateFile(FALSE, full.c_str(), 0, 0, 0);
    if (stream == 0)
        return "the audio back end cannot open it: not a format SDL2_mixer decodes here (WAV, Ogg Vorbis, MP3, "
               "FLAC, tracker modules), or the file is damaged";
    BASS_StreamFree(stream);
    return std::string();
}

} // namespace vlo::pack
