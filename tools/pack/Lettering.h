#pragma once
#include <memory>
#include <string>

#include "Mask.h"

namespace vlo::pack {

// Sets UTF-8 text with FreeType in one font file, as coverage in a Mask.
// The same font file, text and FreeType give the same coverage.
class Lettering {
public:
    Lettering();
    ~Lettering();
    Lettering(const Lettering&) = delete;
    Lettering& operator=(const Lettering&) = delete;

    // Opens the font: a font file when `font` names one, else the best match
    // the system's font list has for it as a pattern ("DejaVu Serif:bold",
    // see FontLookup.h); an empty `font` asks for a bold sans-serif face.
    // Fills error on failure.
    bool open(const std::string& font, std::string& error);
    // The font file in use.
    const std::string& fontFile() const { return file; }

    // Width in pixels of the text at the given pixel size (em height).
    int width(const std::string& text, int size);
    // Draws the text with its baseline's left end at (x, baseline), pixels.
    void draw(demo::Mask& mask, const std::string& text, int x, int baseline, int size);
    // Draws the text at the largest size up to `size` (and down to `minSize`)
    // whose width fits maxWidth, cutting it with "..." when even minSize is
    // too wide; centred on cx when `centred`, else from x = cx. Returns the
    // size used.
    int drawFitted(demo::Mask& mask, const std::string& text, int cx, int baseline, int size, int minSize, int maxWidth,
        bool centred);

private:
    struct Face;
    std::unique_ptr<Face> face;
    std::string file;
};

} // namespace vlo::pack
