// Music through libsndfile, read through the open descriptor with its
// virtual I/O (so the file is never opened again by name).

#include <sndfile.h>
#include <sys/stat.h>
#include <unistd.h>

#include "audio/decoders/DecoderKinds.h"

namespace vlo {

namespace {

constexpr int kMaxChannels = 8;
constexpr int kMaxRate = 384000;

sf_count_t fileLength(void* user)
{
    struct stat info { };
    return fstat(*static_cast<int*>(user), &info) == 0 ? sf_count_t(info.st_size) : 0;
}

sf_count_t fileSeek(sf_count_t offset, int whence, void* user)
{
    return lseek(*static_cast<int*>(user), off_t(offset), whence);
}

sf_count_t fileRead(void* out, sf_count_t count, void* user)
{
    const ssize_t got = ::read(*static_cast<int*>(user), out, size_t(count));
    return got < 0 ? 0 : sf_count_t(got);
}

sf_count_t fileWrite(const void*, sf_count_t, void*)
{
    return 0;
}

sf_count_t fileTell(void* user)
{
    return lseek(*static_cast<int*>(user), 0, SEEK_CUR);
}

class SndfileDecoder : public MusicDecoder {
public:
    explicit SndfileDecoder(int fd)
        : fd_(fd)
    {
    }

    ~SndfileDecoder() override
    {
        if (file_ != nullptr)
            sf_close(file_);
        if (file_ != nullptr || owned_)
            close(fd_);
    }

    bool open()
    {
        SF_VIRTUAL_IO io{fileLength, fileSeek, fileRead, fileWrite, fileTell};
        file_ = sf_open_virtual(&io, SFM_READ, &info_, &fd_);
        if (file_ == nullptr)
            return false;
        if (info_.channels < 1 || info_.channels > kMaxChannels || info_.samplerate < 1
            || info_.samplerate > kMaxRate) {
            sf_close(file_);
            file_ = nullptr;
            return false;
        }
        // A first block must decode: a header alone is no music.
        float probe[kMaxChannels * 16];
        if (sf_readf_float(file_, probe, 1) != 1 || sf_seek(file_, 0, SEEK_SET) != 0) {
            sf_close(file_);
            file_ = nullptr;
            return false;
        }
        owned_ = true;
        return true;
    }

    int channels() const override { return info_.channels; }
    int rate() const override { return info_.samplerate; }

    double seconds() const override { return info_.frames > 0 ? double(info_.frames) / info_.samplerate : -1.0; }

    size_t read(float* out, size_t frames) override
    {
        const sf_count_t got = sf_readf_float(file_, out, sf_count_t(frames));
        return got > 0 ? size_t(got) : 0;
    }

    bool rewind() override { return sf_seek(file_, 0, SEEK_SET) == 0; }

private:
    int fd_;
    SNDFILE* file_ = nullptr;
    SF_INFO info_{};
    bool owned_ = false;
};

} // namespace

std::unique_ptr<MusicDecoder> openSndfileDecoder(int fd)
{
    auto decoder = std::make_unique<SndfileDecoder>(fd);
    if (!decoder->open())
        return nullptr;
    return decoder;
}

} // namespace vlo
