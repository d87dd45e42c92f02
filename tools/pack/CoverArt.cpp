#include "CoverArt.h"

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <memory>

#include "JpegExif.h"
#include "PictureFormats.h"
#include "render/codecs/ImageCodecRegistry.h"

namespace vlo::pack {

using demo::Canvas;
using demo::Mask;
using demo::Rgba;
using demo::straight;

namespace {

struct RemovedFile {
    std::string path;
    ~RemovedFile() { std::remove(path.c_str()); }
};

// FNV-1a: a stable number from a text, for colours that belong to a name.
uint32_t hashOf(const std::string& text)
{
    uint32_t hash = 2166136261u;
    for (char c : text)
        hash = (hash ^ static_cast<unsigned char>(c)) * 16777619u;
    return hash;
}

// A saturated colour of the hue (0..1), at the given lightness.
Rgba hueColour(float hue, float light)
{
    auto channel = [&](float offset) {
        float t = std::fabs(std::fmod(hue * 6.0f + offset, 6.0f) - 3.0f) - 1.0f;
        return light * (0.35f + 0.65f * std::clamp(t, 0.0f, 1.0f));
    };
    return straight(channel(0.0f), channel(4.0f), channel(2.0f));
}

} // namespace

bool decodeCover(const std::string& bytes, const std::string& scratchFolder, Canvas& out)
{
    const std::string format = sniffPictureFormat(bytes);
    if (format != "jpg" && format != "png")
        return false;
    const RemovedFile file{scratchFolder + "/cover." + format};
    {
        std::ofstream stream(std::filesystem::u8path(file.path), std::ios::binary | std::ios::trunc);
        stream.write(bytes.data(), std::streamsize(bytes.size()));
        if (!stream)
            return false;
    }
    int width = 0;
    int height = 0;
    int bits = 0;
    unsigned char* pixels = nullptr;
    ImageCodecRegistry registry;
    registry.load(file.path.c_str(), &width, &height, &bits, &pixels);
    const std::unique_ptr<unsigned char[]> owned(pixels);
    if (owned == nullptr || width <= 0 || height <= 0 || (bits != 24 && bits != 32))
        return false;
    Canvas picture(width, height);
    const int channels = bits / 8;
    for (int y = 0; y < height; ++y) {
        for (int x = 0; x < width; ++x) {
            const unsigned char* p = owned.get() + (size_t(y) * width + x) * channels;
            // Transparent parts of a cover show white.
            const float a = channels == 4 ? p[3] / 255.0f : 1.0f;
            picture.at(x, y)
                = Rgba{p[0] / 255.0f * a + 1.0f - a, p[1] / 255.0f * a + 1.0f - a, p[2] / 255.0f * a + 1.0f - a, 1.0f};
        }
    }
    out = orientUpright(picture, format == "jpg" ? exifOrientation(bytes) : 1);
    return true;
}

Canvas orientUpright(const Canvas& picture, int orientation)
{
    if (orientation < 2 || orientation > 8)
        return picture;
    const int w = picture.width();
    const int h = picture.height();
    const bool turned = orientation >= 5;
    Canvas out(turned ? h : w, turned ? w : h);
    for (int y = 0; y < out.height(); ++y) {
        for (int x = 0; x < out.width(); ++x) {
            int sx = x;
            int sy = y;
            switch (orientation) {
            case 2: // mirrored left to right
                sx = w - 1 - x;
                break;
            case 3: // upside down
                sx = w - 1 - x, sy = h - 1 - y;
                break;
            case 4: // mirrored top to bottom
                sy = h - 1 - y;
                break;
            case 5: // mirrored along the main diagonal
                sx = y, sy = x;
                break;
            case 6: // to be turned 90 degrees clockwise
                sx = y, sy = h - 1 - x;
                break;
            case 7: // mirrored along the other diagonal
                sx = w - 1 - y, sy = h - 1 - x;
                break;
            default: // 8: to be turned 90 degrees anticlockwise
                sx = w - 1 - y, sy = x;
                break;
            }
            out.at(x, y) = picture.at(sx, sy);
        }
    }
    return out;
}

Canvas fillSize(const Canvas& picture, int width, int height)
{
    Canvas out(width, height);
    // The largest centred part of the source with the target's proportions.
    const double scale = std::min(double(picture.width()) / width, double(picture.height()) / height);
    const double left = (picture.width() - scale * width) / 2.0;
    const double top = (picture.height() - scale * height) / 2.0;
    for (int y = 0; y < height; ++y) {
        const int y0 = std::clamp(int(std::floor(top + y * scale)), 0, picture.height() - 1);
        const int y1 = std::clamp(int(std::ceil(top + (y + 1) * scale)), y0 + 1, picture.height());
        for (int x = 0; x < width; ++x) {
            const int x0 = std::clamp(int(std::floor(left + x * scale)), 0, picture.width() - 1);
            const int x1 = std::clamp(int(std::ceil(left + (x + 1) * scale)), x0 + 1, picture.width());
            Rgba sum;
            for (int sy = y0; sy < y1; ++sy) {
                for (int sx = x0; sx < x1; ++sx) {
                    const Rgba& p = picture.at(sx, sy);
                    sum.r += p.r, sum.g += p.g, sum.b += p.b, sum.a += p.a;
                }
            }
            const float n = float((y1 - y0) * (x1 - x0));
            out.at(x, y) = Rgba{sum.r / n, sum.g / n, sum.b / n, sum.a / n};
        }
    }
    return out;
}

Canvas drawGeneratedCover(const std::string& album, const std::string& artist, Lettering& lettering)
{
    const uint32_t hash = hashOf(album + "\n" + artist);
    const float hue = float(hash % 360) / 360.0f;
    const Rgba deep = hueColour(hue, 0.45f);
    const Rgba bright = hueColour(std::fmod(hue + 0.12f, 1.0f), 0.85f);
    Canvas cover(600, 600);
    cover.shade([&](float x, float y) { return demo::mix(bright, deep, std::clamp((x + y) / 1200.0f, 0.0f, 1.0f)); });
    Mask rings(600, 600);
    for (int i = 0; i < 6; ++i)
        rings.addRing(300.0f, 260.0f, 60.0f + 32.0f * i, 2.0f);
    cover.paint(rings, straight(1.0f, 1.0f, 1.0f, 0.25f));
    Mask name(600, 600);
    lettering.drawFitted(name, album, 300, 500, 48, 20, 540, true);
    lettering.drawFitted(name, artist, 300, 550, 28, 14, 540, true);
    cover.paint(name, straight(1.0f, 1.0f, 1.0f));
    return cover;
}

} // namespace vlo::pack
