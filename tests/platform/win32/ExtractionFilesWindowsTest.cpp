#include "platform/ExtractionFiles.h"

#include <filesystem>
#include <string>

#include <gtest/gtest.h>

#include "support/ScratchDir.h"

namespace vlo {
namespace {

namespace fs = std::filesystem;
using test::readFile;
using test::ScratchDir;

// Creates a file through the module with `bytes` in it; returns where it went.
std::string createWith(const std::string& wanted, const std::string& bytes)
{
    std::string path;
    std::FILE* out = ExtractionFiles::create(wanted, path);
    if (out == nullptr)
        return std::string();
    std::fwrite(bytes.data(), 1, bytes.size(), out);
    std::fclose(out);
    return path;
}

TEST(ExtractionFilesWindows, OwnFilesAreReplacedAndDeletedOthersNeverTouched)
{
    ScratchDir show("extraction-show");
    const std::string wanted = show.path("data.zuo.temp.png");
    EXPECT_EQ(wanted, createWith(wanted, "first"));
    EXPECT_EQ(wanted, createWith(wanted, "second")) << "this run's own file is taken over";
    EXPECT_EQ("second", readFile(wanted));
    ExtractionFiles::remove(wanted);
    EXPECT_FALSE(fs::exists(wanted));

    // Someone else's file under the wanted name: the extraction goes to the
    // private folder under %TEMP%, and neither create nor remove touches it.
    show.write("data.zuo.temp.ini", "the user's");
    const std::string taken = show.path("data.zuo.temp.ini");
    const std::string moved = createWith(taken, "config");
    ASSERT_FALSE(moved.empty());
    EXPECT_NE(taken, moved);
    EXPECT_EQ(fs::path(ExtractionFiles::privateFolder()) / "data.zuo.temp.ini", fs::path(moved));
    EXPECT_EQ(
        (fs::temp_directory_path() / "x").parent_path(), fs::path(ExtractionFiles::privateFolder()).parent_path());
    EXPECT_EQ("config", readFile(moved));
    ExtractionFiles::remove(taken);
    EXPECT_EQ("the user's", readFile(taken));

    // A file replaced behind the module's back (moved away, as to the recycle
    // bin) is not its own any more.
    const std::string replaced = createWith(show.path("other.png.temp"), "ours");
    fs::rename(replaced, replaced + ".old");
    show.write("other.png.temp", "theirs");
    ASSERT_TRUE(fs::exists(replaced)) << "the name could not be taken again";
    ExtractionFiles::remove(replaced);
    EXPECT_EQ("theirs", readFile(replaced));

    const std::string folder = ExtractionFiles::privateFolder();
    ExtractionFiles::removeAll();
    EXPECT_FALSE(fs::exists(moved));
    EXPECT_FALSE(fs::exists(folder)) << "the private folder stays behind";
    EXPECT_EQ("", ExtractionFiles::privateFolder());
}

} // namespace
} // namespace vlo
