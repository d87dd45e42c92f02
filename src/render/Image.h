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

    // byteSize = bytes per pixel x height x width; 0 when a dimension is
    // negative or the product does not fit in an int.
    void computeByteSize();
    // 24-bit pure white becomes transparent; the image becomes 32-bit.
    void applyColorKey();
    // Enlarges to power-of-two dimensions, picture at the top-left, zeros elsewhere.
    void padToPowerOfTwo();
    void flipVertical();
    // Brings a depth the uploads have no format for to one they have: 16-bit
    // grey+alpha becomes 32-bit RGBA. False when the depth is still not 8, 24
    // or 32 afterwards (the image is then left unchanged).
    bool expandToSupportedDepth();
    // Hands the buffer to the caller; the image no longer refers to it.
    uint8_t* releasePixels();

    static int roundUpPowerOfTwo(int value);
    // Whether a depth has an upload format (8, 24 or 32 bits).
    static bool isSupportedDepth(int bits);

    uint8_t* pixels = nullptr;
    int byteSize = 0;
    bool ownsPixels = false;

private:
    // Installs a buffer this image allocated, releasing the old one if owned.
    void replacePixels(uint8_t* fresh);
};

} // namespace vlo
