#include "render/TextureInfo.h"

namespace vlo {

// A record describes a usable picture only with a positive size and at least
// one byte per pixel.
void TextureInfo::validate()
{
    invalid = (width > 0 && height > 0 && bits >= 8) ? 0 : 1;
}

// The setters ignore 0 so that a failed decoder, which leaves its outputs at
// 0, cannot wipe a size that is already known.
void TextureInfo::setWidth(int value)
{
    if (value == 0) {
        return;
    }
    width = value;
    validate();
}

void TextureInfo::setHeight(int value)
{
    if (value == 0) {
        return;
    }
    height = value;
    validate();
}

void TextureInfo::setBits(int value)
{
    if (value == 0) {
        return;
    }
    bits = value;
    validate();
}

} // namespace vlo
