#include <gtest/gtest.h>

#include <algorithm>
#include <set>
#include <sstream>

#include "ShowPlan.h"

namespace vlo::demo {
namespace {

std::vector<std::string> tokens(const std::string& text)
{
    std::istringstream in(text);
    std::vector<std::string> out;
    std::string t;
    while (in >> t) {
        out.push_back(t);
    }
    return out;
}

bool endsWith(const std::string& s, const std::string& suffix)
{
    return s.size() >= suffix.size() && s.compare(s.size() - suffix.size(), suffix.size(), suffix) == 0;
}

TEST(ShowPlanTest, ConfigurationFollowsTheTokenGrammar)
{
    ShowPlan plan = demoShowPlan();
    std::vector<std::string> t = tokens(configurationText(plan));
    ASSERT_GE(t.size(), 12u);
    size_t i = 0;
    ASSERT_EQ(t[i++], "[vloData]");
    std::set<std::string> keys;
    while (t[i] != "[end]") {
        std::string key = t[i++];
        ASSERT_TRUE(key == "title:" || key == "mask:" || key == "credits:" || key == "fade:") << key;
        EXPECT_TRUE(keys.insert(key).second) << "key repeated: " << key;
        ASSERT_LT(i, t.size());
        std::string value = t[i++];
        if (key == "title:") {
            EXPECT_EQ(value, plan.titlePath);
        } else if (key == "mask:") {
            EXPECT_EQ(value, plan.maskPath);
        } else if (key == "credits:") {
            EXPECT_EQ(value, plan.creditsPath);
        }
    }
    EXPECT_EQ(keys.size(), 4u);
    ++i;
    ASSERT_EQ(t[i++], "[vloMusic]");
    for (const TrackPlan& track : plan.tracks) {
        ASSERT_LE(i + 3, t.size());
        EXPECT_EQ(t[i++], track.musicPath);
        EXPECT_EQ(t[i++], track.picturePath);
        EXPECT_EQ(t[i++], track.captionPath);
    }
    ASSERT_EQ(i + 1, t.size()) << "the music section must be last and closed by [end] alone";
    EXPECT_EQ(t[i], "[end]");
}

TEST(ShowPlanTest, HasEveryGuiGraphicTheScreenLoadsOnce)
{
    const std::vector<std::string> required = {"gui/play_on.png", "gui/play_off.png", "gui/pause_on.png",
        "gui/pause_off.png", "gui/stop_on.png", "gui/stop_off.png", "gui/prev_on.png", "gui/prev_off.png",
        "gui/next_on.png", "gui/next_off.png", "gui/exit_off.png", "gui/exit_on.png", "gui/minimize_off.png",
        "gui/minimize_on.png", "gui/credits_off.png", "gui/credits_on.png", "gui/polygon.png"};
    std::vector<std::string> names;
    for (const GuiGraphic& g : demoShowPlan().gui) {
        names.push_back(g.path);
        EXPECT_EQ(endsWith(g.path, "_on.png"), g.pressed) << g.path << ": _on means pressed";
    }
    std::vector<std::string> sortedNames = names, sortedRequired = required;
    std::sort(sortedNames.begin(), sortedNames.end());
    std::sort(sortedRequired.begin(), sortedRequired.end());
    EXPECT_EQ(sortedNames, sortedRequired);
}

TEST(ShowPlanTest, UsesAllFourPictureFormatsAndTwoMusicFormats)
{
    ShowPlan plan = demoShowPlan();
    std::set<std::string> pictures = {"png", "jpg", "tga"}; // title, mask, credits
    EXPECT_TRUE(endsWith(plan.titlePath, ".png"));
    EXPECT_TRUE(endsWith(plan.maskPath, ".jpg"));
    EXPECT_TRUE(endsWith(plan.creditsPath, ".tga"));
    std::set<std::string> music;
    ASSERT_GE(plan.tracks.size(), 3u);
    for (const TrackPlan& t : plan.tracks) {
        pictures.insert(extensionOf(t.pictureFormat));
        music.insert(extensionOf(t.audioFormat));
        EXPECT_TRUE(endsWith(t.picturePath, std::string(".") + extensionOf(t.pictureFormat))) << t.picturePath;
        EXPECT_TRUE(endsWith(t.musicPath, std::string(".") + extensionOf(t.audioFormat))) << t.musicPath;
        EXPECT_TRUE(endsWith(t.captionPath, ".png")) << t.captionPath;
    }
    EXPECT_EQ(pictures, (std::set<std::string>{"png", "jpg", "bmp", "tga"}));
    EXPECT_EQ(music, (std::set<std::string>{"ogg", "wav"}));
}

TEST(ShowPlanTest, PathsAreSingleTokensTheArchiveCanName)
{
    ShowPlan plan = demoShowPlan();
    std::vector<std::string> paths = {plan.titlePath, plan.maskPath, plan.creditsPath};
    for (const TrackPlan& t : plan.tracks) {
        paths.insert(paths.end(), {t.musicPath, t.picturePath, t.captionPath});
    }
    for (const GuiGraphic& g : plan.gui) {
        paths.push_back(g.path);
    }
    std::set<std::string> unique(paths.begin(), paths.end());
    EXPECT_EQ(unique.size(), paths.size()) << "two things share a path";
    for (const std::string& p : paths) {
        EXPECT_FALSE(p.empty());
        EXPECT_LE(p.size(), 255u) << p;
        EXPECT_EQ(p.find_first_of(" \t\r\n\v\f\\"), std::string::npos) << "white space or backslash in " << p;
        EXPECT_NE(p[0], '/') << "absolute path " << p;
        // The extension must not contain a folder separator.
        size_t dot = p.rfind('.');
        ASSERT_NE(dot, std::string::npos) << p;
        EXPECT_EQ(p.find('/', dot), std::string::npos) << p;
    }
}

} // namespace
} // namespace vlo::demo
