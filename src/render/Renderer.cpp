#include "render/Renderer.h"

namespace vlo {

// The device context and the client size are taken once, here; the view
// itself is set by the implementation once its context exists.
Renderer::Renderer(HWND window, float, float)
{
    deviceContext_ = GetDC(window);
    RECT client = {0, 0, 0, 0};
    if (GetClientRect(window, &client)) {
        clientWidth = client.right;
        clientHeight = client.bottom;
    }
}

Renderer::~Renderer() = default;

bool Renderer::createContext(HWND)
{
    status = RendererContextFailed;
    return false;
}

void Renderer::releaseContext()
{
}

bool Renderer::isUsable()
{
    return false;
}

void Renderer::logicalSize(float& width, float& height) const
{
    width = logicalWidth;
    height = logicalHeight;
}

void Renderer::unitsPerPixel(float& x, float& y) const
{
    x = unitsPerPixelX;
    y = unitsPerPixelY;
}

void Renderer::setLogicalSize(float width, float height)
{
    logicalWidth = width;
    logicalHeight = height;
    unitsPerPixelX = width / float(clientWidth);
    unitsPerPixelY = height / float(clientHeight);
    setupProjection(width, height);
}

// Texture number n is entry n - 1; 0 and numbers past the table have none.
const TextureInfo* Renderer::textureInfo(int texture) const
{
    if (texture <= 0 || size_t(texture) > textures.size()) {
        return nullptr;
    }
    return &textures[size_t(texture) - 1];
}

// The share of the power-of-two texture that the picture covers.
Vector2 Renderer::textureExtent(int texture) const
{
    const TextureInfo* info = textureInfo(texture);
    if (info == nullptr || info->width == 0 || info->height == 0) {
        return Vector2(0.0f, 0.0f);
    }
    return Vector2(float(info->sourceWidth) / float(info->width), float(info->sourceHeight) / float(info->height));
}

// Image number n is entry n - 1.
const Image* Renderer::imageInfo(int image) const
{
    if (image <= 0 || size_t(image) > images.size()) {
        return nullptr;
    }
    return images[size_t(image) - 1].get();
}

// Fonts are counted from 0: font number n is entry n.
const FontInfo* Renderer::fontInfo(int font) const
{
    if (font < 0 || size_t(font) >= fonts.size()) {
        return nullptr;
    }
    return &fonts[size_t(font)];
}

} // namespace vlo
