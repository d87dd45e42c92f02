#pragma once
#include <vector>

#include "render/Renderer.h"

namespace vlo {

// The OpenGL 1.1 immediate-mode renderer on the window's device context.
// Each operation is the short GL sequence it stands for. All of them assume
// the context made current at construction is current on the calling thread.
class GLRenderer final : public Renderer {
public:
    // Creates the context and, when that succeeds, a logicalWidth x
    // logicalHeight GUI-unit view and the fixed pipeline state; otherwise
    // status is 1 and nothing else is set up.
    GLRenderer(HWND window, float logicalWidth, float logicalHeight);
    ~GLRenderer();

    bool createContext(HWND window) override;
    void releaseContext() override;
    void setupProjection(float width, float height) override;
    void setPolygonMode(int mode) override;
    void clear(Color color) override;
    void loadIdentity() override;
    void translate(float x, float y) override;
    void translate(Vector2 offset) override;
    void scale(float x, float y) override;
    void scale(Vector2 factor) override;
    void rotate(float degrees) override;
    bool begin(int primitive) override;
    bool end() override;
    void vertex(Vector2 point) override;
    void vertex(float x, float y) override;
    void texCoord(Vector2 coord) override;
    void texCoord(float u, float v) override;
    void drawTriangle(Vector2 a, Vector2 b, Vector2 c) override;
    void drawQuad(Vector2 a, Vector2 b, Vector2 c, Vector2 d, Vector2 extent) override;
    void drawTexturedRect(Vector2 topLeft, Vector2 bottomRight, int texture) override;
    void drawRect(Vector2 topLeft, Vector2 bottomRight, Vector2 extent) override;
    void setColor(Color color) override;
    void setColor(float r, float g, float b, float a) override;
    void setBlendFunc(int source, int destination) override;
    void disableBlend() override;
    void drawImage(int image) override;
    void bindTexture(int texture) override;
    void setPointSize(float pixels) override;
    void setLineWidth(float pixels) override;
    void drawText(int font, float x, float y, std::string text) override;
    void drawText(int font, Vector2 position, std::string text) override;
    void pushState() override;
    void popState() override;
    Vector2 unproject(int x, int y) override;
    void project(Vector2 point, int& x, int& y) override;
    int loadTexture(const char* path, int filter, bool colorKey) override;
    bool deleteTexture(int texture) override;
    int loadImage(const char* path) override;
    int createFont(const char* face, int height, bool bold, bool italic, bool underline) override;
    bool isUsable() override;

    HGLRC context = nullptr;
    std::vector<unsigned int> textureNames;
    std::vector<unsigned int> fontListBases;

private:
    void setInitialPipelineState();
};

} // namespace vlo
