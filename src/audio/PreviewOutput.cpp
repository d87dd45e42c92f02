#include "audio/PreviewOutput.h"

#include <cmath>
#include <cstdint>

#include "platform/Win32.h"

namespace vlo {

namespace {

// Durations the decoder cannot tell: such a voice never ends by itself.
constexpr uint32_t kEndless = UINT32_MAX;

class PreviewVoice : public OutputVoice {
public:
    explicit PreviewVoice(uint32_t durationMs)
        : durationMs_(durationMs)
    {
    }

    void start(bool fromStart) override
    {
        if (fromStart)
            playedMs_ = 0;
        else
            playedMs_ = position();
        runStartTick_ = GetTickCount();
        running_ = true;
    }

    void halt() override
    {
        playedMs_ = position();
        running_ = false;
    }

    // Nothing is heard: the volume changes nothing, and a voice at 0 keeps
    // time as any other.
    void setVolume(float) override { }

    bool ended() override
    {
        return running_ && durationMs_ != kEndless && GetTickCount() - runStartTick_ >= durationMs_ - playedMs_;
    }

private:
    // Milliseconds into the music now; never past its end.
    uint32_t position() const
    {
        uint32_t at = playedMs_;
        if (running_)
            at += GetTickCount() - runStartTick_;
        if (durationMs_ != kEndless && at > durationMs_)
            at = durationMs_;
        return at;
    }

    uint32_t durationMs_;
    // Milliseconds played before the current run started.
    uint32_t playedMs_ = 0;
    // Tick count when the current run started.
    uint32_t runStartTick_ = 0;
    bool running_ = false;
};

} // namespace

bool PreviewOutput::open(int rate)
{
    return rate > 0;
}

std::unique_ptr<OutputVoice> PreviewOutput::add(std::unique_ptr<MusicDecoder> decoder)
{
    uint32_t durationMs = kEndless;
    const double seconds = decoder->seconds();
    if (seconds > 0.0 && seconds * 1000.0 < double(kEndless))
        durationMs = uint32_t(std::lround(seconds * 1000.0));
    return std::make_unique<PreviewVoice>(durationMs);
}

} // namespace vlo
