#include "GuiGraphics.h"

#include <algorithm>

#include "Palette.h"

namespace vlo::demo {

namespace {

std::string numberWord(int n)
{
    static const char* const words[]
        = {"zero", "one", "two", "three", "four", "five", "six", "seven", "eight", "nine", "ten"};
    return n >= 0 && n <= 10 ? words[n] : std::to_string(n);
}

} // namespace

Canvas drawCaptionPicture(const StrokeFont& font, int number, int count, const std::string& title)
{
    Canvas canvas(700, 100);

    // A faint warm ribbon behind the lettering, soft at its ends.
    Mask ribbon(700, 100);
    ribbon.addRoundedRect(28.0f, 16.0f, 672.0f, 90.0f, 36.0f);
    ribbon.blur(8);
    canvas.paint(ribbon, straight(0.97f, 0.86f, 0.70f));

    // The badge: an ember disc with the number left in the background's
    // own light colour (white multiplies to no change).
    Mask badge(700, 100);
    badge.addDisc(72.0f, 51.0f, 30.0f);
    canvas.paint(badge, straight(0.86f, 0.38f, 0.15f));
    Mask badgeRing(700, 100);
    badgeRing.addRing(72.0f, 51.0f, 34.5f, 1.4f);
    canvas.paint(badgeRing, straight(0.55f, 0.24f, 0.10f));
    Mask numeral(700, 100);
    font.drawCentred(numeral, std::to_string(number), 72.0f, 64.0f, 26.0f, 1.9f);
    canvas.paint(numeral, straight(1.0f, 1.0f, 1.0f));

    Mask name(700, 100);
    float end = font.drawText(name, title, 124.0f, 58.0f, 34.0f, 1.5f);
    canvas.paint(name, straight(0.24f, 0.10f, 0.05f));

    Mask line(700, 100);
    std::string album = "EMBERFALL II  -  TRACK " + numberWord(number) + " OF " + numberWord(count);
    for (char& c : album) {
        if (c >= 'a' && c <= 'z') {
            c = static_cast<char>(c - 'a' + 'A');
        }
    }
    float lineEnd = font.drawText(line, album, 126.0f, 83.0f, 10.0f, 1.3f);
    float ruleEnd = 640.0f;
    float ruleStart = std::max(lineEnd, end) + 14.0f;
    if (ruleStart < ruleEnd - 20.0f) {
        line.addCapsule(ruleStart, 79.0f, ruleEnd - 10.0f, 79.0f, 0.6f);
        line.addPolygon({{ruleEnd, 74.0f}, {ruleEnd + 5.0f, 79.0f}, {ruleEnd, 84.0f}, {ruleEnd - 5.0f, 79.0f}});
    }
    canvas.paint(line, straight(0.55f, 0.28f, 0.13f));
    return canvas;
}

} // namespace vlo::demo
