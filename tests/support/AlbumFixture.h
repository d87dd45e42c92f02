#pragma once
// Album folders as people keep them, for `vellumo-pack new`: short tones in
// Ogg Vorbis, MP3 and FLAC, tagged with TagLib, with pictures as JPEG files.
// The including program links TagLib and the audio encoders (see
// vlo_link_audio_encoders).
#include <attachedpictureframe.h>
#include <fileref.h>
#include <flacfile.h>
#include <flacpicture.h>
#include <id3v2tag.h>
#include <mpegfile.h>
#include <tag.h>
#include <tpropertymap.h>

#include <string>

#include "support/ImageFixtures.h"
#include "support/ToneFiles.h"

namespace vlo::test {

struct ToneTags {
    std::string title;
    std::string artist;
    std::string album;
    unsigned track = 0;
    unsigned year = 0;
};

inline bool tagFile(const std::string& path, const ToneTags& tags)
{
    TagLib::FileRef file(path.c_str());
    if (file.isNull() || file.tag() == nullptr)
        return false;
    file.tag()->setTitle(TagLib::String(tags.title, TagLib::String::UTF8));
    file.tag()->setArtist(TagLib::String(tags.artist, TagLib::String::UTF8));
    file.tag()->setAlbum(TagLib::String(tags.album, TagLib::String::UTF8));
    file.tag()->setTrack(tags.track);
    file.tag()->setYear(tags.year);
    return file.save();
}

inline bool setDiscNumber(const std::string& path, unsigned disc)
{
    TagLib::FileRef file(path.c_str());
    if (file.isNull())
        return false;
    TagLib::PropertyMap properties = file.file()->properties();
    properties.replace("DISCNUMBER", TagLib::StringList(TagLib::String::number(int(disc))));
    file.file()->setProperties(properties);
    return file.save();
}

// A JPEG of one colour.
inline std::string solidJpeg(int width, int height, uint8_t r, uint8_t g, uint8_t b)
{
    fixtures::Bytes pixels;
    for (int i = 0; i < width * height; ++i)
        pixels.insert(pixels.end(), {r, g, b});
    const fixtures::Bytes jpeg = fixtures::jpegFile(width, height, 3, pixels);
    return std::string(jpeg.begin(), jpeg.end());
}

// Puts the JPEG into a FLAC file as its front cover.
inline bool embedFlacPicture(const std::string& path, const std::string& jpeg)
{
    TagLib::FLAC::File file(path.c_str());
    auto* picture = new TagLib::FLAC::Picture;
    picture->setType(TagLib::FLAC::Picture::FrontCover);
    picture->setMimeType("image/jpeg");
    picture->setData(TagLib::ByteVector(jpeg.data(), unsigned(jpeg.size())));
    file.addPicture(picture);
    return file.save();
}

// Puts the JPEG into an MP3 file's ID3v2 tag as its front cover.
inline bool embedMp3Picture(const std::string& path, const std::string& jpeg)
{
    TagLib::MPEG::File file(path.c_str());
    auto* frame = new TagLib::ID3v2::AttachedPictureFrame;
    frame->setType(TagLib::ID3v2::AttachedPictureFrame::FrontCover);
    frame->setMimeType("image/jpeg");
    frame->setPicture(TagLib::ByteVector(jpeg.data(), unsigned(jpeg.size())));
    file.ID3v2Tag(true)->addFrame(frame);
    return file.save();
}

} // namespace vlo::test
