#pragma once
// A complete show made by the test itself: pictures drawn into small canvases
// and encoded by the test's own writers (bitmap, Targa, PNG, JPEG by the name's
// extension), the "Vellumo.ini" text, the "data.zuo" archive holding both, and
// WAV tones for music files. Used by the show-screen tests and by the
// end-to-end tests of the whole program.
#include <algorithm>
#include <cmath>
#include <cstdint>
#include <map>
#include <string>
#include <utility>
#include <vector>

#include "support/ArchiveBytes.h"
#include "support/ImageFixtures.h"

namespace vlo::show {

struct Rgba {
    uint8_t r = 0;
    uint8_t g = 0;
    uint8_t b = 0;
    uint8_t a = 255;
};

// Pixels in rows from the top, left to right.
class Canvas {
public:
    Canvas() = default;
    Canvas(int w, int h, Rgba fill)
        : width(w)
        , height(h)
        , pixels(size_t(w) * size_t(h), fill)
    {
    }

    // Fills [x0, x1) x [y0, y1), clipped to the canvas.
    Canvas& fillRect(int x0, int y0, int x1, int y1, Rgba colour)
    {
        for (int y = std::max(0, y0); y < std::min(height, y1); ++y)
            for (int x = std::max(0, x0); x < std::min(width, x1); ++x)
                pixels[size_t(y) * size_t(width) + size_t(x)] = colour;
        return *this;
    }

    Rgba at(int x, int y) const { return pixels[size_t(y) * size_t(width) + size_t(x)]; }

    int width = 0;
    int height = 0;
    std::vector<Rgba> pixels;
};

inline std::string toString(const fixtures::Bytes& bytes)
{
    return std::string(bytes.begin(), bytes.end());
}

// 32-bit bitmap: bottom row first, blue-green-red-alpha.
inline std::string bmpOf(const Canvas& canvas)
{
    fixtures::Bytes data;
    for (int y = canvas.height - 1; y >= 0; --y)
        for (int x = 0; x < canvas.width; ++x) {
            const Rgba p = canvas.at(x, y);
            data.insert(data.end(), {p.b, p.g, p.r, p.a});
        }
    return toString(fixtures::bmpFile(canvas.width, canvas.height, 32, 0, data));
}

// 32-bit Targa written top row first: the decoder keeps the file's row order
// and a texture's first row is the top of the picture.
inline std::string tgaOf(const Canvas& canvas)
{
    fixtures::Bytes data;
    for (const Rgba& p : canvas.pixels)
        data.insert(data.end(), {p.b, p.g, p.r, p.a});
    fixtures::Bytes file = fixtures::tgaFile(2, uint16_t(canvas.width), uint16_t(canvas.height), 32, data);
    file[17] |= 0x20; // top-left origin, so that other viewers agree
    return toString(file);
}

inline std::string pngOf(const Canvas& canvas)
{
    fixtures::PngSpec png;
    png.width = uint32_t(canvas.width);
    png.height = uint32_t(canvas.height);
    png.colourType = PNG_COLOR_TYPE_RGB_ALPHA;
    for (const Rgba& p : canvas.pixels)
        png.rows.insert(png.rows.end(), {p.r, p.g, p.b, p.a});
    return toString(fixtures::pngFile(png));
}

// JPEG has no alpha; keep JPEG pictures to flat colours that survive the
// compression closely.
inline std::string jpegOf(const Canvas& canvas)
{
    fixtures::Bytes rgb;
    for (const Rgba& p : canvas.pixels)
        rgb.insert(rgb.end(), {p.r, p.g, p.b});
    return toString(fixtures::jpegFile(canvas.width, canvas.height, 3, rgb, 100));
}

// Encodes by the name's extension: .bmp, .tga, .png, .jpg.
inline std::string encodeFor(const std::string& name, const Canvas& canvas)
{
    const std::string extension = name.substr(name.rfind('.') + 1);
    if (extension == "bmp")
        return bmpOf(canvas);
    if (extension == "tga")
        return tgaOf(canvas);
    if (extension == "jpg")
        return jpegOf(canvas);
    return pngOf(canvas);
}

// Mono 16-bit PCM WAV at 44100 Hz: a sine tone whose amplitude (0..1) is
// given per whole second by levels (the last level holds to the end), so
// that the position in the track can be told from the output level.
inline std::string wavOf(double seconds, double frequency, const std::vector<double>& levels)
{
    const uint32_t rate = 44100;
    const uint32_t frames = uint32_t(seconds * rate);
    fixtures::Bytes out;
    out.insert(out.end(), {'R', 'I', 'F', 'F'});
    fixtures::putUint32LE(out, 36 + frames * 2);
    out.insert(out.end(), {'W', 'A', 'V', 'E', 'f', 'm', 't', ' '});
    fixtures::putUint32LE(out, 16);
    fixtures::putUint16LE(out, 1); // PCM
    fixtures::putUint16LE(out, 1); // mono
    fixtures::putUint32LE(out, rate);
    fixtures::putUint32LE(out, rate * 2);
    fixtures::putUint16LE(out, 2);
    fixtures::putUint16LE(out, 16);
    out.insert(out.end(), {'d', 'a', 't', 'a'});
    fixtures::putUint32LE(out, frames * 2);
    for (uint32_t i = 0; i < frames; ++i) {
        const size_t second = std::min(size_t(i / rate), levels.size() - 1);
        const double value = levels[second] * std::sin(2.0 * 3.14159265358979 * frequency * double(i) / rate);
        fixtures::putUint16LE(out, uint16_t(int16_t(std::lround(value * 32767.0))));
    }
    return toString(out);
}

struct Track {
    std::string music;   // path on disk, relative to the show folder
    std::string picture; // archive paths
    std::string caption;
};

// Everything a show consists of. pictures maps archive names to canvases;
// a name the configuration uses but pictures lacks is simply not in the
// archive (a missing picture).
struct ShowContent {
    std::string title = "title.png";
    std::string mask = "mask.bmp";
    std::string credits = "credits.tga";
    std::vector<Track> tracks;
    std::map<std::string, Canvas> pictures;
    // Extra archive entries given as raw bytes (a broken configuration...).
    std::map<std::string, std::string> rawEntries;
    bool writeIni = true;

    std::string ini() const
    {
        std::string text = "[vloData]\ntitle: " + title + "\nmask: " + mask + "\ncredits: " + credits
            + "\nfade: none\n[end]\n[vloMusic]\n";
        for (const Track& track : tracks)
            text += track.music + " " + track.picture + " " + track.caption + "\n";
        return text + "[end]\n";
    }

    std::string archive() const
    {
        std::vector<std::pair<std::string, std::string>> entries;
        if (writeIni)
            entries.emplace_back("Vellumo.ini", ini());
        for (const auto& [name, canvas] : pictures)
            entries.emplace_back(name, encodeFor(name, canvas));
        for (const auto& [name, bytes] : rawEntries)
            entries.emplace_back(name, bytes);
        return test::archiveOf(entries);
    }
};

// The GUI graphics of the player panel and the window menu, each a flat
// colour of its own: buttons 100 x 90 pixels, menu items 160 x 40, the menu's
// background 170 x 150.
inline std::map<std::string, Rgba> guiColours()
{
    return {
        {"gui/play_on.png", {200, 120, 0, 255}},
        {"gui/play_off.png", {240, 160, 40, 255}},
        {"gui/pause_on.png", {0, 120, 200, 255}},
        {"gui/pause_off.png", {40, 160, 240, 255}},
        {"gui/stop_on.png", {120, 0, 0, 255}},
        {"gui/stop_off.png", {160, 40, 40, 255}},
        {"gui/prev_on.png", {0, 120, 0, 255}},
        {"gui/prev_off.png", {40, 160, 40, 255}},
        {"gui/next_on.png", {120, 0, 120, 255}},
        {"gui/next_off.png", {160, 40, 160, 255}},
        {"gui/minimize_off.png", {90, 90, 200, 255}},
        {"gui/minimize_on.png", {60, 60, 160, 255}},
        {"gui/credits_off.png", {90, 200, 90, 255}},
        {"gui/credits_on.png", {60, 160, 60, 255}},
        {"gui/exit_off.png", {200, 90, 90, 255}},
        {"gui/exit_on.png", {160, 60, 60, 255}},
        {"gui/polygon.png", {230, 230, 230, 255}},
    };
}

inline void addGuiGraphics(ShowContent& content)
{
    for (const auto& [name, colour] : guiColours()) {
        int width = 100;
        int height = 90;
        if (name == "gui/polygon.png") {
            width = 170;
            height = 150;
        } else if (name.find("minimize") != std::string::npos || name.find("credits") != std::string::npos
            || name.find("exit") != std::string::npos) {
            width = 160;
            height = 40;
        }
        content.pictures[name] = Canvas(width, height, colour);
    }
}

// The standard test show: a white background, a red title, a green credits
// picture, and `trackCount` tracks whose pictures and 700 x 100 captions each
// have a colour of their own (trackColour, captionColour). Track i's picture
// is trackPictureWidth(i) x 300 pixels: wide, so that a press near the right
// edge still lands on the picture, and of a width of its own, so that a test
// can tell which picture a texture holds.
inline Rgba trackColour(size_t index)
{
    static const Rgba colours[] = {{255, 255, 0, 255}, {0, 255, 255, 255}, {255, 0, 255, 255}, {255, 128, 0, 255}};
    return colours[index % 4];
}

inline Rgba captionColour(size_t index)
{
    static const Rgba colours[] = {{0, 0, 128, 255}, {128, 0, 0, 255}, {0, 96, 0, 255}, {96, 0, 96, 255}};
    return colours[index % 4];
}

inline int trackPictureWidth(size_t index)
{
    return 680 - 20 * int(index % 4);
}

inline ShowContent standardShow(size_t trackCount)
{
    ShowContent content;
    content.pictures[content.title] = Canvas(700, 600, {255, 0, 0, 255});
    content.pictures[content.mask] = Canvas(700, 600, {255, 255, 255, 255});
    content.pictures[content.credits] = Canvas(700, 600, {0, 255, 0, 255});
    static const char* pictureExtensions[] = {".png", ".tga", ".bmp", ".jpg"};
    for (size_t i = 0; i < trackCount; ++i) {
        Track track;
        track.music = "music/track" + std::to_string(i + 1) + ".wav";
        track.picture = "pictures/track" + std::to_string(i + 1) + pictureExtensions[i % 4];
        track.caption = "captions/track" + std::to_string(i + 1) + ".png";
        content.pictures[track.picture] = Canvas(trackPictureWidth(i), 300, trackColour(i));
        content.pictures[track.caption] = Canvas(700, 100, captionColour(i));
        content.tracks.push_back(track);
    }
    addGuiGraphics(content);
    return content;
}

// Makes the title a 1 MB PNG and the credits a 300-byte truncated JPEG
// ("credits.jpg"), both declaring 16384 x 16384: 805 MB of pixels each if
// anything decoded them. False when the JPEG could not be made.
inline bool declareHugeTitleAndCredits(ShowContent& content)
{
    fixtures::Bytes cutJpeg = fixtures::jpegFile(8, 8, 1, fixtures::Bytes(64, 128));
    if (!fixtures::patchJpegFrameSize(cutJpeg, 16384, 16384))
        return false;
    cutJpeg.resize(300);
    content.pictures.erase(content.title);
    content.rawEntries[content.title]
        = toString(fixtures::pngDeclaring(16384, 16384, 8, PNG_COLOR_TYPE_RGB, fixtures::Bytes(1 << 20, 0x5A)));
    content.pictures.erase(content.credits);
    content.credits = "credits.jpg";
    content.rawEntries[content.credits] = toString(cutJpeg);
    return true;
}

// Window-pixel positions (client area, origin top-left) of the standard
// show's controls once the player buttons have come in: the middle of each
// 100 x 90 button resting at y 485 to 575.
struct PixelPoint {
    int x;
    int y;
};
constexpr PixelPoint playButtonPoint{185, 530};
constexpr PixelPoint stopButtonPoint{285, 530};
constexpr PixelPoint prevButtonPoint{400, 530};
constexpr PixelPoint nextButtonPoint{510, 530};

} // namespace vlo::show
