#pragma once
#include <GL/gl.h>
#include <GL/glext.h>

namespace vlo {

// Every attribute group of OpenGL 1.1. The system header's GL_ALL_ATTRIB_BITS
// sets all 32 bits; the renderer saves exactly the groups 1.1 defines.
constexpr GLbitfield allAttribBits = 0x000FFFFF;

} // namespace vlo
