#include "ShowArtwork.h"

#include <algorithm>

#include "CoverArt.h"

namespace vlo::pack {

using demo::Canvas;
using demo::Mask;
using demo::Rgba;
using demo::straight;

namespace {

constexpr int kWidth = 700;
constexpr int kHeight = 600;
constexpr int kCaptionBand = 105;

// The cover's colours spread smoothly over width x height: averaged down to
// a coarse grid, then blended between the grid's cells.
Canvas colourField(const Canvas& cover, int width, int height)
{
    const Canvas grid = fillSize(cover, 7, 6);
    Canvas field(width, height);
    for (int y = 0; y < height; ++y) {
        const float gy = std::clamp((y + 0.5f) * grid.height() / height - 0.5f, 0.0f, grid.height() - 1.0f);
        const int y0 = std::min(int(gy), grid.height() - 2);
        const float ty = gy - y0;
        for (int x = 0; x < width; ++x) {
            const float gx = std::clamp((x + 0.5f) * grid.width() / width - 0.5f, 0.0f, grid.width() - 1.0f);
            const int x0 = std::min(int(gx), grid.width() - 2);
            const float tx = gx - x0;
            const Rgba top = demo::mix(grid.at(x0, y0), grid.at(x0 + 1, y0), tx);
            const Rgba bottom = demo::mix(grid.at(x0, y0 + 1), grid.at(x0 + 1, y0 + 1), tx);
            field.at(x, y) = demo::mix(top, bottom, ty);
        }
    }
    return field;
}

// Lays `colour` over the whole canvas at the given coverage.
void wash(Canvas& canvas, Rgba colour, float coverage)
{
    canvas.shade([=](float, float) { return demo::scaled(colour, coverage); });
}

void paintShadow(Canvas& canvas, float x0, float y0, float x1, float y1, float strength)
{
    Mask shadow(canvas.width(), canvas.height());
    shadow.addRoundedRect(x0 - 6.0f, y0 + 2.0f, x1 + 6.0f, y1 + 10.0f, 8.0f);
    shadow.blur(7);
    canvas.paint(shadow, straight(0.0f, 0.0f, 0.0f, strength));
}

} // namespace

Canvas drawShowBackground(const Canvas& cover, const AlbumText& text, Lettering& lettering)
{
    Canvas canvas = colourField(cover, kWidth, kHeight);
    wash(canvas, straight(1.0f, 1.0f, 1.0f), 0.62f);
    // The caption band fades to almost white, so that the caption's dark
    // letters read on any cover.
    canvas.shade([](float, float y) {
        const float t = std::clamp((y - kCaptionBand) / 40.0f, 0.0f, 1.0f);
        return straight(1.0f, 1.0f, 1.0f, 0.85f * (1.0f - t));
    });
    paintShadow(canvas, 0.0f, kCaptionBand, kTrackPictureSize, kCaptionBand + kTrackPictureSize, 0.3f);

    Mask lines(kWidth, kHeight);
    lines.addCapsule(18.0f, 101.0f, 682.0f, 101.0f, 0.6f);
    canvas.paint(lines, straight(0.2f, 0.2f, 0.2f, 0.4f));

    const int centre = (kTrackPictureSize + kWidth) / 2;
    const int room = kWidth - kTrackPictureSize - 40;
    Mask name(kWidth, kHeight);
    lettering.drawFitted(name, text.album, centre, 250, 30, 12, room, true);
    canvas.paint(name, straight(0.12f, 0.12f, 0.14f));
    Mask artist(kWidth, kHeight);
    lettering.drawFitted(artist, text.artist, centre, 290, 20, 10, room, true);
    Mask hints(kWidth, kHeight);
    lettering.drawFitted(hints, "right-click the picture for the menu", centre, 400, 12, 8, room, true);
    lettering.drawFitted(hints, "drag to move - Esc to quit", centre, 420, 12, 8, room, true);
    artist.scale(0.8f);
    canvas.paint(artist, straight(0.12f, 0.12f, 0.14f));
    canvas.paint(hints, straight(0.25f, 0.25f, 0.28f, 0.8f));
    return canvas;
}

Canvas drawShowCaption(int number, int count, const std::string& title, const std::string& artist, Lettering& lettering)
{
    Canvas canvas(kCaptionWidth, kCaptionHeight);
    canvas.fill(straight(1.0f, 1.0f, 1.0f));
    const int right = kCaptionWidth - 24;
    Mask position(kCaptionWidth, kCaptionHeight);
    const std::string where = std::to_string(number) + " / " + std::to_string(count);
    const int whereWidth = lettering.width(where, 16);
    lettering.draw(position, where, right - whereWidth, 50, 16);
    canvas.paint(position, straight(0.35f, 0.35f, 0.38f));

    const int room = right - whereWidth - 24 - 24;
    Mask name(kCaptionWidth, kCaptionHeight);
    lettering.drawFitted(name, title, 24, 50, 32, 14, room, false);
    canvas.paint(name, straight(0.08f, 0.08f, 0.1f));
    Mask by(kCaptionWidth, kCaptionHeight);
    lettering.drawFitted(by, artist, 26, 82, 18, 10, room, false);
    canvas.paint(by, straight(0.3f, 0.3f, 0.33f));
    return canvas;
}

Canvas drawShowTitle(const Canvas& cover, const AlbumText& text, Lettering& lettering)
{
    Canvas canvas = colourField(cover, kWidth, kHeight);
    wash(canvas, straight(0.0f, 0.0f, 0.0f), 0.7f);
    const int side = 320;
    const int left = (kWidth - side) / 2;
    const int top = 50;
    paintShadow(canvas, float(left), float(top), float(left + side), float(top + side), 0.6f);
    canvas.drawCanvas(fillSize(cover, side, side), left, top);
    Mask name(kWidth, kHeight);
    lettering.drawFitted(name, text.album, kWidth / 2, 450, 40, 16, kWidth - 60, true);
    canvas.paint(name, straight(1.0f, 1.0f, 1.0f));
    Mask artist(kWidth, kHeight);
    lettering.drawFitted(artist, text.artist, kWidth / 2, 500, 26, 12, kWidth - 60, true);
    canvas.paint(artist, straight(0.85f, 0.85f, 0.88f));
    return canvas;
}

Canvas drawShowCredits(
    const Canvas& cover, const AlbumText& text, const std::vector<std::string>& trackLines, Lettering& lettering)
{
    Canvas canvas = colourField(cover, kWidth, kHeight);
    wash(canvas, straight(0.0f, 0.0f, 0.0f), 0.8f);
    Mask heading(kWidth, kHeight);
    lettering.drawFitted(heading, text.album, kWidth / 2, 70, 34, 14, kWidth - 60, true);
    canvas.paint(heading, straight(1.0f, 1.0f, 1.0f));
    Mask artist(kWidth, kHeight);
    lettering.drawFitted(artist, text.artist, kWidth / 2, 108, 22, 10, kWidth - 60, true);
    canvas.paint(artist, straight(0.85f, 0.85f, 0.88f));

    // The track list fills the space between the heading and the rights
    // line; long albums get smaller lines.
    const int firstLine = 160;
    const int lastLine = 530;
    const int count = std::max<int>(1, int(trackLines.size()));
    const int step = std::clamp((lastLine - firstLine) / count, 6, 30);
    const int size = std::max(6, step * 2 / 3);
    Mask lines(kWidth, kHeight);
    for (size_t i = 0; i < trackLines.size(); ++i)
        lettering.drawFitted(lines, trackLines[i], kWidth / 2, firstLine + int(i) * step, size, 6, kWidth - 60, true);
    canvas.paint(lines, straight(0.95f, 0.95f, 0.97f));
    Mask rights(kWidth, kHeight);
    lettering.drawFitted(rights, text.rights, kWidth / 2, 575, 16, 8, kWidth - 60, true);
    canvas.paint(rights, straight(0.75f, 0.75f, 0.78f));
    return canvas;
}

} // namespace vlo::pack
