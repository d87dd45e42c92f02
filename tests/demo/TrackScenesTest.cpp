#include <gtest/gtest.h>

#include <algorithm>

#include "ShowWriter.h"
#include "TrackScenes.h"

namespace vlo::demo {
namespace {

TEST(TrackScenesTest, EveryPictureFitsBesideTheEmblemAndAboveTheButtons)
{
    std::vector<std::vector<uint8_t>> pictures;
    for (int i = 0; i < 4; ++i) {
        Canvas c = drawTrackPicture(i);
        EXPECT_EQ(c.width(), kTrackPictureWidth);
        EXPECT_EQ(c.height(), kTrackPictureHeight);
        // Shown at (0, 105): it must stay left of x = 420 and above y = 445.
        EXPECT_LE(c.width(), 420) << "picture " << i;
        EXPECT_LE(105 + c.height(), 445) << "picture " << i;
        // Rows of a 24-bit bitmap are read unpadded, so width x 3 must be a
        // multiple of 4 for any of them to be saved as BMP.
        EXPECT_EQ(c.width() * 3 % 4, 0);
        for (int y = 0; y < c.height(); y += 5) {
            for (int x = 0; x < c.width(); x += 5) {
                ASSERT_NEAR(c.at(x, y).a, 1.0f, 1e-4f) << "picture " << i << " at " << x << "," << y;
            }
        }
        // The cream mount round the edge.
        EXPECT_GT(c.at(2, 2).r, 0.9f);
        EXPECT_GT(c.at(c.width() - 3, c.height() - 3).g, 0.85f);
        pictures.push_back(c.toRgb8());
    }
    for (size_t i = 0; i < pictures.size(); ++i) {
        for (size_t j = i + 1; j < pictures.size(); ++j) {
            EXPECT_NE(pictures[i], pictures[j]);
        }
    }
}

TEST(TrackScenesTest, PinesAreTallerThanWide)
{
    Mask m(100, 200);
    addPine(m, 50.0f, 190.0f, 150.0f);
    int top = 200, left = 100, right = -1;
    for (int y = 0; y < 200; ++y) {
        for (int x = 0; x < 100; ++x) {
            if (m.at(x, y) > 0.5f) {
                top = std::min(top, y);
                left = std::min(left, x);
                right = std::max(right, x);
            }
        }
    }
    EXPECT_NEAR(top, 190 - 153, 3) << "the tip stands about the given height above the ground";
    EXPECT_LT(right - left, 150 / 2);
    EXPECT_NEAR((left + right) / 2.0, 50.0, 1.5) << "centred on x";
}

} // namespace
} // namespace vlo::demo
