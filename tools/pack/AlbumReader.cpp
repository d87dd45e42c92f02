#include "AlbumReader.h"

#include <algorithm>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iterator>

#include <attachedpictureframe.h>
#include <fileref.h>
#include <flacfile.h>
#include <flacpicture.h>
#include <id3v2tag.h>
#include <mpegfile.h>
#include <opusfile.h>
#include <tag.h>
#include <tpropertymap.h>
#include <vorbisfile.h>
#include <wavfile.h>
#include <xiphcomment.h>

#include "Diagnostics.h"
#include "audio/MusicFiles.h"

namespace fs = std::filesystem;

namespace vlo::pack {

namespace {

std::string lowerAscii(std::string text)
{
    for (char& c : text)
        if (c >= 'A' && c <= 'Z')
            c = char(c - 'A' + 'a');
    return text;
}

bool isCoverFileName(const std::string& fileName)
{
    const std::string name = lowerAscii(fileName);
    for (const char* stem : {"cover", "folder", "front"})
        for (const char* extension : {".jpg", ".jpeg", ".png"})
            if (name == std::string(stem) + extension)
                return true;
    return false;
}

std::string readBytes(const fs::path& path)
{
    std::ifstream in(path, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

std::string text(const TagLib::String& value)
{
    return value.to8Bit(true);
}

// The leading number of a tag value such as "2" or "2/3".
int leadingNumber(const TagLib::PropertyMap& properties, const char* key)
{
    const auto found = properties.find(key);
    if (found == properties.end() || found->second.isEmpty())
        return 0;
    return std::max(0, std::atoi(found->second.front().toCString(true)));
}

std::string firstValue(const TagLib::PropertyMap& properties, const char* key)
{
    const auto found = properties.find(key);
    return found == properties.end() || found->second.isEmpty() ? std::string() : text(found->second.front());
}

std::string pictureOf(const TagLib::ID3v2::Tag* tag)
{
    if (tag == nullptr)
        return std::string();
    std::string first;
    for (TagLib::ID3v2::Frame* frame : tag->frameList("APIC")) {
        const auto* picture = dynamic_cast<TagLib::ID3v2::AttachedPictureFrame*>(frame);
        if (picture == nullptr)
            continue;
        const TagLib::ByteVector& data = picture->picture();
        std::string bytes(data.data(), data.size());
        if (picture->type() == TagLib::ID3v2::AttachedPictureFrame::FrontCover)
            return bytes;
        if (first.empty())
            first = bytes;
    }
    return first;
}

std::string pictureOf(const TagLib::List<TagLib::FLAC::Picture*>& pictures)
{
    std::string first;
    for (const TagLib::FLAC::Picture* picture : pictures) {
        const TagLib::ByteVector& data = picture->data();
        std::string bytes(data.data(), data.size());
        if (picture->type() == TagLib::FLAC::Picture::FrontCover)
            return bytes;
        if (first.empty())
            first = bytes;
    }
    return first;
}

// The embedded picture of the formats that carry one in their own way.
std::string embeddedPicture(TagLib::File* file)
{
    if (auto* mpeg = dynamic_cast<TagLib::MPEG::File*>(file))
        return pictureOf(mpeg->ID3v2Tag());
    if (auto* flac = dynamic_cast<TagLib::FLAC::File*>(file))
        return pictureOf(flac->pictureList());
    if (auto* vorbis = dynamic_cast<TagLib::Ogg::Vorbis::File*>(file))
        return vorbis->tag() ? pictureOf(vorbis->tag()->pictureList()) : std::string();
    if (auto* opus = dynamic_cast<TagLib::Ogg::Opus::File*>(file))
        return opus->tag() ? pictureOf(opus->tag()->pictureList()) : std::string();
    if (auto* wav = dynamic_cast<TagLib::RIFF::WAV::File*>(file))
        return wav->hasID3v2Tag() ? pictureOf(wav->ID3v2Tag()) : std::string();
    return std::string();
}

AlbumTrack readTrack(const fs::path& path)
{
    AlbumTrack track;
    track.path = path.string();
    track.fileName = path.filename().string();
    TagLib::FileRef file(path.c_str(), false);
    if (!file.isNull() && file.tag() != nullptr) {
        const TagLib::Tag* tag = file.tag();
        track.title = text(tag->title());
        track.artist = text(tag->artist());
        track.album = text(tag->album());
        track.year = int(tag->year());
        track.number = int(tag->track());
        const TagLib::PropertyMap properties = file.file()->properties();
        track.disc = leadingNumber(properties, "DISCNUMBER");
        track.copyright = firstValue(properties, "COPYRIGHT");
        track.picture = embeddedPicture(file.file());
    }
    if (track.title.empty())
        track.title = titleFromFileName(track.fileName);
    return track;
}

bool showOrder(const AlbumTrack& a, const AlbumTrack& b)
{
    // Files without a track number come after all numbered ones; a numbered
    // file without a disc number belongs to the first disc.
    if ((a.number == 0) != (b.number == 0))
        return b.number == 0;
    const int discA = a.number == 0 ? 0 : std::max(a.disc, 1);
    const int discB = b.number == 0 ? 0 : std::max(b.disc, 1);
    if (discA != discB)
        return discA < discB;
    if (a.number != b.number)
        return a.number < b.number;
    return a.fileName < b.fileName;
}

} // namespace

std::string titleFromFileName(const std::string& fileName)
{
    std::string stem = fs::u8path(fileName).stem().string();
    std::replace(stem.begin(), stem.end(), '_', ' ');
    size_t start = 0;
    while (start < stem.size() && stem[start] >= '0' && stem[start] <= '9')
        ++start;
    if (start > 0) {
        while (start < stem.size() && (stem[start] == ' ' || stem[start] == '-' || stem[start] == '.'))
            ++start;
        // A name that is only a number keeps it.
        if (start < stem.size())
            stem = stem.substr(start);
    }
    return stem.empty() ? fileName : stem;
}

bool readAlbum(const std::string& folder, Album& album, std::string& error)
{
    std::error_code status;
    if (!fs::is_directory(fs::u8path(folder), status)) {
        error = inQuotes(folder) + " is not a folder";
        return false;
    }
    std::vector<fs::path> files;
    fs::directory_iterator walk(fs::u8path(folder), status);
    for (; !status && walk != fs::directory_iterator(); walk.increment(status)) {
        std::error_code typeStatus;
        if (walk->is_regular_file(typeStatus))
            files.push_back(walk->path());
    }
    if (status) {
        error = "cannot read the folder " + inQuotes(folder) + ": " + status.message();
        return false;
    }
    // Listing order differs between file systems; the show must not.
    std::sort(files.begin(), files.end(),
        [](const fs::path& a, const fs::path& b) { return a.filename().string() < b.filename().string(); });
    for (const fs::path& path : files) {
        const std::string name = path.filename().string();
        if (musicFileProblem(path.string()).empty()) {
            album.tracks.push_back(readTrack(path));
        } else if (album.coverFileName.empty() && isCoverFileName(name)) {
            album.coverFile = readBytes(path);
            album.coverFileName = name;
        } else {
            album.skipped.push_back(name);
        }
    }
    std::stable_sort(album.tracks.begin(), album.tracks.end(), showOrder);
    return true;
}

} // namespace vlo::pack
