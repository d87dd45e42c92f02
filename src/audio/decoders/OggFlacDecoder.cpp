// FLAC in an Ogg container through libFLAC's Ogg decoder, for files that
// libsndfile does not take. Only a file whose first Ogg page carries the
// FLAC mapping's header is tried: the Ogg layer would otherwise search the
// whole of any other file for a page.

#include <FLAC/stream_decoder.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cstring>
#include <vector>

#include "audio/decoders/DecoderKinds.h"

namespace vlo {

namespace {

constexpr unsigned kMaxChannels = 8;

bool startsAsOggFlac(int fd)
{
    // "OggS", 22 more header bytes, the segment count, the segment table and
    // then the first packet, which opens with 0x7F "FLAC".
    unsigned char page[27 + 255 + 5];
    const ssize_t got = ::read(fd, page, sizeof page);
    if (got < 27 || std::memcmp(page, "OggS", 4) != 0)
        return false;
    const size_t packet = 27 + size_t(page[26]);
    return size_t(got) >= packet + 5
        && std::memcmp(page + packet,
               "\x7F"
               "FLAC",
               5)
        == 0;
}

class OggFlacDecoder : public MusicDecoder {
public:
    explicit OggFlacDecoder(int fd)
        : fd_(fd)
        , decoder_(FLAC__stream_decoder_new())
    {
    }

    ~OggFlacDecoder() override
    {
        if (decoder_ != nullptr)
            FLAC__stream_decoder_delete(decoder_);
        if (owned_)
            close(fd_);
    }

    bool open()
    {
        if (decoder_ == nullptr
            || FLAC__stream_decoder_init_ogg_stream(
                   decoder_, readBytes, seekTo, tellAt, lengthOf, atEnd, takeFrame, takeMetadata, noteError, this)
                != FLAC__STREAM_DECODER_INIT_STATUS_OK)
            return false;
        if (!FLAC__stream_decoder_process_until_end_of_metadata(decoder_) || rate_ == 0)
            return false;
        // The first frame must decode too.
        if (!decodeMore() || pending_.empty())
            return false;
        owned_ = true;
        return true;
    }

    int channels() const override { return int(channels_); }
    int rate() const override { return int(rate_); }
    double seconds() const override { return totalFrames_ > 0 ? double(totalFrames_) / rate_ : -1.0; }

    size_t read(float* out, size_t frames) override
    {
        size_t done = 0;
        while (done < frames) {
            if (taken_ == pending_.size()) {
                pending_.clear();
                taken_ = 0;
                if (!decodeMore() || pending_.empty())
                    break;
            }
            const size_t frameCount = std::min(frames - done, (pending_.size() - taken_) / channels_);
            std::memcpy(out + done * channels_, pending_.data() + taken_, frameCount * channels_ * sizeof(float));
            taken_ += frameCount * channels_;
            done += frameCount;
        }
        return done;
    }

    bool rewind() override
    {
        pending_.clear();
        taken_ = 0;
        if (FLAC__stream_decoder_seek_absolute(decoder_, 0))
            return true;
        // A failed seek leaves the decoder wanting a flush.
        return FLAC__stream_decoder_flush(decoder_) && lseek(fd_, 0, SEEK_SET) == 0
            && FLAC__stream_decoder_reset(decoder_);
    }

private:
    bool decodeMore()
    {
        const size_t before = pending_.size();
        while (pending_.size() == before && !failed_) {
            if (FLAC__stream_decoder_get_state(decoder_) == FLAC__STREAM_DECODER_END_OF_STREAM)
                return false;
            if (!FLAC__stream_decoder_process_single(decoder_))
                return false;
        }
        return !failed_;
    }

    static OggFlacDecoder& self(void* client) { return *static_cast<OggFlacDecoder*>(client); }

    static FLAC__StreamDecoderReadStatus readBytes(
        const FLAC__StreamDecoder*, FLAC__byte buffer[], size_t* bytes, void* client)
    {
        const ssize_t got = ::read(self(client).fd_, buffer, *bytes);
        if (got < 0) {
            *bytes = 0;
            return FLAC__STREAM_DECODER_READ_STATUS_ABORT;
        }
        *bytes = size_t(got);
        return got == 0 ? FLAC__STREAM_DECODER_READ_STATUS_END_OF_STREAM : FLAC__STREAM_DECODER_READ_STATUS_CONTINUE;
    }

    static FLAC__StreamDecoderSeekStatus seekTo(const FLAC__StreamDecoder*, FLAC__uint64 offset, void* client)
    {
        return lseek(self(client).fd_, off_t(offset), SEEK_SET) < 0 ? FLAC__STREAM_DECODER_SEEK_STATUS_ERROR
                                                                    : FLAC__STREAM_DECODER_SEEK_STATUS_OK;
    }

    static FLAC__StreamDecoderTellStatus tellAt(const FLAC__StreamDecoder*, FLAC__uint64* offset, void* client)
    {
        const off_t at = lseek(self(client).fd_, 0, SEEK_CUR);
        if (at < 0)
            return FLAC__STREAM_DECODER_TELL_STATUS_ERROR;
        *offset = FLAC__uint64(at);
        return FLAC__STREAM_DECODER_TELL_STATUS_OK;
    }

    static FLAC__StreamDecoderLengthStatus lengthOf(const FLAC__StreamDecoder*, FLAC__uint64* length, void* client)
    {
        struct stat info { };
        if (fstat(self(client).fd_, &info) != 0)
            return FLAC__STREAM_DECODER_LENGTH_STATUS_ERROR;
        *length = FLAC__uint64(info.st_size);
        return FLAC__STREAM_DECODER_LENGTH_STATUS_OK;
    }

    static FLAC__bool atEnd(const FLAC__StreamDecoder*, void* client)
    {
        struct stat info { };
        const int fd = self(client).fd_;
        return fstat(fd, &info) != 0 || lseek(fd, 0, SEEK_CUR) >= info.st_size;
    }

    static FLAC__StreamDecoderWriteStatus takeFrame(
        const FLAC__StreamDecoder*, const FLAC__Frame* frame, const FLAC__int32* const buffer[], void* client)
    {
        OggFlacDecoder& decoder = self(client);
        const unsigned channels = frame->header.channels;
        const unsigned bits = frame->header.bits_per_sample;
        if (channels != decoder.channels_ || bits < 4 || bits > 32) {
            decoder.failed_ = true;
            return FLAC__STREAM_DECODER_WRITE_STATUS_ABORT;
        }
        const float scale = 1.0f / float(1u << (bits - 1));
        const size_t base = decoder.pending_.size();
        decoder.pending_.resize(base + size_t(frame->header.blocksize) * channels);
        for (unsigned i = 0; i < frame->header.blocksize; ++i)
            for (unsigned c = 0; c < channels; ++c)
                decoder.pending_[base + size_t(i) * channels + c] = float(buffer[c][i]) * scale;
        return FLAC__STREAM_DECODER_WRITE_STATUS_CONTINUE;
    }

    static void takeMetadata(const FLAC__StreamDecoder*, const FLAC__StreamMetadata* metadata, void* client)
    {
        if (metadata->type != FLAC__METADATA_TYPE_STREAMINFO)
            return;
        OggFlacDecoder& decoder = self(client);
        const FLAC__StreamMetadata_StreamInfo& info = metadata->data.stream_info;
        if (info.channels < 1 || info.channels > kMaxChannels || info.sample_rate == 0)
            return;
        decoder.channels_ = info.channels;
        decoder.rate_ = info.sample_rate;
        decoder.totalFrames_ = info.total_samples;
    }

    static void noteError(const FLAC__StreamDecoder*, FLAC__StreamDecoderErrorStatus, void*)
    {
        // Lost sync and bad frames are skipped by the decoder; the stream
        // goes on with the next good frame.
    }

    int fd_;
    FLAC__StreamDecoder* decoder_;
    bool owned_ = false;
    bool failed_ = false;
    unsigned channels_ = 0;
    unsigned rate_ = 0;
    FLAC__uint64 totalFrames_ = 0;
    // Decoded frames not yet handed out, interleaved; taken_ floats are gone.
    std::vector<float> pending_;
    size_t taken_ = 0;
};

} // namespace

std::unique_ptr<MusicDecoder> openOggFlacDecoder(int fd)
{
    if (!startsAsOggFlac(fd) || lseek(fd, 0, SEEK_SET) != 0)
        return nullptr;
    auto decoder = std::make_unique<OggFlacDecoder>(fd);
    if (!decoder->open())
        return nullptr;
    return decoder;
}

} // namespace vlo
