// OutputFile on Windows: a replaced file keeps its attributes, a read-only
// file is refused in one line and left alone, devices are written in place,
// and UTF-8 names reach the file system as the same names.
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>

#include <windows.h>

#include "OutputFile.h"

namespace {

using vlo::pack::OutputFile;

class OutputFileWindowsTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        folder = std::filesystem::temp_directory_path()
            / ("vlo-outputfile-" + std::to_string(GetCurrentProcessId()) + "-"
                + ::testing::UnitTest::GetInstance()->current_test_info()->name());
        std::filesystem::remove_all(folder);
        std::filesystem::create_directories(folder);
    }
    void TearDown() override
    {
        // A read-only file would stop remove_all.
        for (const auto& entry : std::filesystem::directory_iterator(folder))
            SetFileAttributesW(entry.path().c_str(), FILE_ATTRIBUTE_NORMAL);
        std::error_code ignored;
        std::filesystem::remove_all(folder, ignored);
    }

    // A name in the folder as the tool gets it: UTF-8, Windows separators.
    std::string path(const std::string& name) const { return folder.string() + "\\" + name; }

    void put(const std::string& name, const std::string& bytes) const
    {
        std::ofstream(folder / std::filesystem::u8path(name), std::ios::binary) << bytes;
    }

    std::string read(const std::filesystem::path& file) const
    {
        std::ifstream in(file, std::ios::binary);
        return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
    }

    // Writes bytes to name through OutputFile; the error, or "" when done.
    static std::string writeThrough(const std::string& name, const std::string& bytes)
    {
        OutputFile file;
        std::string error;
        if (!file.open(name, error))
            return error;
        std::fwrite(bytes.data(), 1, bytes.size(), file.stream());
        return file.commit(error) ? std::string() : error;
    }

    // The names in the folder, one space after each.
    std::string listing() const
    {
        std::string names;
        for (const auto& entry : std::filesystem::directory_iterator(folder))
            names += entry.path().filename().string() + " ";
        return names;
    }

    std::filesystem::path folder;
};

TEST_F(OutputFileWindowsTest, ReplacedFileKeepsItsAttributesAndNoTemporaryStays)
{
    put("show.zuo", "old content");
    const std::wstring wide = (folder / "show.zuo").wstring();
    ASSERT_TRUE(SetFileAttributesW(wide.c_str(), FILE_ATTRIBUTE_HIDDEN | FILE_ATTRIBUTE_ARCHIVE));

    EXPECT_EQ(writeThrough(path("show.zuo"), "new content\n"), "");
    EXPECT_EQ(read(folder / "show.zuo"), "new content\n") << "written in binary, no CR added";
    const DWORD attributes = GetFileAttributesW(wide.c_str());
    EXPECT_NE(attributes & FILE_ATTRIBUTE_HIDDEN, 0u);
    EXPECT_NE(attributes & FILE_ATTRIBUTE_ARCHIVE, 0u);
    EXPECT_EQ(listing(), "show.zuo ");

    // A new file gets no attributes it was not given.
    EXPECT_EQ(writeThrough(path("fresh.png"), "png"), "");
    EXPECT_EQ(GetFileAttributesW((folder / "fresh.png").c_str()) & FILE_ATTRIBUTE_HIDDEN, 0u);
}

TEST_F(OutputFileWindowsTest, ReadOnlyFileIsRefusedInOneLineAndStaysUnchanged)
{
    put("locked.zuo", "keep me");
    ASSERT_TRUE(SetFileAttributesW((folder / "locked.zuo").c_str(), FILE_ATTRIBUTE_READONLY));

    const std::string error = writeThrough(path("locked.zuo"), "lost");
    EXPECT_EQ(error, "'" + path("locked.zuo") + "': cannot write: Permission denied");
    EXPECT_EQ(read(folder / "locked.zuo"), "keep me");
    EXPECT_EQ(listing(), "locked.zuo ") << "no temporary file left behind";

    // A commit that never happens leaves nothing either.
    {
        OutputFile abandoned;
        std::string ignored;
        ASSERT_TRUE(abandoned.open(path("draft.png"), ignored)) << ignored;
        std::fputs("half", abandoned.stream());
    }
    EXPECT_EQ(listing(), "locked.zuo ");
}

TEST_F(OutputFileWindowsTest, DevicesAreWrittenInPlaceAndFoldersAreRefused)
{
    EXPECT_EQ(writeThrough("NUL", "into nothing"), "");
    EXPECT_EQ(writeThrough(path("NUL"), "also the device"), "") << "a device name in any folder";
    EXPECT_EQ(listing(), "");

    EXPECT_EQ(writeThrough(folder.string(), "x"), "'" + folder.string() + "': is a folder");
    const std::string missing = path("no such folder\\out.zuo");
    const std::string error = writeThrough(missing, "x");
    EXPECT_EQ(error.rfind("cannot create a temporary file beside '" + missing + "' in the folder '", 0), 0u) << error;
    EXPECT_EQ(error.find('\n'), std::string::npos);
}

TEST_F(OutputFileWindowsTest, Utf8NamesAreTheFileSystemsNames)
{
    // "Grüße ♪.zuo" in UTF-8, as the program's arguments arrive.
    const std::string name = "Gr\xC3\xBC\xC3\x9F"
                             "e \xE2\x99\xAA.zuo";
    EXPECT_EQ(writeThrough(path(name), "first"), "");
    EXPECT_EQ(writeThrough(path(name), "second"), "");
    const std::filesystem::path wide = folder / L"Gr\u00FC\u00DFe \u266A.zuo";
    EXPECT_EQ(read(wide), "second");
    EXPECT_EQ(std::distance(std::filesystem::directory_iterator(folder), std::filesystem::directory_iterator()), 1);
}

} // namespace
