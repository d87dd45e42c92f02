#include "content/ShowConfig.h"

#include <memory>

#include <gtest/gtest.h>

#include "content/ArchiveFS.h"
#include "content/ConfigListener.h"
#include "support/ArchiveBytes.h"
#include "support/ScratchDir.h"

namespace vlo {
namespace {

using test::archiveOf;
using test::ScratchDir;

class ShowConfigTest : public ::testing::Test {
protected:
    void TearDown() override { ArchiveFS::shutdown(); }

    // Loads the text as a loose Vellumo.ini (the archive is not open, so the
    // name reaches the file on disk).
    std::unique_ptr<ShowConfig> load(const std::string& text)
    {
        dir.write("Vellumo.ini", text);
        return std::make_unique<ShowConfig>(dir.path("Vellumo.ini").c_str());
    }
    bool loads(const std::string& text) { return load(text)->loadFailed == 0; }

    ScratchDir dir{"showconfig"};
};

// Tracks as "file|picture|caption;" for compact comparison.
std::string tracksOf(const ShowConfig& config)
{
    EXPECT_EQ(config.tracks.size(), config.trackCaptions.size()) << "tracks and captions must stay parallel";
    std::string text;
    for (size_t i = 0; i < config.tracks.size() && i < config.trackCaptions.size(); ++i)
        text += config.tracks[i].file + "|" + config.tracks[i].picture + "|" + config.trackCaptions[i] + ";";
    return text;
}

const char* const wellFormed = "[vloData]\n"
                               "title:   pictures/title.png\n"
                               "mask:    pictures/background.jpg\n"
                               "credits: pictures/credits.bmp\n"
                               "fade:    none\n"
                               "[end]\n"
                               "[vloMusic]\n"
                               "music/01.ogg  pictures/dawn.png  captions/dawn.png\n"
                               "music/02.wav  pictures/dusk.tga  captions/dusk.png\n"
                               "[end]\n";

TEST_F(ShowConfigTest, LoadsAWellFormedFile)
{
    const auto config = load(wellFormed);
    EXPECT_EQ(0, config->loadFailed);
    EXPECT_EQ("pictures/title.png", config->title);
    EXPECT_EQ("pictures/background.jpg", config->mask);
    EXPECT_EQ("pictures/credits.bmp", config->credits);
    EXPECT_EQ("none", config->fade);
    EXPECT_EQ("music/01.ogg|pictures/dawn.png|captions/dawn.png;music/02.wav|pictures/dusk.tga|captions/dusk.png;",
        tracksOf(*config));
}

TEST_F(ShowConfigTest, LayoutOfTokensDoesNotMatter)
{
    const auto oneLine = load("[vloData] title: t.png mask: m.jpg credits: c.bmp fade: x [end] "
                              "[vloMusic] a.ogg a.png ac.png b.ogg b.png bc.png [end]");
    const auto scattered = load("\r\n\t[vloData]\r\n title:\v t.png\fmask:\n\n\nm.jpg credits:\tc.bmp fade:\r\nx\n"
                                "[end] [vloMusic] a.ogg\na.png\nac.png\nb.ogg b.png\tbc.png\r\n[end]\r\n");
    for (const ShowConfig* config : {oneLine.get(), scattered.get()}) {
        EXPECT_EQ(0, config->loadFailed);
        EXPECT_EQ("t.png", config->title);
        EXPECT_EQ("m.jpg", config->mask);
        EXPECT_EQ("c.bmp", config->credits);
        EXPECT_EQ("x", config->fade);
        EXPECT_EQ("a.ogg|a.png|ac.png;b.ogg|b.png|bc.png;", tracksOf(*config));
    }
}

TEST_F(ShowConfigTest, FilesWithoutASectionFail)
{
    EXPECT_FALSE(loads("")) << "empty file";
    EXPECT_FALSE(loads(" \t\r\n\v\f \n")) << "white space only";
    EXPECT_FALSE(loads("[vlodata]\n[end]\n")) << "header with wrong case";
    EXPECT_FALSE(loads("title: t.png\n")) << "key without a section";
}

TEST_F(ShowConfigTest, EmptyDataSectionLoads)
{
    for (const char* text : {"[vloData]\n[end]\n", "[vloData] [end]", "[vloData]\n[end]\n[vloData]\n[end]\n"}) {
        const auto config = load(text);
        EXPECT_EQ(0, config->loadFailed) << "file \"" << text << "\"";
        EXPECT_EQ("", config->title + config->mask + config->credits + config->fade);
        EXPECT_TRUE(config->tracks.empty());
    }
}

TEST_F(ShowConfigTest, UnknownKeysFailAndKeepEarlierValues)
{
    EXPECT_FALSE(loads("[vloData]\ntitle t.png\n[end]\n")) << "key without its colon";
    EXPECT_FALSE(loads("[vloData]\nTitle: t.png\n[end]\n")) << "key with a capital";
    EXPECT_FALSE(loads("[vloData]\n[END]\n")) << "\"[END]\" is not \"[end]\"";

    const auto config = load("[vloData]\ntitle: t.png\nbogus: x\nmask: m.png\n[end]\n");
    EXPECT_EQ(1, config->loadFailed);
    EXPECT_EQ("t.png", config->title) << "a value read before the error is kept";
    EXPECT_EQ("", config->mask) << "nothing after the error is read";
}

TEST_F(ShowConfigTest, MusicSectionMustComeLast)
{
    const auto config = load("[vloMusic]\na.ogg a.png ac.png\n[end]\n[vloData]\ntitle: t.png\n[end]\n");
    EXPECT_EQ(1, config->loadFailed) << "the data header after [end] is swallowed";
    EXPECT_EQ("a.ogg|a.png|ac.png;", tracksOf(*config));
    EXPECT_EQ("", config->title);
}

TEST_F(ShowConfigTest, RepeatedKeysAndSectionsKeepTheLastValue)
{
    const auto config = load("[vloData] title: one.png title: two.png mask: m1 [end]\n"
                             "[vloData] mask: m2 [end]\n[vloMusic] [end]\n");
    EXPECT_EQ(0, config->loadFailed);
    EXPECT_EQ("two.png", config->title);
    EXPECT_EQ("m2", config->mask) << "a later data section replaces earlier values";
    EXPECT_TRUE(config->tracks.empty());
}

TEST_F(ShowConfigTest, ValueTokensAreStoredWhateverTheySay)
{
    const auto config = load("[vloData]\ntitle: [end]\nmask: title:\n[end]\n");
    EXPECT_EQ(0, config->loadFailed);
    EXPECT_EQ("[end]", config->title) << "the section goes on after the value \"[end]\"";
    EXPECT_EQ("title:", config->mask);
}

TEST_F(ShowConfigTest, EndOfFileClosesADataSectionAfterACompletePair)
{
    for (const char* text :
        {"[vloData]\ntitle: t.png", "[vloData]\ntitle: t.png\n", "[vloData] title: t.png \n\t \n"}) {
        const auto config = load(text);
        EXPECT_EQ(0, config->loadFailed) << "file \"" << text << "\"";
        EXPECT_EQ("t.png", config->title) << "file \"" << text << "\"";
    }
    EXPECT_FALSE(loads("[vloData]\n")) << "header followed by a line break only";
    EXPECT_FALSE(loads("[vloData] \t\n \n")) << "header followed by white space only";
}

TEST_F(ShowConfigTest, EndIsRecognisedOnlyAsTheFirstTokenOfAMusicLine)
{
    const auto config = load("[vloMusic]\n"
                             "a.ogg [end] ac.png\n"
                             "b.ogg b.png [end]\n"
                             "[end] discarded\n");
    EXPECT_EQ(0, config->loadFailed);
    EXPECT_EQ("a.ogg|[end]|ac.png;b.ogg|b.png|[end];", tracksOf(*config));
}

TEST_F(ShowConfigTest, EndOfFileClosesAMusicSectionWithCompleteLinesOnly)
{
    const std::pair<const char*, const char*> cases[] = {
        {"[vloMusic]\na.ogg a.png ac.png", "a.ogg|a.png|ac.png;"},
        {"[vloMusic]\na.ogg a.png ac.png\n", "a.ogg|a.png|ac.png;"},
        {"[vloMusic]\na.ogg a.png ac.png\n \t\n\n", "a.ogg|a.png|ac.png;"},
        {"[vloMusic]\n", ""},
        {"[vloMusic]", ""},
        {"[vloMusic]\na.ogg a.png ac.png\nb.ogg", "a.ogg|a.png|ac.png;"},
        {"[vloMusic]\na.ogg a.png ac.png\nb.ogg b.png\n", "a.ogg|a.png|ac.png;"},
        {"[vloMusic]\na.ogg a.png ac.png\nb.ogg b.png bc.png c.ogg\n", "a.ogg|a.png|ac.png;b.ogg|b.png|bc.png;"},
        {"[vloMusic]\na.ogg a.png ac.png\n[end]", "a.ogg|a.png|ac.png;"},
    };
    for (const auto& [text, expected] : cases) {
        const auto config = load(text);
        EXPECT_EQ(0, config->loadFailed) << "file \"" << text << "\"";
        EXPECT_EQ(expected, tracksOf(*config)) << "file \"" << text << "\"";
    }
}

TEST_F(ShowConfigTest, MissingFileFails)
{
    const ShowConfig config(dir.path("absent.ini").c_str());
    EXPECT_EQ(1, config.loadFailed);
}

TEST_F(ShowConfigTest, LoadsFromTheArchiveAndRemovesTheExtraction)
{
    dir.write("data.zuo", archiveOf({{"gui/x.png", "png"}, {"Vellumo.ini", wellFormed}}));
    ASSERT_TRUE(ArchiveFS::init(dir.path("data.zuo")));
    {
        const ShowConfig config("Vellumo.ini");
        EXPECT_EQ(0, config.loadFailed);
        EXPECT_EQ("pictures/title.png", config.title);
        EXPECT_EQ(2u, config.tracks.size());
    }
    EXPECT_EQ("data.zuo ", dir.listing()) << "the extraction file must be removed after the load";

    const ShowConfig missing("Other.ini");
    EXPECT_EQ(1, missing.loadFailed) << "a name the archive does not hold reads as an empty file";
    EXPECT_EQ("data.zuo ", dir.listing());
}

TEST_F(ShowConfigTest, AConfigurationThatFailsLeavesNoExtractionFile)
{
    dir.write("data.zuo",
        archiveOf({{"Vellumo.ini", "[notASection]\n"}, {"Broken.ini", "[vloData]\nwhat: x\n"}, {"Empty.ini", ""}}));
    ASSERT_TRUE(ArchiveFS::init(dir.path("data.zuo")));
    for (const char* name : {"Vellumo.ini", "Broken.ini", "Empty.ini", "Absent.ini", ""}) {
        const ShowConfig config(name);
        EXPECT_EQ(1, config.loadFailed) << "'" << name << "'";
        EXPECT_EQ("data.zuo ", dir.listing()) << "left behind by the load of '" << name << "'";
    }
}

// Where and why a file is refused: the token the reading stopped at, with
// its line and column counted in bytes from 1 (a tab or a carriage return is
// one column).
TEST_F(ShowConfigTest, ARefusedFileNamesTheTokenItStoppedAtAndItsPlace)
{
    using Reason = ConfigRefusal::Reason;
    const struct {
        const char* text;
        Reason reason;
        const char* token;
        int line;
        int column;
    } cases[] = {
        {"", Reason::NoSection, "", 0, 0},
        {" \n\t\n", Reason::NoSection, "", 0, 0},
        {"[vloData] [end]\r\n\t [vlodata]\n", Reason::NotASection, "[vlodata]", 2, 3},
        {"[vloData]\ntitle: t.png\n\tTitle: t.png\n[end]\n", Reason::UnknownKey, "Title:", 3, 2},
        {"[vloData]\ntitle: t.png\n[vloMusic]\n", Reason::UnknownKey, "[vloMusic]", 3, 1},
        {"[vloData] [end]\n  [vloData]\n", Reason::NoKey, "[vloData]", 2, 3},
        // The music section's [end] swallows the next header.
        {"[vloMusic]\na.ogg a.png ac.png\n[end]\n[vloData]\ntitle: t.png\n", Reason::NotASection, "title:", 5, 1},
    };
    for (const auto& expected : cases) {
        const auto config = load(expected.text);
        EXPECT_EQ(1, config->loadFailed) << "file \"" << expected.text << "\"";
        const ConfigRefusal& refusal = config->refusal;
        EXPECT_EQ(int(expected.reason), int(refusal.reason)) << "file \"" << expected.text << "\"";
        EXPECT_EQ(expected.token, refusal.token.text) << "file \"" << expected.text << "\"";
        EXPECT_EQ(expected.line, refusal.token.place.line) << "file \"" << expected.text << "\"";
        EXPECT_EQ(expected.column, refusal.token.place.column) << "file \"" << expected.text << "\"";
    }

    EXPECT_EQ(int(Reason::Accepted), int(load(wellFormed)->refusal.reason));
    const ShowConfig missing(dir.path("absent.ini").c_str());
    EXPECT_EQ(int(Reason::CannotOpen), int(missing.refusal.reason));
}

// A listener hears what the reading met, in file order, with places; the
// values are the viewer's all the same.
TEST_F(ShowConfigTest, AListenerHearsEveryTokenTheReadingMeetsInFileOrder)
{
    struct Recorder : ConfigListener {
        std::string heard;
        void note(const std::string& what, const ConfigToken& token)
        {
            heard += what + " " + token.text + "@" + std::to_string(token.place.line) + ":"
                + std::to_string(token.place.column) + "; ";
        }
        void sectionOpened(const ConfigToken& header) override { note("open", header); }
        void sectionClosed(const ConfigToken& header, bool closed) override
        {
            note(closed ? "closed" : "unclosed", header);
        }
        void valueRead(const ConfigToken& key, const ConfigToken& value) override { note(key.text, value); }
        void valueMissing(const ConfigToken& key) override { note("no value", key); }
        void trackRead(const ConfigToken& file, const ConfigToken&, const ConfigToken& caption) override
        {
            note("track", file);
            note("caption", caption);
        }
        void trackCut(const ConfigToken& file, int tokens) override { note("cut" + std::to_string(tokens), file); }
        void tokenDiscarded(const ConfigToken& token) override { note("discarded", token); }
    };

    dir.write("Vellumo.ini", "[vloData] title: t.png\n[end]\n[vloMusic]\na.ogg a.png\nac.png\n[end] x\n");
    Recorder recorder;
    const ShowConfig config(dir.path("Vellumo.ini").c_str(), &recorder);
    EXPECT_EQ(0, config.loadFailed);
    EXPECT_EQ("t.png", config.title);
    EXPECT_EQ("open [vloData]@1:1; title: t.png@1:18; closed [vloData]@1:1; open [vloMusic]@3:1; track a.ogg@4:1; "
              "caption ac.png@5:1; discarded x@6:7; closed [vloMusic]@3:1; ",
        recorder.heard);

    dir.write("Vellumo.ini", "[vloData] title: t.png mask:\n[vloMusic] a.ogg a.png ac.png b.ogg b.png");
    Recorder cut;
    const ShowConfig open(dir.path("Vellumo.ini").c_str(), &cut);
    EXPECT_EQ("open [vloData]@1:1; title: t.png@1:18; mask: [vloMusic]@2:1; ", cut.heard)
        << "a value is whatever token follows its key";
    EXPECT_EQ("a.ogg", open.refusal.token.text) << "the data section goes on after the value";

    dir.write("Vellumo.ini", "[vloData] title: t.png mask:\n");
    Recorder unclosed;
    EXPECT_EQ(0, ShowConfig(dir.path("Vellumo.ini").c_str(), &unclosed).loadFailed);
    EXPECT_EQ("open [vloData]@1:1; title: t.png@1:18; no value mask:@1:24; unclosed [vloData]@1:1; ", unclosed.heard);

    dir.write("Vellumo.ini", "[vloMusic] a.ogg a.png ac.png b.ogg b.png");
    Recorder music;
    EXPECT_EQ(0, ShowConfig(dir.path("Vellumo.ini").c_str(), &music).loadFailed);
    EXPECT_EQ("open [vloMusic]@1:1; track a.ogg@1:12; caption ac.png@1:24; cut2 b.ogg@1:31; unclosed [vloMusic]@1:1; ",
        music.heard);
}

} // namespace
} // namespace vlo
