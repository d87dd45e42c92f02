#include "AudioEncoders.h"

#include <algorithm>

#include <vorbis/vorbisenc.h>

namespace vlo::demo {

namespace {

// Holds every libvorbis and libogg structure of one encoding and clears
// whichever were set up, in reverse order, however the encoding ends.
struct VorbisSession {
    vorbis_info info;
    vorbis_comment comment;
    vorbis_dsp_state dsp;
    vorbis_block block;
    ogg_stream_state stream;
    bool haveDsp = false;
    bool haveBlock = false;
    bool haveStream = false;

    VorbisSession()
    {
        vorbis_info_init(&info);
        vorbis_comment_init(&comment);
    }
    ~VorbisSession()
    {
        if (haveStream) {
            ogg_stream_clear(&stream);
        }
        if (haveBlock) {
            vorbis_block_clear(&block);
        }
        if (haveDsp) {
            vorbis_dsp_clear(&dsp);
        }
        vorbis_comment_clear(&comment);
        vorbis_info_clear(&info);
    }
    VorbisSession(const VorbisSession&) = delete;
    VorbisSession& operator=(const VorbisSession&) = delete;
};

void appendPage(std::vector<uint8_t>& out, const ogg_page& page)
{
    out.insert(out.end(), page.header, page.header + page.header_len);
    out.insert(out.end(), page.body, page.body + page.body_len);
}

// Moves every finished block through the encoder into pages.
void drainBlocks(VorbisSession& s, std::vector<uint8_t>& out)
{
    ogg_packet packet;
    ogg_page page;
    while (vorbis_analysis_blockout(&s.dsp, &s.block) == 1) {
        vorbis_analysis(&s.block, nullptr);
        vorbis_bitrate_addblock(&s.block);
        while (vorbis_bitrate_flushpacket(&s.dsp, &packet)) {
            ogg_stream_packetin(&s.stream, &packet);
            while (ogg_stream_pageout(&s.stream, &page)) {
                appendPage(out, page);
            }
        }
    }
}

void addTag(VorbisSession& s, const char* name, const std::string& value)
{
    if (!value.empty()) {
        vorbis_comment_add_tag(&s.comment, name, value.c_str());
    }
}

} // namespace

bool encodeOgg(const StereoBuffer& audio, float quality, int serial, const AudioTags& tags, std::vector<uint8_t>& out,
    std::string& error)
{
    if (audio.left.size() != audio.right.size()) {
        error = "left and right channels differ in length";
        return false;
    }
    if (quality < -0.1f || quality > 1.0f) {
        error = "bad Vorbis quality " + std::to_string(quality) + " (-0.1 to 1.0)";
        return false;
    }
    VorbisSession s;
    if (vorbis_encode_init_vbr(&s.info, 2, kSampleRate, quality) != 0) {
        error = "libvorbisenc refused stereo at " + std::to_string(kSampleRate) + " Hz";
        return false;
    }
    addTag(s, "TITLE", tags.title);
    addTag(s, "ARTIST", tags.artist);
    addTag(s, "ALBUM", tags.album);
    if (tags.trackNumber > 0) {
        addTag(s, "TRACKNUMBER", std::to_string(tags.trackNumber));
    }
    if (vorbis_analysis_init(&s.dsp, &s.info) != 0) {
        error = "libvorbis could not start the analysis";
        return false;
    }
    s.haveDsp = true;
    vorbis_block_init(&s.dsp, &s.block);
    s.haveBlock = true;
    ogg_stream_init(&s.stream, serial);
    s.haveStream = true;

    out.clear();
    ogg_packet header, commentHeader, codeHeader;
    vorbis_analysis_headerout(&s.dsp, &s.comment, &header, &commentHeader, &codeHeader);
    ogg_stream_packetin(&s.stream, &header);
    ogg_stream_packetin(&s.stream, &commentHeader);
    ogg_stream_packetin(&s.stream, &codeHeader);
    ogg_page page;
    // The headers end on a page of their own, as players expect.
    while (ogg_stream_flush(&s.stream, &page)) {
        appendPage(out, page);
    }

    const size_t chunk = 4096;
    for (size_t at = 0; at < audio.frames(); at += chunk) {
        size_t n = std::min(chunk, audio.frames() - at);
        float** buffer = vorbis_analysis_buffer(&s.dsp, static_cast<int>(n));
        for (size_t i = 0; i < n; ++i) {
            buffer[0][i] = audio.left[at + i];
            buffer[1][i] = audio.right[at + i];
        }
        vorbis_analysis_wrote(&s.dsp, static_cast<int>(n));
        drainBlocks(s, out);
    }
    // Zero samples written marks the end of the stream.
    vorbis_analysis_wrote(&s.dsp, 0);
    drainBlocks(s, out);
    while (ogg_stream_flush(&s.stream, &page)) {
        appendPage(out, page);
    }
    return true;
}

} // namespace vlo::demo
