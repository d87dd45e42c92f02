#pragma once
#include <cstddef>
#include <cstdint>
#include <initializer_list>
#include <string>
#include <string_view>
#include <vector>

namespace vlo {

// The drawing operations of one frame, as the OpenGL renderer received them,
// in a compact form that can be compared with another frame and sent to
// OpenGL later. Arguments are stored as they reach OpenGL: GUI-unit floats,
// GL enumerants, GL texture names and display-list bases, so two equal lists
// make exactly the same GL calls.
enum class FrameOp : uint8_t {
    Clear,        // r, g, b, a
    LoadIdentity, //
    Translate,    // x, y
    Scale,        // x, y
    Rotate,       // degrees
    PolygonMode,  // GL mode
    Begin,        // GL primitive, or NoPrimitive for an unknown code
    End,          //
    Vertex,       // x, y
    TexCoord,     // u, v
    Triangle,     // a.x, a.y, b.x, b.y, c.x, c.y
    Quad,         // a..d (8 floats), extent x, y
    Color,        // r, g, b, a
    BlendFunc,    // GL source factor, GL destination factor
    DisableBlend, //
    BindTexture,  // GL texture name
    PointSize,    // pixels
    LineWidth,    // pixels
    DrawImage,    // width, height, GL format, pixel address (2 words), raster y
    DrawText,     // display-list base, x, y, text offset, text length
    PushState,    //
    PopState      //
};

class FrameList {
public:
    // The primitive word of a begin with a code that opens no GL primitive.
    static constexpr uint32_t NoPrimitive = 0xFFFFFFFFu;

    void add(FrameOp op);
    void add(FrameOp op, std::initializer_list<float> args);
    void addWords(FrameOp op, std::initializer_list<uint32_t> args);
    void addImage(int width, int height, uint32_t format, const void* pixels, float rasterY);
    void addText(uint32_t listBase, float x, float y, const std::string& text);

    // Positions are word offsets: 0 is the first operation, size() is past
    // the last one, next(pos) the operation after pos.
    size_t size() const { return words_.size(); }
    bool empty() const { return words_.empty(); }
    size_t next(size_t pos) const { return pos + 1 + (words_[pos] >> 8); }
    FrameOp op(size_t pos) const { return FrameOp(words_[pos] & 0xFFu); }
    float number(size_t pos, int index) const;
    uint32_t word(size_t pos, int index) const { return words_[pos + 1 + size_t(index)]; }
    const void* imagePixels(size_t pos) const;
    std::string_view text(size_t pos) const;
    size_t operationCount() const { return operations_; }

    // Whether this frame puts back everything it changes except the clear
    // colour and the modelview matrix, which it sets before any use: it is
    // clear, loadIdentity, pushState, operations that never pop below that
    // pushState, then the popState matching it, with every begin closed by
    // an end. Two such frames that are equal and follow each other draw the
    // same pixels from the same state and leave the same state behind.
    bool isClosed() const;

    bool operator==(const FrameList& other) const { return words_ == other.words_ && text_ == other.text_; }
    bool operator!=(const FrameList& other) const { return !(*this == other); }

    // The position of the first operation that differs from the one at the
    // same place of `other` (or where the shorter list ends): the two lists
    // begin with the same calls up to there.
    size_t commonStart(const FrameList& other) const;

    // Empties the list, keeping its storage for the next frame.
    void clear();
    void swap(FrameList& other);

private:
    void header(FrameOp op, size_t argCount);

    std::vector<uint32_t> words_;
    std::string text_;
    size_t operations_ = 0;
};

} // namespace vlo
