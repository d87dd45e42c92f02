#include <gtest/gtest.h>

#include <algorithm>

#include "ShowPictures.h"

namespace vlo::demo {
namespace {

float luminance(const Rgba& p)
{
    return 0.2126f * p.r + 0.7152f * p.g + 0.0722f * p.b;
}

float meanLuminance(const Canvas& c, int x0, int y0, int x1, int y1)
{
    double sum = 0.0;
    for (int y = y0; y < y1; ++y) {
        for (int x = x0; x < x1; ++x) {
            sum += luminance(c.at(x, y));
        }
    }
    return static_cast<float>(sum / ((x1 - x0) * (y1 - y0)));
}

float maxLuminance(const Canvas& c, int x0, int y0, int x1, int y1)
{
    float best = 0.0f;
    for (int y = y0; y < y1; ++y) {
        for (int x = x0; x < x1; ++x) {
            best = std::max(best, luminance(c.at(x, y)));
        }
    }
    return best;
}

void expectOpaqueWindowSize(const Canvas& c, const char* what)
{
    ASSERT_EQ(c.width(), 700) << what;
    ASSERT_EQ(c.height(), 600) << what;
    for (int y = 0; y < 600; y += 7) {
        for (int x = 0; x < 700; x += 7) {
            ASSERT_NEAR(c.at(x, y).a, 1.0f, 1e-4f) << what << " must be opaque at " << x << "," << y;
        }
    }
}

class ShowPicturesTest : public ::testing::Test {
protected:
    StrokeFont font;
};

TEST_F(ShowPicturesTest, TitleIsASunsetWithGlowingLettering)
{
    Canvas title = drawTitlePicture(font);
    expectOpaqueWindowSize(title, "title");
    EXPECT_LT(meanLuminance(title, 0, 0, 700, 40), meanLuminance(title, 200, 360, 500, 400))
        << "the sky darkens upwards from the horizon";
    EXPECT_GT(maxLuminance(title, 40, 140, 660, 200), 0.85f) << "the album name is bright";
    EXPECT_LT(meanLuminance(title, 0, 560, 700, 600), 0.25f) << "dark hills in front";
}

TEST_F(ShowPicturesTest, BackdropIsLightWhereThingsMultiplyOntoIt)
{
    Canvas backdrop = drawBackdropPicture(font);
    expectOpaqueWindowSize(backdrop, "backdrop");
    // The caption banner covers the top 100 rows; the buttons rest from
    // (135, 485) to the right. Multiplied graphics need a light ground there.
    EXPECT_GT(meanLuminance(backdrop, 20, 10, 680, 95), 0.85f);
    EXPECT_GT(meanLuminance(backdrop, 135, 485, 640, 580), 0.85f);
    // The emblem and the hints on the right carry darker marks.
    EXPECT_LT(meanLuminance(backdrop, 470, 150, 640, 320), 0.75f);
}

TEST_F(ShowPicturesTest, CreditsListTheTracks)
{
    std::vector<std::string> titles = {"Kindling", "Ashen Road", "Ember Tide", "Last Light"};
    Canvas credits = drawCreditsPicture(font, titles);
    expectOpaqueWindowSize(credits, "credits");
    EXPECT_GT(maxLuminance(credits, 100, 80, 600, 115), 0.85f) << "album name";
    // One bright line of lettering per track, 30 px apart from y = 222.
    for (size_t i = 0; i < titles.size(); ++i) {
        int baseline = 222 + 30 * static_cast<int>(i);
        EXPECT_GT(maxLuminance(credits, 200, baseline - 16, 500, baseline), 0.8f) << "track line " << i;
    }
    Canvas shorter = drawCreditsPicture(font, {"Kindling"});
    EXPECT_LT(maxLuminance(shorter, 200, 236, 500, 252), 0.5f) << "no second line for a one-track show";
}

} // namespace
} // namespace vlo::demo
