// The Windows font lookup reads the registry's font list: a family's face of
// the asked style, the user's own fonts included, and the sans-serif face for
// a family the system lacks.
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

#include <windows.h>

#include "FontLookup.h"

namespace {

const wchar_t* const kFontsKey = L"SOFTWARE\\Microsoft\\Windows NT\\CurrentVersion\\Fonts";

// Font files listed under the user's fonts for the test's length, as an
// installer for the user alone lists them.
class UserFonts {
public:
    UserFonts()
    {
        folder = std::filesystem::temp_directory_path() / ("vlo-fonts-" + std::to_string(GetCurrentProcessId()));
        std::filesystem::create_directories(folder);
        RegCreateKeyExW(HKEY_CURRENT_USER, kFontsKey, 0, nullptr, 0, KEY_ALL_ACCESS, nullptr, &key, nullptr);
    }
    ~UserFonts()
    {
        for (const std::wstring& name : names)
            RegDeleteValueW(key, name.c_str());
        RegCloseKey(key);
        std::error_code ignored;
        std::filesystem::remove_all(folder, ignored);
    }

    // Lists `file` (made empty in the folder) as "<name> (TrueType)";
    // returns its path.
    std::string add(const std::wstring& name, const std::string& file)
    {
        const std::filesystem::path path = folder / file;
        std::ofstream(path) << "";
        const std::wstring value = path.wstring();
        names.push_back(name + L" (TrueType)");
        RegSetValueExW(key, names.back().c_str(), 0, REG_SZ, reinterpret_cast<const BYTE*>(value.c_str()),
            DWORD((value.size() + 1) * sizeof(wchar_t)));
        return path.string();
    }

private:
    std::filesystem::path folder;
    HKEY key = nullptr;
    std::vector<std::wstring> names;
};

std::string lookUp(const std::string& pattern)
{
    std::string file;
    std::string error;
    EXPECT_TRUE(vlo::pack::findFontFile(pattern, file, error)) << pattern << ": " << error;
    return file;
}

TEST(FontLookupWindowsTest, PatternsPickTheFamilysFaceOfTheirStyle)
{
    UserFonts fonts;
    const std::string regular = fonts.add(L"Vellumo Test Serif", "VTSerif.ttf");
    const std::string bold = fonts.add(L"Vellumo Test Serif Bold", "VTSerif-Bold.ttf");
    const std::string boldItalic = fonts.add(L"Vellumo Test Serif Bold Italic", "VTSerif-BoldItalic.TTF");
    fonts.add(L"Vellumo Test Bitmap Bold", "vtbitmap.fon");

    EXPECT_EQ(lookUp("Vellumo Test Serif"), regular);
    EXPECT_EQ(lookUp("vellumo test serif:bold"), bold) << "family names match whatever their case";
    EXPECT_EQ(lookUp("Vellumo Test Serif:style=Bold Italic"), boldItalic);
    EXPECT_EQ(lookUp("Vellumo Test Serif-14:italic"), regular) << "no italic face: the family's regular one";
    EXPECT_EQ(lookUp("No Such Family,Vellumo Test Serif:bold"), bold) << "the first family present counts";

    // A family that is missing, or only a bitmap font, gives the same face as
    // the bold sans-serif asked for by an empty pattern.
    const std::string sans = lookUp("");
    EXPECT_FALSE(sans.empty());
    EXPECT_EQ(lookUp("No Such Family:bold"), sans);
    EXPECT_EQ(lookUp("Vellumo Test Bitmap:bold"), sans);
    EXPECT_EQ(lookUp("sans-serif:bold"), sans);
}

} // namespace
