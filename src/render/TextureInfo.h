#pragma once

namespace vlo {

// One loaded texture: uploaded (power-of-two) and source sizes in pixels.
class TextureInfo {
public:
    void validate();
    void setWidth(int value);
    void setHeight(int value);
    void setBits(int value);

    int width = 0;
    int sourceWidth = 0;
    int height = 0;
    int sourceHeight = 0;
    int bits = 0;
    int invalid = 1;
};

} // namespace vlo
