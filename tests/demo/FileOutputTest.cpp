#include <gtest/gtest.h>

#include "DemoTestSupport.h"
#include "FileOutput.h"

namespace vlo::demo {
namespace {

TEST(FileOutputTest, CreatesFoldersAndWritesExactBytes)
{
    test::ScratchDir dir("file-output");
    std::string path = dir.file("a/b/c.bin");
    std::string error;
    std::vector<uint8_t> bytes = {0, 1, 2, 255, 10, 13};
    ASSERT_TRUE(writeFileBytes(path, bytes, error)) << error;
    EXPECT_EQ(test::readBytes(path), bytes);
    ASSERT_TRUE(writeFileText(dir.file("t.ini"), "[end]\n", error)) << error;
    EXPECT_EQ(test::readBytes(dir.file("t.ini")), (std::vector<uint8_t>{'[', 'e', 'n', 'd', ']', '\n'}));
}

TEST(FileOutputTest, OverwritesAndWritesEmptyFiles)
{
    test::ScratchDir dir("file-overwrite");
    std::string error;
    ASSERT_TRUE(writeFileBytes(dir.file("x"), {1, 2, 3}, error));
    ASSERT_TRUE(writeFileBytes(dir.file("x"), {}, error)) << error;
    EXPECT_TRUE(test::readBytes(dir.file("x")).empty());
}

TEST(FileOutputTest, ReportsWhatCannotBeWritten)
{
    test::ScratchDir dir("file-errors");
    std::string error;
    ASSERT_TRUE(writeFileBytes(dir.file("plain"), {1}, error));
    // A folder cannot be made where a file already is.
    EXPECT_FALSE(writeFileBytes(dir.file("plain/inside.bin"), {1}, error));
    EXPECT_NE(error.find("plain"), std::string::npos) << "the message names the path: " << error;
    error.clear();
    EXPECT_FALSE(writeFileBytes(dir.path().string(), {1}, error)) << "a folder is not a file";
    EXPECT_FALSE(error.empty());
}

} // namespace
} // namespace vlo::demo
