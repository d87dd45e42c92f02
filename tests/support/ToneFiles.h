#pragma once
// Short test tones and the files that hold them: 16-bit stereo samples
// rendered from a function of time, written as WAV byte by byte or encoded as
// Ogg Vorbis with libvorbisenc (the including program links vorbisenc, vorbis
// and ogg). FLAC (libFLAC) and MP3 (LAME) encoders are there when the build
// found them: VLO_HAVE_FLAC_ENCODER, VLO_HAVE_MP3_ENCODER. Other codings
// (Opus, ADPCM, A-law, float WAV) are written with libsndfile.

#include <sndfile.h>
#include <vorbis/vorbisenc.h>
#ifdef VLO_HAVE_FLAC_ENCODER
#include <FLAC/stream_encoder.h>
#endif
#ifdef VLO_HAVE_MP3_ENCODER
#include <lame/lame.h>
#endif

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <cstdio>
#include <functional>
#include <string>
#include <vector>

namespace vlo::test {

constexpr double kTwoPi = 6.283185307179586;

// Interleaved 16-bit stereo, both channels alike.
struct Tone {
    int rate = 44100;
    std::vector<int16_t> samples;

    size_t frames() const { return samples.size() / 2; }
};

// `level(t)` in -1..1 at t seconds, rendered for `seconds` at `rate`.
inline Tone renderTone(double seconds, int rate, const std::function<double(double)>& level)
{
    Tone tone;
    tone.rate = rate;
    const size_t frames = size_t(seconds * rate);
    tone.samples.resize(frames * 2);
    for (size_t i = 0; i < frames; ++i) {
        double v = level(double(i) / rate);
        v = v > 1.0 ? 1.0 : (v < -1.0 ? -1.0 : v);
        const int16_t s = int16_t(std::lround(v * 32767.0));
        tone.samples[2 * i] = s;
        tone.samples[2 * i + 1] = s;
    }
    return tone;
}

// A sine of `hz` at a fixed amplitude.
inline Tone sineTone(double seconds, double hz, double amplitude, int rate = 44100)
{
    return renderTone(seconds, rate, [=](double t) { return amplitude * std::sin(kTwoPi * hz * t); });
}

// A sine whose amplitude rises linearly from `from` to `to` over its length,
// so that any moment of it can be told by its level.
inline Tone rampTone(double seconds, double hz, double from, double to, int rate = 44100)
{
    return renderTone(
        seconds, rate, [=](double t) { return (from + (to - from) * t / seconds) * std::sin(kTwoPi * hz * t); });
}

inline void putLE(std::vector<uint8_t>& out, uint32_t value, int bytes)
{
    for (int i = 0; i < bytes; ++i)
        out.push_back(uint8_t(value >> (8 * i)));
}

inline void putTag(std::vector<uint8_t>& out, const char* tag)
{
    for (int i = 0; i < 4; ++i)
        out.push_back(uint8_t(tag[i]));
}

// A canonical 44-byte-header PCM WAV file.
inline std::vector<uint8_t> wavBytes(const Tone& tone)
{
    const uint32_t dataBytes = uint32_t(tone.samples.size() * 2);
    std::vector<uint8_t> out;
    out.reserve(44 + dataBytes);
    putTag(out, "RIFF");
    putLE(out, 36 + dataBytes, 4);
    putTag(out, "WAVE");
    putTag(out, "fmt ");
    putLE(out, 16, 4);                      // fmt chunk size
    putLE(out, 1, 2);                       // PCM
    putLE(out, 2, 2);                       // channels
    putLE(out, uint32_t(tone.rate), 4);     // frames per second
    putLE(out, uint32_t(tone.rate) * 4, 4); // bytes per second
    putLE(out, 4, 2);                       // bytes per frame
    putLE(out, 16, 2);                      // bits per sample
    putTag(out, "data");
    putLE(out, dataBytes, 4);
    for (int16_t s : tone.samples)
        putLE(out, uint16_t(s), 2);
    return out;
}

inline bool writeBytes(const std::string& path, const std::vector<uint8_t>& bytes)
{
    FILE* file = std::fopen(path.c_str(), "wb");
    if (file == nullptr)
        return false;
    const bool ok = bytes.empty() || std::fwrite(bytes.data(), 1, bytes.size(), file) == bytes.size();
    return std::fclose(file) == 0 && ok;
}

inline bool writeWav(const std::string& path, const Tone& tone)
{
    return writeBytes(path, wavBytes(tone));
}

// Encodes the tone as Ogg Vorbis (VBR at the given quality, -0.1..1).
inline bool writeOgg(const std::string& path, const Tone& tone, float quality = 0.4f)
{
    FILE* file = std::fopen(path.c_str(), "wb");
    if (file == nullptr)
        return false;

    vorbis_info info;
    vorbis_info_init(&info);
    if (vorbis_encode_init_vbr(&info, 2, tone.rate, quality) != 0) {
        vorbis_info_clear(&info);
        std::fclose(file);
        return false;
    }
    vorbis_comment comment;
    vorbis_comment_init(&comment);
    vorbis_dsp_state dsp;
    vorbis_analysis_init(&dsp, &info);
    vorbis_block block;
    vorbis_block_init(&dsp, &block);
    ogg_stream_state stream;
    ogg_stream_init(&stream, 0x56454c4c); // any serial number
    bool ok = true;

    auto writePage = [&](const ogg_page& page) {
        ok = ok && std::fwrite(page.header, 1, size_t(page.header_len), file) == size_t(page.header_len);
        ok = ok && std::fwrite(page.body, 1, size_t(page.body_len), file) == size_t(page.body_len);
    };

    ogg_packet header, headerComment, headerCode;
    vorbis_analysis_headerout(&dsp, &comment, &header, &headerComment, &headerCode);
    ogg_stream_packetin(&stream, &header);
    ogg_stream_packetin(&stream, &headerComment);
    ogg_stream_packetin(&stream, &headerCode);
    ogg_page page;
    while (ogg_stream_flush(&stream, &page) != 0)
        writePage(page);

    // Feed the samples in blocks; a final write of 0 frames marks the end.
    const size_t blockFrames = 4096;
    size_t done = 0;
    bool finished = false;
    while (!finished) {
        const size_t frames = std::min(blockFrames, tone.frames() - done);
        float** buffer = vorbis_analysis_buffer(&dsp, int(blockFrames));
        for (size_t i = 0; i < frames; ++i) {
            buffer[0][i] = float(tone.samples[2 * (done + i)]) / 32768.0f;
            buffer[1][i] = float(tone.samples[2 * (done + i) + 1]) / 32768.0f;
        }
        vorbis_analysis_wrote(&dsp, int(frames));
        done += frames;
        finished = frames == 0;

        while (vorbis_analysis_blockout(&dsp, &block) == 1) {
            vorbis_analysis(&block, nullptr);
            vorbis_bitrate_addblock(&block);
            ogg_packet packet;
            while (vorbis_bitrate_flushpacket(&dsp, &packet) == 1) {
                ogg_stream_packetin(&stream, &packet);
                while (ogg_stream_pageout(&stream, &page) != 0)
                    writePage(page);
            }
        }
    }
    while (ogg_stream_flush(&stream, &page) != 0)
        writePage(page);

    ogg_stream_clear(&stream);
    vorbis_block_clear(&block);
    vorbis_dsp_clear(&dsp);
    vorbis_comment_clear(&comment);
    vorbis_info_clear(&info);
    return std::fclose(file) == 0 && ok;
}

#ifdef VLO_HAVE_FLAC_ENCODER
// FLAC as a plain ".flac" file, or in an Ogg container as ".oga" files hold it.
inline bool writeFlacFile(const std::string& path, const Tone& tone, bool inOgg)
{
    FLAC__StreamEncoder* encoder = FLAC__stream_encoder_new();
    if (encoder == nullptr)
        return false;
    bool ok = (!inOgg || (FLAC_API_SUPPORTS_OGG_FLAC && FLAC__stream_encoder_set_ogg_serial_number(encoder, 4711)))
        && FLAC__stream_encoder_set_channels(encoder, 2) && FLAC__stream_encoder_set_bits_per_sample(encoder, 16)
        && FLAC__stream_encoder_set_sample_rate(encoder, unsigned(tone.rate))
        && FLAC__stream_encoder_set_compression_level(encoder, 5)
        && FLAC__stream_encoder_set_total_samples_estimate(encoder, tone.frames());
    const FLAC__StreamEncoderInitStatus status = !ok ? FLAC__STREAM_ENCODER_INIT_STATUS_ENCODER_ERROR
        : inOgg ? FLAC__stream_encoder_init_ogg_file(encoder, path.c_str(), nullptr, nullptr)
                : FLAC__stream_encoder_init_file(encoder, path.c_str(), nullptr, nullptr);
    ok = status == FLAC__STREAM_ENCODER_INIT_STATUS_OK;
    if (ok) {
        // libFLAC takes 32-bit samples.
        std::vector<FLAC__int32> wide(tone.samples.begin(), tone.samples.end());
        ok = FLAC__stream_encoder_process_interleaved(encoder, wide.data(), unsigned(tone.frames()));
        ok = FLAC__stream_encoder_finish(encoder) && ok;
    }
    FLAC__stream_encoder_delete(encoder);
    return ok;
}

inline bool writeFlac(const std::string& path, const Tone& tone)
{
    return writeFlacFile(path, tone, false);
}
inline bool writeOggFlac(const std::string& path, const Tone& tone)
{
    return writeFlacFile(path, tone, true);
}
#endif

// The tone through libsndfile in `format` (SF_FORMAT_* major | subtype).
// Samples go in as floats in -1..1, which every coding scales right.
inline bool writeSndfile(const std::string& path, const Tone& tone, int format)
{
    SF_INFO info{};
    info.samplerate = tone.rate;
    info.channels = 2;
    info.format = format;
    SNDFILE* file = sf_open(path.c_str(), SFM_WRITE, &info);
    if (file == nullptr)
        return false;
    const sf_count_t frames = sf_count_t(tone.frames());
    std::vector<float> scaled(tone.samples.size());
    for (size_t i = 0; i < scaled.size(); ++i)
        scaled[i] = float(tone.samples[i]) / 32768.0f;
    const bool ok = sf_writef_float(file, scaled.data(), frames) == frames;
    return sf_close(file) == 0 && ok;
}

#ifdef VLO_HAVE_MP3_ENCODER
inline bool writeMp3(const std::string& path, const Tone& tone, int kbps = 128)
{
    lame_t lame = lame_init();
    if (lame == nullptr)
        return false;
    lame_set_in_samplerate(lame, tone.rate);
    lame_set_num_channels(lame, 2);
    lame_set_brate(lame, kbps);
    lame_set_quality(lame, 5);
    bool ok = lame_init_params(lame) >= 0;
    std::vector<uint8_t> out;
    if (ok) {
        // LAME's worst case for a buffer: 1.25 x frames + 7200 bytes.
        std::vector<unsigned char> chunk(tone.frames() + tone.frames() / 4 + 7200);
        std::vector<short> pcm(tone.samples.begin(), tone.samples.end());
        int n = lame_encode_buffer_interleaved(lame, pcm.data(), int(tone.frames()), chunk.data(), int(chunk.size()));
        ok = n >= 0;
        if (ok)
            out.insert(out.end(), chunk.begin(), chunk.begin() + n);
        n = ok ? lame_encode_flush(lame, chunk.data(), int(chunk.size())) : -1;
        ok = n >= 0;
        if (ok)
            out.insert(out.end(), chunk.begin(), chunk.begin() + n);
    }
    lame_close(lame);
    return ok && writeBytes(path, out);
}

// An MP3 that opens with an ID3v2.3 tag (a title and 1 KB of padding), as
// tagging tools leave them.
inline bool writeTaggedMp3(const std::string& path, const Tone& tone)
{
    if (!writeMp3(path, tone))
        return false;
    std::FILE* in = std::fopen(path.c_str(), "rb");
    if (in == nullptr)
        return false;
    std::vector<uint8_t> audio;
    for (int c = std::fgetc(in); c != EOF; c = std::fgetc(in))
        audio.push_back(uint8_t(c));
    std::fclose(in);
    const std::string title = "Test tone";
    std::vector<uint8_t> frame = {'T', 'I', 'T', '2', 0, 0, 0, uint8_t(title.size() + 1), 0, 0, 0};
    frame.insert(frame.end(), title.begin(), title.end());
    const uint32_t size = uint32_t(frame.size() + 1024);
    // The tag size is "synchsafe": 7 bits in each of four bytes.
    std::vector<uint8_t> tag = {'I', 'D', '3', 3, 0, 0, uint8_t((size >> 21) & 0x7F), uint8_t((size >> 14) & 0x7F),
        uint8_t((size >> 7) & 0x7F), uint8_t(size & 0x7F)};
    tag.insert(tag.end(), frame.begin(), frame.end());
    tag.resize(tag.size() + 1024, 0);
    tag.insert(tag.end(), audio.begin(), audio.end());
    return writeBytes(path, tag);
}
#endif

} // namespace vlo::test
