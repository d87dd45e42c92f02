#pragma once
#include <cstdint>

#include "render/TextureInfo.h"

namespace vlo {

// A pixel buffer with its TextureInfo: rows one after the other, no gap,
// components R, G, B(, A). Releases the buffer on destruction when it owns it.
class Image : public TextureInfo {
public:
    explicit Image(bool ownsPixels = false);
    Image(int width, int height, int bits, bool ownsPixels);
    ~Image();
    Image(const Image&) = delete;
    Image& operator=(const Image&) = delete;

    void computeByteSize();
    // 24-bit pure white becomes transparent; the image becomes 32-bit.
    void applyColorKey();
    // Enlarges to power-of-two dimensions, picture at the top-left, zeros elsewhere.
    void padToPowerOfTwo();
    void flipVertical();
    // Hands the buffer to the caller; the image no longer refers to it.
    uint8_t* releasePixels();

    static int roundUpPowerOfTwo(int value);

    uint8_t* pixels = nullptr;
    int byteSize = 0;
    bool ownsPixels = false;
};

} // namespace vlo
