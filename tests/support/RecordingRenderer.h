#pragma once
// A Renderer that draws nothing and records every call with its arguments, in
// order, for layout, dispatch and draw-order tests. With `recording` false it
// is a no-op renderer that allocates nothing per call (for benchmarks).
//
// Arguments are recorded flattened: every float-like argument (floats, the
// components of Vector2 and Color) goes into `floats` in declaration order,
// every int or bool into `ints`, and a string or path into `text`. Overloads
// of one operation record the same name (translate(x, y) and translate(v)
// both record "translate" with two floats).

#include <cstddef>
#include <initializer_list>
#include <sstream>
#include <string>
#include <vector>

#include "common/Color.h"
#include "common/Vector2.h"
#include "render/Renderer.h"

namespace vlo::test {

struct RendererCall {
    std::string op;
    std::vector<float> floats;
    std::vector<int> ints;
    std::string text;

    // "setColor(0.5, 0.5, 0.5, 1 | )" style, for failure messages.
    std::string describe() const
    {
        std::ostringstream out;
        out << op << '(';
        for (size_t i = 0; i < floats.size(); ++i) {
            out << (i ? ", " : "") << floats[i];
        }
        out << " |";
        for (int value : ints) {
            out << ' ' << value;
        }
        if (!text.empty()) {
            out << " \"" << text << '"';
        }
        out << ')';
        return out.str();
    }
};

class RecordingRenderer : public Renderer {
public:
    // A view of viewWidth x viewHeight GUI units over a client area of
    // clientW x clientH pixels (7 x 6 over 700 x 600 like the program's).
    explicit RecordingRenderer(float viewWidth = 7.0f, float viewHeight = 6.0f, int clientW = 700, int clientH = 600)
        : Renderer(nullptr, viewWidth, viewHeight)
    {
        // There is no window behind this renderer: the client size is set
        // here instead of read from one.
        clientWidth = clientW;
        clientHeight = clientH;
        setLogicalSize(viewWidth, viewHeight);
        calls.clear();
    }

    // Appends a texture record with the given picture size in pixels (the
    // uploaded size is the next powers of two) and returns its number.
    int addTexture(int sourceWidth, int sourceHeight)
    {
        TextureInfo info;
        info.sourceWidth = sourceWidth;
        info.sourceHeight = sourceHeight;
        info.width = nextPowerOfTwo(sourceWidth);
        info.height = nextPowerOfTwo(sourceHeight);
        info.bits = 32;
        info.invalid = 0;
        textures.push_back(info);
        return static_cast<int>(textures.size());
    }

    void clearCalls() { calls.clear(); }

    // Number of recorded calls of one operation.
    size_t count(const std::string& op) const
    {
        size_t n = 0;
        for (const RendererCall& call : calls) {
            n += call.op == op ? 1 : 0;
        }
        return n;
    }

    // Index of the first call of `op` at or after `from`; -1 when none.
    long indexOf(const std::string& op, size_t from = 0) const
    {
        for (size_t i = from; i < calls.size(); ++i) {
            if (calls[i].op == op) {
                return static_cast<long>(i);
            }
        }
        return -1;
    }

    // Every recorded call of one operation, in order.
    std::vector<RendererCall> callsOf(const std::string& op) const
    {
        std::vector<RendererCall> found;
        for (const RendererCall& call : calls) {
            if (call.op == op) {
                found.push_back(call);
            }
        }
        return found;
    }

    // The whole recording, one call a line, for failure messages.
    std::string transcript() const
    {
        std::string all;
        for (size_t i = 0; i < calls.size(); ++i) {
            all += std::to_string(i) + ": " + calls[i].describe() + "\n";
        }
        return all;
    }

    bool createContext(HWND) override
    {
        record("createContext", {}, {});
        return true;
    }
    void releaseContext() override
    {
        record("releaseContext", {}, {});
        status = RendererReleased;
    }
    void setupProjection(float width, float height) override { record("setupProjection", {width, height}, {}); }
    void setPolygonMode(int mode) override { record("setPolygonMode", {}, {mode}); }
    void clear(Color c) override { record("clear", {c.r, c.g, c.b, c.a}, {}); }
    void loadIdentity() override { record("loadIdentity", {}, {}); }
    void translate(float x, float y) override { record("translate", {x, y}, {}); }
    void translate(Vector2 offset) override { record("translate", {offset.x, offset.y}, {}); }
    void scale(float x, float y) override { record("scale", {x, y}, {}); }
    void scale(Vector2 factor) override { record("scale", {factor.x, factor.y}, {}); }
    void rotate(float degrees) override { record("rotate", {degrees}, {}); }
    bool begin(int primitive) override
    {
        record("begin", {}, {primitive});
        if (inPrimitive) {
            return false;
        }
        inPrimitive = true;
        return true;
    }
    bool end() override
    {
        record("end", {}, {});
        if (!inPrimitive) {
            return false;
        }
        inPrimitive = false;
        return true;
    }
    void vertex(Vector2 p) override { record("vertex", {p.x, p.y}, {}); }
    void vertex(float x, float y) override { record("vertex", {x, y}, {}); }
    void texCoord(Vector2 c) override { record("texCoord", {c.x, c.y}, {}); }
    void texCoord(float u, float v) override { record("texCoord", {u, v}, {}); }
    void drawTriangle(Vector2 a, Vector2 b, Vector2 c) override
    {
        record("drawTriangle", {a.x, a.y, b.x, b.y, c.x, c.y}, {});
    }
    void drawQuad(Vector2 a, Vector2 b, Vector2 c, Vector2 d, Vector2 e) override
    {
        record("drawQuad", {a.x, a.y, b.x, b.y, c.x, c.y, d.x, d.y, e.x, e.y}, {});
    }
    void drawTexturedRect(Vector2 topLeft, Vector2 bottomRight, int texture) override
    {
        record("drawTexturedRect", {topLeft.x, topLeft.y, bottomRight.x, bottomRight.y}, {texture});
    }
    void drawRect(Vector2 topLeft, Vector2 bottomRight, Vector2 extent) override
    {
        record("drawRect", {topLeft.x, topLeft.y, bottomRight.x, bottomRight.y, extent.x, extent.y}, {});
    }
    void setColor(Color c) override { record("setColor", {c.r, c.g, c.b, c.a}, {}); }
    void setColor(float r, float g, float b, float a) override { record("setColor", {r, g, b, a}, {}); }
    void setBlendFunc(int source, int destination) override { record("setBlendFunc", {}, {source, destination}); }
    void disableBlend() override { record("disableBlend", {}, {}); }
    void drawImage(int image) override { record("drawImage", {}, {image}); }
    void bindTexture(int texture) override { record("bindTexture", {}, {texture}); }
    void setPointSize(float pixels) override { record("setPointSize", {pixels}, {}); }
    void setLineWidth(float pixels) override { record("setLineWidth", {pixels}, {}); }
    void drawText(int font, float x, float y, std::string text) override { record("drawText", {x, y}, {font}, &text); }
    void drawText(int font, Vector2 position, std::string text) override
    {
        record("drawText", {position.x, position.y}, {font}, &text);
    }
    void pushState() override { record("pushState", {}, {}); }
    void popState() override { record("popState", {}, {}); }
    Vector2 unproject(int x, int y) override
    {
        record("unproject", {}, {x, y});
        return Vector2(static_cast<float>(x) * unitsPerPixelX, static_cast<float>(y) * unitsPerPixelY);
    }
    void project(Vector2 point, int& x, int& y) override
    {
        record("project", {point.x, point.y}, {});
        x = static_cast<int>(point.x / unitsPerPixelX);
        y = static_cast<int>(point.y / unitsPerPixelY);
    }
    int loadTexture(const char* path, int filter, bool colorKey) override
    {
        const std::string name = path ? path : "";
        record("loadTexture", {}, {filter, colorKey ? 1 : 0}, &name);
        return 0;
    }
    bool deleteTexture(int texture) override
    {
        record("deleteTexture", {}, {texture});
        return textureInfo(texture) != nullptr;
    }
    int loadImage(const char* path) override
    {
        const std::string name = path ? path : "";
        record("loadImage", {}, {}, &name);
        return 0;
    }
    int createFont(const char* face, int height, bool bold, bool italic, bool underline) override
    {
        const std::string name = face ? face : "";
        record("createFont", {}, {height, bold, italic, underline}, &name);
        FontInfo info;
        info.face = name;
        info.height = height < 0 ? -height : height;
        info.bold = bold;
        info.italic = italic;
        info.underline = underline;
        fonts.push_back(info);
        return static_cast<int>(fonts.size()) - 1;
    }
    bool isUsable() override { return true; }

    bool recording = true;
    std::vector<RendererCall> calls;

private:
    static int nextPowerOfTwo(int value)
    {
        int result = 1;
        while (result < value) {
            result *= 2;
        }
        return result;
    }

    void record(const char* op, std::initializer_list<float> floats, std::initializer_list<int> ints,
        const std::string* text = nullptr)
    {
        if (!recording) {
            return;
        }
        RendererCall call;
        call.op = op;
        call.floats.assign(floats.begin(), floats.end());
        call.ints.assign(ints.begin(), ints.end());
        if (text != nullptr) {
            call.text = *text;
        }
        calls.push_back(std::move(call));
    }
};

} // namespace vlo::test
