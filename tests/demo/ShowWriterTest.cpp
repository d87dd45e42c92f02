#include <gtest/gtest.h>

#include <map>
#include <memory>
#include <set>

#include "DemoTestSupport.h"
#include "FileOutput.h"
#include "ShowWriter.h"

namespace vlo::demo {
namespace {

namespace fs = std::filesystem;
using test::le16;
using test::le32;

TEST(ShowWriterTest, SavePictureRefusesAlphaInFormatsWithoutIt)
{
    test::ScratchDir dir("save-picture");
    Canvas c(8, 4);
    std::string error;
    EXPECT_FALSE(savePicture(c, PictureFormat::Jpeg, Blend::Multiply, dir.file("a.jpg"), error));
    EXPECT_NE(error.find("a.jpg"), std::string::npos) << error;
    EXPECT_FALSE(savePicture(c, PictureFormat::Bmp, Blend::Normal, dir.file("a.bmp"), error));
    EXPECT_FALSE(fs::exists(dir.file("a.jpg")));
    ASSERT_TRUE(savePicture(c, PictureFormat::Png, Blend::Multiply, dir.file("m.png"), error)) << error;
    EXPECT_EQ(test::pngChannels(test::readBytes(dir.file("m.png"))), 4);
    ASSERT_TRUE(savePicture(c, PictureFormat::Png, Blend::Opaque, dir.file("o.png"), error)) << error;
    EXPECT_EQ(test::pngChannels(test::readBytes(dir.file("o.png"))), 3);
}

TEST(ShowWriterTest, GuiGraphicsHaveTheirKindsSize)
{
    StrokeFont font;
    for (const GuiGraphic& g : demoShowPlan().gui) {
        Canvas c = drawGuiGraphic(g, font);
        switch (g.kind) {
        case GuiGraphic::Kind::Button:
            EXPECT_EQ(c.width(), kButtonWidth) << g.path;
            EXPECT_EQ(c.height(), kButtonHeight) << g.path;
            break;
        case GuiGraphic::Kind::MenuItem:
            EXPECT_EQ(c.width(), kMenuItemWidth) << g.path;
            EXPECT_EQ(c.height(), kMenuItemHeight) << g.path;
            break;
        case GuiGraphic::Kind::MenuPanel:
            EXPECT_EQ(c.width(), kMenuPanelWidth) << g.path;
            EXPECT_EQ(c.height(), kMenuPanelHeight) << g.path;
            break;
        }
    }
}

// Writing the whole show takes seconds, and every test runs in a process of
// its own, so one test writes the show and checks it section by section.
class WrittenShowTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        dir = std::make_unique<test::ScratchDir>("written-show");
        staging = (dir->path() / "staging").string();
        show = (dir->path() / "show").string();
    }
    std::string entry(const std::string& name) const { return (fs::path(staging) / name).string(); }

    void checkStaging(const ShowPlan& plan);
    void checkPictures(const ShowPlan& plan);
    void checkMusic(const ShowPlan& plan);

    std::unique_ptr<test::ScratchDir> dir;
    std::string staging, show;
};

void WrittenShowTest::checkStaging(const ShowPlan& plan)
{
    std::set<std::string> expected = {"Vellumo.ini", plan.titlePath, plan.maskPath, plan.creditsPath};
    for (const TrackPlan& t : plan.tracks) {
        expected.insert(t.picturePath);
        expected.insert(t.captionPath);
    }
    for (const GuiGraphic& g : plan.gui) {
        expected.insert(g.path);
    }
    std::set<std::string> found;
    for (const auto& e : fs::recursive_directory_iterator(staging)) {
        if (e.is_regular_file()) {
            found.insert(fs::relative(e.path(), staging).generic_string());
        }
    }
    EXPECT_EQ(found, expected) << "everything in the staging folder is packed, so nothing else may be there";
    std::vector<uint8_t> ini = test::readBytes(entry("Vellumo.ini"));
    EXPECT_EQ(std::string(ini.begin(), ini.end()), configurationText(plan));
}

void WrittenShowTest::checkPictures(const ShowPlan& plan)
{
    PixelImage decoded;
    ASSERT_TRUE(test::decodePngRgba(test::readBytes(entry(plan.titlePath)), decoded));
    EXPECT_EQ(decoded.width, 700);
    EXPECT_EQ(decoded.height, 600);
    ASSERT_TRUE(test::decodeJpegRgb(test::readBytes(entry(plan.maskPath)), decoded));
    EXPECT_EQ(decoded.width, 700);
    EXPECT_EQ(decoded.height, 600);
    std::vector<uint8_t> tga = test::readBytes(entry(plan.creditsPath));
    ASSERT_GE(tga.size(), 18u);
    EXPECT_EQ(tga[2], 2);
    EXPECT_EQ(le16(tga, 12), 700u);
    EXPECT_EQ(tga[17] & 0x20, 0x20) << "stored top row first";
    EXPECT_EQ(tga.size(), 18u + 700u * 600u * 3u);

    for (const TrackPlan& t : plan.tracks) {
        std::vector<uint8_t> bytes = test::readBytes(entry(t.picturePath));
        ASSERT_GE(bytes.size(), 54u) << t.picturePath;
        switch (t.pictureFormat) {
        case PictureFormat::Bmp:
            EXPECT_EQ(bytes[0], 'B');
            EXPECT_EQ(le16(bytes, 28), 24u);
            EXPECT_EQ(bytes.size(), 54u + le32(bytes, 18) * le32(bytes, 22) * 3u)
                << "rows without padding: width x 3 is a multiple of 4";
            break;
        case PictureFormat::Tga:
            EXPECT_EQ(bytes[17] & 0x20, 0x20);
            break;
        case PictureFormat::Jpeg:
            EXPECT_TRUE(test::decodeJpegRgb(bytes, decoded));
            break;
        case PictureFormat::Png:
            EXPECT_TRUE(test::decodePngRgba(bytes, decoded));
            break;
        }
        EXPECT_EQ(test::pngChannels(test::readBytes(entry(t.captionPath))), 4) << t.captionPath;
    }
    for (const GuiGraphic& g : plan.gui) {
        EXPECT_EQ(test::pngChannels(test::readBytes(entry(g.path))), 4) << g.path;
    }
}

void WrittenShowTest::checkMusic(const ShowPlan& plan)
{
    for (const TrackPlan& t : plan.tracks) {
        std::vector<uint8_t> bytes = test::readBytes((fs::path(show) / t.musicPath).string());
        ASSERT_GT(bytes.size(), 44u) << t.musicPath;
        if (t.audioFormat == AudioFormat::Wav) {
            EXPECT_EQ(std::string(bytes.begin(), bytes.begin() + 4), "RIFF");
            double seconds = le32(bytes, 40) / (4.0 * 44100.0);
            EXPECT_GE(seconds, 20.0) << t.musicPath;
            EXPECT_LE(seconds, 60.0) << t.musicPath;
        } else {
            EXPECT_EQ(std::string(bytes.begin(), bytes.begin() + 4), "OggS") << t.musicPath;
        }
    }
}

TEST_F(WrittenShowTest, WritesACompleteShowAndTheSameBytesAgain)
{
    ShowPlan plan = demoShowPlan();
    std::string error;
    ASSERT_TRUE(writeDemoShow(plan, staging, show, nullptr, error)) << error;
    {
        SCOPED_TRACE("staging folder");
        checkStaging(plan);
    }
    {
        SCOPED_TRACE("pictures");
        checkPictures(plan);
    }
    {
        SCOPED_TRACE("music");
        checkMusic(plan);
    }

    std::map<std::string, std::vector<uint8_t>> before;
    for (const auto& e : fs::recursive_directory_iterator(dir->path())) {
        if (e.is_regular_file()) {
            before[e.path().string()] = test::readBytes(e.path().string());
        }
    }
    std::string stale = entry("gui/old_picture.png");
    ASSERT_TRUE(writeFileBytes(stale, {1, 2, 3}, error)) << error;
    ASSERT_TRUE(writeDemoShow(plan, staging, show, nullptr, error)) << error;
    EXPECT_FALSE(fs::exists(stale)) << "a file of an earlier run must not be packed";
    for (const auto& [path, bytes] : before) {
        EXPECT_EQ(test::readBytes(path), bytes) << path << " changed between two runs";
    }
}

TEST(ShowWriterStagingTest, MarksItsFolderFromOutsideAndClearsOnlyThat)
{
    test::ScratchDir dir("staging-marker");
    std::string error;
    // Given with a trailing separator, the folder still gets its marker beside it.
    ASSERT_TRUE(prepareStagingFolder(dir.file("stage") + "/", error)) << error;
    EXPECT_TRUE(fs::is_directory(dir.path() / "stage"));
    EXPECT_TRUE(fs::is_empty(dir.path() / "stage")) << "the marker must not be packed with the show";
    EXPECT_TRUE(fs::exists(dir.path() / "stage.vellumo-demo-staging"));

    ASSERT_TRUE(writeFileBytes(dir.file("stage/sub/old.png"), {1}, error)) << error;
    ASSERT_TRUE(prepareStagingFolder(dir.file("stage"), error)) << error;
    EXPECT_TRUE(fs::is_empty(dir.path() / "stage")) << "a marked folder is cleared";

    ASSERT_TRUE(writeFileBytes(dir.file("other/keep.txt"), {1}, error)) << error;
    EXPECT_FALSE(prepareStagingFolder(dir.file("other"), error));
    EXPECT_NE(error.find("other"), std::string::npos) << error;
    EXPECT_TRUE(fs::exists(dir.file("other/keep.txt")));
}

TEST(ShowWriterRefusalTest, LeavesForeignFoldersAlone)
{
    test::ScratchDir dir("foreign-staging");
    std::string precious = dir.file("staging/notes.txt");
    fs::create_directories(dir.path() / "staging");
    {
        std::ofstream(precious) << "keep me";
    }
    std::string error;
    EXPECT_FALSE(writeDemoShow(demoShowPlan(), dir.file("staging"), dir.file("show"), nullptr, error));
    EXPECT_NE(error.find("refusing"), std::string::npos) << error;
    EXPECT_TRUE(fs::exists(precious));
}

} // namespace
} // namespace vlo::demo
