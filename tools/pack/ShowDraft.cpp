#include "ShowDraft.h"

#include <filesystem>
#include <map>

#include "CoverArt.h"
#include "GuiSet.h"
#include "ImageEncoders.h"
#include "Lettering.h"
#include "MusicNames.h"
#include "ScratchFolder.h"
#include "ShowArtwork.h"
#include "StrokeFont.h"

namespace fs = std::filesystem;

namespace vlo::pack {

using demo::Canvas;

namespace {

enum class Encoding { Jpeg, Png, PremultipliedPng };

bool encode(const Canvas& canvas, Encoding encoding, std::string& bytes, std::string& error)
{
    demo::PixelImage image;
    image.width = canvas.width();
    image.height = canvas.height();
    image.channels = encoding == Encoding::PremultipliedPng ? 4 : 3;
    image.bytes = encoding == Encoding::PremultipliedPng ? canvas.toPremultipliedRgba8() : canvas.toRgb8();
    std::vector<uint8_t> out;
    const bool encoded
        = encoding == Encoding::Jpeg ? demo::encodeJpeg(image, 90, out, error) : demo::encodePng(image, out, error);
    bytes.assign(out.begin(), out.end());
    return encoded;
}

// The value most tracks share (the earliest on a tie), empty when none has
// one.
std::string commonValue(const std::vector<AlbumTrack>& tracks, std::string AlbumTrack::*field)
{
    std::map<std::string, int> counts;
    std::string best;
    int bestCount = 0;
    for (const AlbumTrack& track : tracks) {
        const std::string& value = track.*field;
        if (value.empty())
            continue;
        const int count = ++counts[value];
        if (count > bestCount) {
            best = value;
            bestCount = count;
        }
    }
    return best;
}

AlbumText albumText(const Album& album, const std::string& albumFolder, const DraftOptions& options)
{
    AlbumText text;
    text.album = options.title;
    if (text.album.empty())
        text.album = commonValue(album.tracks, &AlbumTrack::album);
    if (text.album.empty())
        text.album = fs::u8path(albumFolder).lexically_normal().filename().string();
    if (text.album.empty() || text.album == ".")
        text.album = fs::absolute(fs::u8path(albumFolder)).lexically_normal().parent_path().filename().string();
    text.artist = options.artist.empty() ? commonValue(album.tracks, &AlbumTrack::artist) : options.artist;
    const std::string copyright = commonValue(album.tracks, &AlbumTrack::copyright);
    int year = 0;
    for (const AlbumTrack& track : album.tracks)
        year = year == 0 ? track.year : year;
    if (!copyright.empty())
        text.rights = copyright.find("(c)") == std::string::npos && copyright.find("\xC2\xA9") == std::string::npos
            ? "\xC2\xA9 " + copyright
            : copyright;
    else if (year > 0)
        text.rights = std::to_string(year);
    return text;
}

std::string configurationText(
    const ShowDraft& draft, const std::vector<std::string>& pictures, const std::vector<std::string>& captions)
{
    std::string text = "[vloData]\n"
                       "title: show/title.png\n"
                       "mask: show/background.jpg\n"
                       "credits: show/credits.png\n"
                       "fade: 1.0\n"
                       "[end]\n"
                       "[vloMusic]\n";
    for (size_t i = 0; i < draft.music.size(); ++i)
        text += draft.music[i].to + " " + pictures[i] + " " + captions[i] + "\n";
    return text + "[end]\n";
}

} // namespace

bool draftShow(const Album& album, const std::string& albumFolder, const DraftOptions& options,
    const std::function<void(const std::string&)>& progress, ShowDraft& draft, std::string& error)
{
    Lettering lettering;
    if (!lettering.open(options.font, error))
        return false;
    const ScratchFolder scratch;
    if (scratch.path().empty()) {
        error = "cannot make a temporary folder to decode pictures in";
        return false;
    }
    const AlbumText text = albumText(album, albumFolder, options);

    // The cover: the first track's embedded picture, else the folder's
    // cover file, else one drawn from the album's name.
    Canvas cover(0, 0);
    const bool found
        = (!album.tracks.front().picture.empty() && decodeCover(album.tracks.front().picture, scratch.path(), cover))
        || (!album.coverFile.empty() && decodeCover(album.coverFile, scratch.path(), cover));
    if (!found)
        cover = drawGeneratedCover(text.album, text.artist, lettering);

    progress("drawing the pictures (lettering in " + lettering.fontFile() + ")");
    auto add = [&](const std::string& entry, const Canvas& canvas, Encoding encoding) {
        std::string bytes;
        if (!encode(canvas, encoding, bytes, error)) {
            error = entry + ": " + error;
            return false;
        }
        draft.sources.push_back({entry, std::move(bytes)});
        return true;
    };
    const int count = int(album.tracks.size());
    std::vector<std::string> pictures;
    std::vector<std::string> captions;
    std::vector<std::string> creditLines;
    const Canvas coverPicture = fillSize(cover, kTrackPictureSize, kTrackPictureSize);
    for (int i = 0; i < count; ++i) {
        const AlbumTrack& track = album.tracks[i];
        const std::string name
            = musicFileName(i + 1, count, track.title, fs::u8path(track.fileName).extension().string());
        const std::string stem = fs::u8path(name).stem().string();
        draft.music.push_back({track.path, "music/" + name});
        pictures.push_back("tracks/" + stem + ".jpg");
        captions.push_back("captions/" + stem + ".png");
        Canvas own(0, 0);
        // Tracks that embed the cover itself show the cover.
        const bool hasOwn = !track.picture.empty() && track.picture != album.tracks.front().picture
            && decodeCover(track.picture, scratch.path(), own);
        const std::string artist = track.artist.empty() ? text.artist : track.artist;
        if (!add(pictures.back(), hasOwn ? fillSize(own, kTrackPictureSize, kTrackPictureSize) : coverPicture,
                Encoding::Jpeg)
            || !add(captions.back(), drawShowCaption(i + 1, count, track.title, artist, lettering), Encoding::Png))
            return false;
        creditLines.push_back(std::to_string(i + 1) + "  " + track.title + (artist.empty() ? "" : "  -  " + artist));
    }
    if (!add("show/title.png", drawShowTitle(cover, text, lettering), Encoding::Png)
        || !add("show/background.jpg", drawShowBackground(cover, text, lettering), Encoding::Jpeg)
        || !add("show/credits.png", drawShowCredits(cover, text, creditLines, lettering), Encoding::Png))
        return false;
    const demo::StrokeFont strokes;
    for (const demo::GuiGraphic& graphic : demo::defaultGuiGraphics())
        if (!add(graphic.path, demo::drawGuiGraphic(graphic, strokes), Encoding::PremultipliedPng))
            return false;
    draft.sources.push_back({"Vellumo.ini", configurationText(draft, pictures, captions)});
    return true;
}

} // namespace vlo::pack
