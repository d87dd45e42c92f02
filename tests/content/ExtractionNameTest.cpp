#include "content/ExtractionName.h"

#include <gtest/gtest.h>

namespace vlo {
namespace {

TEST(ExtractionNameTest, ExtensionRunsFromTheLastDotAfterTheFirstCharacter)
{
    const std::pair<std::string, std::string> cases[] = {
        {"gui/play_on.png", ".png"},
        {"Vellumo.ini", ".ini"},
        {"archive.tar.gz", ".gz"},
        {"readme", "readme"},
        {".config", ".config"},
        {"..", "."},
        {"a.", "."},
        {"pics.old/cover", ".old/cover"},
        {"", ""},
    };
    for (const auto& [name, expected] : cases)
        EXPECT_EQ(expected, extractionExtension(name)) << "name \"" << name << "\"";
}

TEST(ExtractionNameTest, SafeSuffixesNameAFileBesideTheArchive)
{
    for (const std::string suffix : {".png", "readme", ".config", ".", "", ".tar-gz_1"})
        EXPECT_TRUE(isSafeExtractionSuffix(suffix)) << "suffix \"" << suffix << "\" refused";
    const std::string unsafe[]
        = {".old/cover", "/abs", ".a\\b", ".x\ny", std::string(".a\0b", 4), ".\x7F", "..", ".\t"};
    for (const std::string& suffix : unsafe)
        EXPECT_FALSE(isSafeExtractionSuffix(suffix)) << "suffix \"" << suffix << "\" accepted";
}

} // namespace
} // namespace vlo
