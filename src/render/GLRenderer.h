#pragma once
#include <cstdint>
#include <vector>

#include "render/CoverState.h"
#include "render/FrameCopy.h"
#include "render/FrameList.h"
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

    // Frame saving, off at construction. Off, every operation reaches
    // OpenGL as it is called. On, the operations of a frame (everything
    // between two presents with SwapBuffers on deviceContext()) are recorded
    // and reach OpenGL in the window's present hook, at flush, or before any
    // operation that works on OpenGL directly (texture, image and font
    // loading, project, unproject). A frame equal to the one on screen, with
    // nothing else changed since and the window not exposed, resized or
    // re-shown, is neither sent nor presented; pixels that a later opaque
    // quad over the whole window overwrites are not drawn; a frame that
    // begins as the last one did, with an opaque quad over the whole window,
    // starts from a copy of the pixels that beginning drew. A frame that
    // starts from OpenGL state the saving does not follow (see
    // startStateFollowed) is drawn whole, as with saving off. The pixels on
    // screen are the same either way.
    void setFrameSaving(bool on);
    bool frameSaving() const { return saving; }
    // Sends the operations recorded so far to OpenGL, so that the back
    // buffer holds them (before reading pixels back).
    void flush();
    // The decision at a present, which the window's present hook asks while
    // saving is on: true when the frame is to be presented (everything
    // recorded has then been sent), false to keep the frame on screen.
    // Always true with saving off.
    bool presentFrame(bool windowDamaged);

    // What frame saving did since construction.
    struct FrameCounts {
        uint64_t presented = 0;         // frames sent whole and presented
        uint64_t skipped = 0;           // frames neither sent nor presented
        uint64_t sentOperations = 0;    // operations that reached OpenGL
        uint64_t droppedOperations = 0; // drawing overwritten before it showed
        uint64_t restored = 0;          // frames begun from a copy of their unchanged start
    };
    const FrameCounts& frameCounts() const { return counts; }

    HGLRC context = nullptr;
    std::vector<unsigned int> textureNames;
    std::vector<unsigned int> fontListBases;

private:
    void setInitialPipelineState();
    // After each recorded operation: sends it at once unless saving.
    void recorded();
    // Before OpenGL work outside the recorded operations: what was recorded
    // goes first, and the frame after this one cannot be taken as unchanged.
    void beforeDirectGL();
    // Sends the operations at [from, to) of the current frame; those before
    // `cover` only for their effect on the state, not on pixels.
    void send(size_t from, size_t to, size_t cover);
    void sendOne(size_t pos, bool pixelsCovered);
    // Sends a frame that differs from the one on screen; sameStart when
    // nothing of it was sent yet and it begins from the state that one began
    // from, so that an equal start draws equal pixels.
    void sendChanged(bool sameStart);
    void forgetCopy();
    // Whether the frame starts from state the saving follows; read from
    // OpenGL once a frame, when its first operation is sent or the frame is
    // presented.
    bool startStateFollowed();
    static bool presentHook(void* owner, bool windowDamaged);

    bool saving = false;
    FrameList frame;
    // The last frame presented whole, for comparison.
    FrameList shown;
    bool hasShown = false;
    // Operations of `frame` already sent.
    size_t sentUpTo = 0;
    // Counts OpenGL work outside the recorded operations.
    uint64_t directChanges = 0;
    uint64_t frameStartChanges = 0;
    uint64_t shownStartChanges = 0;
    bool frameStartedInPrimitive = false;
    // Part of the frame was sent and forgotten to bound its memory.
    bool frameIncomplete = false;
    // The answer of startStateFollowed for this frame, once asked.
    bool startChecked = false;
    bool startFollowed = false;
    CoverState coverState;
    FrameCounts counts;
    // The frame whose first copyEnd words drew the pixels of `copy`, from the
    // state of OpenGL work count copyChanges; copyEnd 0 when no copy is kept.
    // Unchanged frames since the last changed one.
    FrameCopy copy;
    FrameList copied;
    size_t copyEnd = 0;
    uint64_t copyChanges = 0;
    int unchangedFrames = 0;
};

} // namespace vlo
