#pragma once
#include <memory>
#include <string>
#include <vector>

#include "common/Color.h"
#include "common/Vector2.h"
#include "platform/Win32.h"
#include "render/FontInfo.h"
#include "render/Image.h"
#include "render/TextureInfo.h"

namespace vlo {

// Codes of the renderer's integer arguments.
enum PrimitiveType { Points = 0, Lines = 1, Triangles = 2, Quads = 3 };
enum PolygonMode { PolygonFill = 0, PolygonOutline = 1, PolygonPoints = 2 };
enum BlendFactor {
    BlendZero = 0,
    BlendOne = 1,
    BlendSrcColor = 2,
    BlendSrcAlpha = 3,
    BlendDstColor = 4,
    BlendDstAlpha = 5,
    BlendOneMinusSrcColor = 6,
    BlendOneMinusSrcAlpha = 7,
    BlendOneMinusDstColor = 8,
    BlendOneMinusDstAlpha = 9
};
enum TextureFilter { FilterNearest = 0, FilterLinear = 1, FilterMipmap = 2 };
enum RendererStatus { RendererReady = 0, RendererContextFailed = 1, RendererReleased = 2 };

// The program's one drawing interface. Coordinates are GUI units: a view of
// logicalWidth x logicalHeight over the client area, origin top-left, y down.
// Textures and images are numbered from 1 (0 = none), fonts from 0.
class Renderer {
public:
    Renderer(HWND window, float logicalWidth, float logicalHeight);
    // Virtual: the main window deletes the renderer it owns through this
    // interface.
    virtual ~Renderer();
    Renderer(const Renderer&) = delete;
    Renderer& operator=(const Renderer&) = delete;

    virtual bool createContext(HWND window);
    virtual void releaseContext();
    virtual void setupProjection(float width, float height) = 0;
    virtual void setPolygonMode(int mode) = 0;
    virtual void clear(Color color) = 0;
    virtual void loadIdentity() = 0;
    virtual void translate(float x, float y) = 0;
    virtual void translate(Vector2 offset) = 0;
    virtual void scale(float x, float y) = 0;
    virtual void scale(Vector2 factor) = 0;
    virtual void rotate(float degrees) = 0;
    virtual bool begin(int primitive) = 0;
    virtual bool end() = 0;
    virtual void vertex(Vector2 point) = 0;
    virtual void vertex(float x, float y) = 0;
    virtual void texCoord(Vector2 coord) = 0;
    virtual void texCoord(float u, float v) = 0;
    virtual void drawTriangle(Vector2 a, Vector2 b, Vector2 c) = 0;
    virtual void drawQuad(Vector2 a, Vector2 b, Vector2 c, Vector2 d, Vector2 extent) = 0;
    virtual void drawTexturedRect(Vector2 topLeft, Vector2 bottomRight, int texture) = 0;
    virtual void drawRect(Vector2 topLeft, Vector2 bottomRight, Vector2 extent) = 0;
    virtual void setColor(Color color) = 0;
    virtual void setColor(float r, float g, float b, float a) = 0;
    virtual void setBlendFunc(int source, int destination) = 0;
    virtual void disableBlend() = 0;
    virtual void drawImage(int image) = 0;
    virtual void bindTexture(int texture) = 0;
    virtual void setPointSize(float pixels) = 0;
    virtual void setLineWidth(float pixels) = 0;
    virtual void drawText(int font, float x, float y, std::string text) = 0;
    virtual void drawText(int font, Vector2 position, std::string text) = 0;
    virtual void pushState() = 0;
    virtual void popState() = 0;
    virtual Vector2 unproject(int x, int y) = 0;
    virtual void project(Vector2 point, int& x, int& y) = 0;
    virtual int loadTexture(const char* path, int filter, bool colorKey) = 0;
    virtual bool deleteTexture(int texture) = 0;
    virtual int loadImage(const char* path) = 0;
    virtual int createFont(const char* face, int height, bool bold, bool italic, bool underline) = 0;
    virtual bool isUsable();

    HDC deviceContext() const { return deviceContext_; }
    void logicalSize(float& width, float& height) const;
    void unitsPerPixel(float& x, float& y) const;
    void setLogicalSize(float width, float height);
    const TextureInfo* textureInfo(int texture) const;
    Vector2 textureExtent(int texture) const;
    // The pixel image or font behind a number, or null for a number with none.
    const Image* imageInfo(int image) const;
    const FontInfo* fontInfo(int font) const;

    int status = RendererReady;

protected:
    HDC deviceContext_ = nullptr;
    int clientWidth = 0;
    int clientHeight = 0;
    float logicalWidth = 0.0f;
    float logicalHeight = 0.0f;
    float unitsPerPixelX = 0.0f;
    float unitsPerPixelY = 0.0f;
    bool inPrimitive = false;
    std::vector<TextureInfo> textures;
    std::vector<std::unique_ptr<Image>> images;
    std::vector<FontInfo> fonts;
};

} // namespace vlo
