// Fonts the Windows way: the registry lists every installed font by its full
// name ("Arial Bold (TrueType)") with its file, in the fonts folder or
// anywhere (per-user fonts, Wine's host fonts). A pattern's family and
// style pick the name; generic families go to Windows' standard faces first.
#include "FontLookup.h"

#include <algorithm>
#include <map>
#include <vector>

#include <windows.h>

#include "WindowsText.h"

namespace vlo::pack {

namespace {

const wchar_t* const kFontsKey = L"SOFTWARE\\Microsoft\\Windows NT\\CurrentVersion\\Fonts";

std::string lowerAscii(std::string text)
{
    for (char& c : text)
        if (c >= 'A' && c <= 'Z')
            c = char(c - 'A' + 'a');
    return text;
}

std::string trimmed(const std::string& text)
{
    const size_t first = text.find_first_not_of(" \t");
    const size_t last = text.find_last_not_of(" \t");
    return first == std::string::npos ? std::string() : text.substr(first, last - first + 1);
}

bool endsWith(const std::string& text, const std::string& tail)
{
    return text.size() >= tail.size() && text.compare(text.size() - tail.size(), tail.size(), tail) == 0;
}

// What a pattern asks for: families in order of preference and the style.
struct FontWish {
    std::vector<std::string> families;
    bool bold = false;
    bool italic = false;
};

const std::map<std::string, std::vector<std::string>>& genericFamilies()
{
    static const std::map<std::string, std::vector<std::string>> families = {
        {"sans-serif", {"arial", "segoe ui", "dejavu sans", "liberation sans", "tahoma", "verdana"}},
        {"sans", {"arial", "segoe ui", "dejavu sans", "liberation sans", "tahoma", "verdana"}},
        {"serif", {"times new roman", "cambria", "dejavu serif", "liberation serif", "georgia"}},
        {"monospace", {"consolas", "courier new", "dejavu sans mono", "liberation mono"}},
        {"mono", {"consolas", "courier new", "dejavu sans mono", "liberation mono"}},
    };
    return families;
}

// "DejaVu Serif,Georgia-12:bold:slant=italic": families before the first
// colon (a size after a dash dropped), style words after it.
FontWish readPattern(const std::string& pattern)
{
    FontWish wish;
    const size_t colon = pattern.find(':');
    std::string families = pattern.substr(0, colon);
    const std::string style = lowerAscii(colon == std::string::npos ? std::string() : pattern.substr(colon));
    wish.bold = style.find("bold") != std::string::npos || style.find("black") != std::string::npos;
    wish.italic = style.find("italic") != std::string::npos || style.find("oblique") != std::string::npos;
    size_t start = 0;
    while (start <= families.size()) {
        const size_t comma = std::min(families.find(',', start), families.size());
        std::string family = lowerAscii(trimmed(families.substr(start, comma - start)));
        const size_t dash = family.rfind('-');
        if (dash != std::string::npos && dash + 1 < family.size()
            && family.find_first_not_of("0123456789.", dash + 1) == std::string::npos)
            family = trimmed(family.substr(0, dash));
        const auto generic = genericFamilies().find(family);
        if (generic != genericFamilies().end())
            wish.families.insert(wish.families.end(), generic->second.begin(), generic->second.end());
        else if (!family.empty())
            wish.families.push_back(family);
        start = comma + 1;
    }
    // Like fontconfig, a family the system lacks gives way to its sans-serif.
    const std::vector<std::string>& fallback = genericFamilies().at("sans-serif");
    wish.families.insert(wish.families.end(), fallback.begin(), fallback.end());
    return wish;
}

// The fonts folder, where the registry's bare file names live.
std::wstring fontsFolder()
{
    wchar_t windows[MAX_PATH];
    const UINT length = GetWindowsDirectoryW(windows, MAX_PATH);
    return length > 0 && length < MAX_PATH ? std::wstring(windows, length) + L"\\Fonts" : L"C:\\Windows\\Fonts";
}

// Every TrueType or OpenType font the registry lists that exists: lower-case
// full name without "(TrueType)" -> UTF-8 file path. A collection listed as
// "Cambria & Cambria Math" gives each name.
std::map<std::string, std::string> installedFonts()
{
    std::map<std::string, std::string> fonts;
    const std::wstring folder = fontsFolder();
    // The user's own fonts first: they win over the machine's of that name.
    for (HKEY root : {HKEY_CURRENT_USER, HKEY_LOCAL_MACHINE}) {
        HKEY key = nullptr;
        if (RegOpenKeyExW(root, kFontsKey, 0, KEY_READ, &key) != ERROR_SUCCESS)
            continue;
        for (DWORD index = 0;; ++index) {
            wchar_t name[512];
            wchar_t data[MAX_PATH * 2];
            DWORD nameLength = 512;
            DWORD dataSize = sizeof(data) - sizeof(wchar_t);
            DWORD type = 0;
            const LONG status = RegEnumValueW(
                key, index, name, &nameLength, nullptr, &type, reinterpret_cast<BYTE*>(data), &dataSize);
            if (status == ERROR_NO_MORE_ITEMS)
                break;
            if (status != ERROR_SUCCESS || (type != REG_SZ && type != REG_EXPAND_SZ))
                continue;
            data[dataSize / sizeof(wchar_t)] = L'\0';
            std::wstring file = data;
            if (file.find(L'\\') == std::wstring::npos && file.find(L':') == std::wstring::npos)
                file = folder + L"\\" + file;
            const std::string lowerFile = lowerAscii(utf8Text(file));
            if (!endsWith(lowerFile, ".ttf") && !endsWith(lowerFile, ".otf") && !endsWith(lowerFile, ".ttc"))
                continue;
            if (GetFileAttributesW(file.c_str()) == INVALID_FILE_ATTRIBUTES)
                continue;
            std::string full = lowerAscii(utf8Text(std::wstring(name, nameLength)));
            const size_t bracket = full.find(" (");
            full = full.substr(0, bracket);
            size_t start = 0;
            while (start <= full.size()) {
                const size_t amp = std::min(full.find(" & ", start), full.size());
                fonts.emplace(trimmed(full.substr(start, amp - start)), utf8Text(file));
                start = amp + 3;
            }
        }
        RegCloseKey(key);
    }
    return fonts;
}

// The full names a family's face is listed under, best first.
std::vector<std::string> faceNames(const std::string& family, bool bold, bool italic)
{
    if (bold && italic)
        return {family + " bold italic", family + " bold oblique", family + " bold", family + " italic", family};
    if (bold)
        return {family + " bold", family, family + " regular"};
    if (italic)
        return {family + " italic", family + " oblique", family, family + " regular"};
    return {family, family + " regular", family + " book"};
}

} // namespace

bool findFontFile(const std::string& pattern, std::string& file, std::string& error)
{
    const std::string wanted = pattern.empty() ? "sans-serif:bold" : pattern;
    const FontWish wish = readPattern(wanted);
    const std::map<std::string, std::string> fonts = installedFonts();
    for (const std::string& family : wish.families) {
        for (const std::string& name : faceNames(family, wish.bold, wish.italic)) {
            const auto found = fonts.find(name);
            if (found != fonts.end()) {
                file = found->second;
                return true;
            }
        }
    }
    if (!fonts.empty()) {
        file = fonts.begin()->second;
        return true;
    }
    error = "the Windows font list has no font for '" + wanted + "'";
    return false;
}

} // namespace vlo::pack
