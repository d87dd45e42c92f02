#pragma once
#include <vector>

#include "render/Renderer.h"

namespace vlo {

// The OpenGL 1.1 immediate-mode renderer on the window's device context.
class GLRenderer : public Renderer {
public:
    GLRenderer(HWND window, float logicalWidth, float logicalHeight);
    ~GLRenderer();

    // (the forty Renderer operations are declared here by the render subsystem)

    HGLRC context = nullptr;
    std::vector<unsigned int> textureNames;
    std::vector<unsigned int> fontListBases;
};

} // namespace vlo
