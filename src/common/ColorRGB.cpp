#include "common/ColorRGB.h"

namespace vlo {

const ColorRGB ColorRGB::white(1.0f, 1.0f, 1.0f);
const ColorRGB ColorRGB::black(0.0f, 0.0f, 0.0f);
const ColorRGB ColorRGB::grey(0.792f, 0.792f, 0.792f);
const ColorRGB ColorRGB::lightGrey(0.901f, 0.901f, 0.901f);
const ColorRGB ColorRGB::darkGrey(0.431f, 0.431f, 0.431f);

} // namespace vlo
