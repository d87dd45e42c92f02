#include "ShowPictures.h"

#include "Palette.h"
#include "Scenery.h"

namespace vlo::demo {

Canvas drawCreditsPicture(const StrokeFont& font, const std::vector<std::string>& trackTitles)
{
    Canvas canvas(700, 600);
    paintVerticalGradient(canvas,
        {{0.0f, straight(0.06f, 0.03f, 0.09f)}, {380.0f, straight(0.16f, 0.06f, 0.15f)},
            {600.0f, straight(0.42f, 0.12f, 0.14f)}});
    addGlow(canvas, 350.0f, 640.0f, 420.0f, straight(0.55f, 0.18f, 0.05f));
    Rng rng(0xC4ED);
    paintStars(canvas, rng, 60, 300.0f, straight(1.0f, 0.9f, 0.85f, 0.7f));
    paintRidge(
        canvas, {585.0f, 50.0f, 150.0f, 1.0f, 3, 301}, straight(0.09f, 0.03f, 0.07f), straight(0.05f, 0.02f, 0.04f));
    paintEmbers(canvas, rng, 40, 30.0f, 380.0f, 670.0f, 590.0f);

    Mask title(700, 600);
    font.drawCentred(title, "EMBERFALL II", 350.0f, 112.0f, 40.0f, 1.5f);
    paintGlowingText(
        canvas, title, 112.0f, 40.0f, straight(1.0f, 0.96f, 0.85f), palette::gold, straight(0.9f, 0.35f, 0.1f), 8);

    Mask rule(700, 600);
    rule.addCapsule(250.0f, 138.0f, 450.0f, 138.0f, 0.7f);
    canvas.paint(rule, scaled(palette::gold, 0.7f));

    Mask headings(700, 600);
    font.drawCentred(headings, "THE TRACKS", 350.0f, 182.0f, 12.0f, 1.4f);
    float y = 182.0f + 40.0f;
    font.drawCentred(
        headings, "MUSIC, PICTURES AND LETTERING", 350.0f, y + 30.0f * trackTitles.size() + 30.0f, 12.0f, 1.4f);
    canvas.paint(headings, palette::flame);

    Mask lines(700, 600);
    for (size_t i = 0; i < trackTitles.size(); ++i) {
        font.drawCentred(lines, std::to_string(i + 1) + "  " + trackTitles[i], 350.0f, y, 17.0f, 1.2f);
        y += 30.0f;
    }
    y += 30.0f + 36.0f;
    font.drawCentred(lines, "made from nothing but numbers", 350.0f, y, 15.0f, 1.2f);
    font.drawCentred(lines, "by the Vellumo demo generator", 350.0f, y + 26.0f, 15.0f, 1.2f);
    canvas.paint(lines, straight(1.0f, 0.92f, 0.82f));

    Mask thanks(700, 600);
    font.drawCentred(thanks, "Thank you for listening", 350.0f, 508.0f, 22.0f, 1.4f);
    paintGlowingText(canvas, thanks, 508.0f, 22.0f, palette::gold, palette::flame, straight(0.6f, 0.2f, 0.05f), 6);
    return canvas;
}

} // namespace vlo::demo
