// Fuzz target: the configuration parser. Each input is loaded as a loose
// Vellumo.ini and the result is compared with a model that splits the text
// into tokens first and walks the same grammar over the token list, so that
// a difference in how tokens, white space or the end of the file are read is
// caught, not only a crash. A refused file must name the token the model
// stopped at.
#include <cstdint>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

#include "FuzzFolder.h"
#include "content/ShowConfig.h"

namespace {

void check(bool condition)
{
    if (!condition)
        std::abort();
}

bool isWhiteSpace(char c)
{
    return c == ' ' || c == '\t' || c == '\n' || c == '\r' || c == '\v' || c == '\f';
}

// The grammar over a token list. "At the end" holds after a read that found
// nothing, or after the last token when no white space follows it.
struct Model {
    std::vector<std::string> tokens;
    bool whiteSpaceAfterLast = false;
    std::size_t next = 0;
    bool atEnd = false;

    std::string title, mask, fade, credits;
    std::vector<std::string> files, pictures, captions;
    // The token the reading stopped at: empty when the file holds no
    // section, the data section's header when the file ends after it.
    std::string refused;

    explicit Model(const std::string& text)
    {
        std::string token;
        for (char c : text) {
            if (isWhiteSpace(c)) {
                if (!token.empty())
                    tokens.push_back(token);
                token.clear();
            } else {
                token += c;
            }
        }
        if (!token.empty())
            tokens.push_back(token);
        whiteSpaceAfterLast = text.empty() || isWhiteSpace(text.back());
    }

    // Returns false (leaving the variable alone) when no token is left.
    bool read(std::string& into)
    {
        if (next == tokens.size()) {
            atEnd = true;
            return false;
        }
        into = tokens[next++];
        atEnd = next == tokens.size() && !whiteSpaceAfterLast;
        return true;
    }

    bool sections()
    {
        std::string header;
        while (!atEnd) {
            read(header);
            if (header == "[vloData]") {
                if (!data())
                    return false;
            } else if (header == "[vloMusic]") {
                music();
            } else {
                refused = header;
                return false;
            }
        }
        return true;
    }

    bool data()
    {
        std::string key;
        while (!atEnd) {
            read(key);
            if (key == "credits:")
                read(credits);
            else if (key == "fade:")
                read(fade);
            else if (key == "title:")
                read(title);
            else if (key == "mask:")
                read(mask);
            else if (key == "[end]")
                return true;
            else {
                refused = key.empty() ? "[vloData]" : key;
                return false;
            }
            if (atEnd)
                break;
        }
        return true;
    }

    void music()
    {
        std::string file, picture, caption;
        while (!atEnd) {
            if (!read(file))
                return;
            const bool gotPicture = read(picture);
            if (file == "[end]" || !gotPicture || !read(caption))
                return;
            files.push_back(file);
            pictures.push_back(picture);
            captions.push_back(caption);
            if (atEnd)
                return;
        }
    }
};

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    const std::string text(reinterpret_cast<const char*>(data), size);
    const std::string path = (fuzzFolder("vlo-config-fuzz") / "Vellumo.ini").string();
    {
        std::ofstream out(path, std::ios::binary | std::ios::trunc);
        out.write(text.data(), std::streamsize(text.size()));
    }

    const vlo::ShowConfig config(path.c_str());
    Model model(text);
    const bool modelLoads = model.sections();

    check(config.loadFailed == (modelLoads ? 0 : 1));
    check((config.refusal.reason == vlo::ConfigRefusal::Reason::Accepted) == modelLoads);
    check(modelLoads || config.refusal.token.text == model.refused);
    check(config.title == model.title && config.mask == model.mask);
    check(config.fade == model.fade && config.credits == model.credits);
    check(config.tracks.size() == model.files.size());
    check(config.trackCaptions.size() == model.captions.size());
    for (std::size_t i = 0; i < config.tracks.size(); ++i) {
        check(config.tracks[i].file == model.files[i]);
        check(config.tracks[i].picture == model.pictures[i]);
        check(config.trackCaptions[i] == model.captions[i]);
        check(!config.tracks[i].file.empty() && !config.trackCaptions[i].empty());
    }
    return 0;
}
