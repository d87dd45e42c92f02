// Tracker modules (MOD, S3M, XM, IT and the rest libmodplug knows), rendered
// as 16-bit stereo at 44100 Hz. libmodplug wants the whole file in memory:
// files above kMaxModuleBytes are not offered to it (real modules are a few
// megabytes at most).

#include <libmodplug/modplug.h>
#include <sys/stat.h>
#include <unistd.h>

#include <vector>

#include "audio/decoders/DecoderKinds.h"

namespace vlo {

namespace {

constexpr off_t kMaxModuleBytes = 64 * 1024 * 1024;
constexpr int kModuleRate = 44100;
constexpr size_t kChunkFrames = 1024;

class ModuleDecoder : public MusicDecoder {
public:
    explicit ModuleDecoder(ModPlugFile* module)
        : module_(module)
        , chunk_(kChunkFrames * 2)
    {
    }
    ~ModuleDecoder() override { ModPlug_Unload(module_); }

    int channels() const override { return 2; }
    int rate() const override { return kModuleRate; }

    double seconds() const override
    {
        const int ms = ModPlug_GetLength(module_);
        return ms > 0 ? ms / 1000.0 : -1.0;
    }

    size_t read(float* out, size_t frames) override
    {
        size_t done = 0;
        while (done < frames) {
            const size_t want = std::min(frames - done, kChunkFrames);
            const int bytes = ModPlug_Read(module_, chunk_.data(), int(want * 4));
            const size_t got = bytes > 0 ? size_t(bytes) / 4 : 0;
            for (size_t i = 0; i < got * 2; ++i)
                out[done * 2 + i] = float(chunk_[i]) / 32768.0f;
            done += got;
            if (got < want)
                break;
        }
        return done;
    }

    bool rewind() override
    {
        ModPlug_Seek(module_, 0);
        return true;
    }

private:
    ModPlugFile* module_;
    std::vector<int16_t> chunk_;
};

} // namespace

std::unique_ptr<MusicDecoder> openModuleDecoder(int fd)
{
    struct stat info { };
    if (fstat(fd, &info) != 0 || info.st_size <= 0 || info.st_size > kMaxModuleBytes)
        return nullptr;
    std::vector<char> bytes(size_t(info.st_size));
    size_t have = 0;
    while (have < bytes.size()) {
        const ssize_t got = ::read(fd, bytes.data() + have, bytes.size() - have);
        if (got <= 0)
            return nullptr;
        have += size_t(got);
    }
    ModPlug_Settings settings{};
    ModPlug_GetSettings(&settings);
    settings.mChannels = 2;
    settings.mBits = 16;
    settings.mFrequency = kModuleRate;
    settings.mLoopCount = 0;
    ModPlug_SetSettings(&settings);
    ModPlugFile* module = ModPlug_Load(bytes.data(), int(bytes.size()));
    if (module == nullptr)
        return nullptr;
    // The module keeps its own copy of what it needs: the file is done with.
    close(fd);
    return std::make_unique<ModuleDecoder>(module);
}

} // namespace vlo
