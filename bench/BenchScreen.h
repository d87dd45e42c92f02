#pragma once
// The show screen as the benchmarks draw it on the real renderer: eight
// textured, blended rectangles of test-pattern bitmaps, and one whole frame
// of them (clear, identity, pushState, the rectangles, popState, SwapBuffers).

#include <cstdint>
#include <string>
#include <vector>

#include <benchmark/benchmark.h>

#include "render/GLRenderer.h"
#include "support/ImageFixtures.h"
#include "support/ScratchDir.h"
#include "support/TestWindow.h"

namespace vlo::bench {

// False, with the benchmark skipped and the reason given, when there is no
// window or no OpenGL context to draw with (a renderer made for a failed
// window reports a failed context).
inline bool readyToDraw(benchmark::State& state, const vlo::test::TestWindow& window, const GLRenderer& renderer)
{
    if (!window.valid()) {
        state.SkipWithError("no window (is DISPLAY set?)");
        return false;
    }
    if (renderer.status != vlo::RendererReady) {
        state.SkipWithError("no OpenGL context");
        return false;
    }
    return true;
}

// One textured rectangle of the screen, in GUI units.
struct Panel {
    int texture;
    Vector2 topLeft;
    Vector2 bottomRight;
    float alpha;
};

// A 24-bit bitmap of the test pattern.
inline std::string bitmap(int width, int height)
{
    const vlo::fixtures::Bytes rgb = vlo::fixtures::testPattern(width, height, 3);
    vlo::fixtures::Bytes bottomUp;
    bottomUp.reserve(rgb.size());
    for (int y = height - 1; y >= 0; --y) {
        for (int x = 0; x < width; ++x) {
            const uint8_t* p = &rgb[(size_t(y) * size_t(width) + size_t(x)) * 3];
            bottomUp.insert(bottomUp.end(), {p[2], p[1], p[0]});
        }
    }
    const vlo::fixtures::Bytes file = vlo::fixtures::bmpFile(width, height, 24, 0, bottomUp);
    return std::string(file.begin(), file.end());
}

// The show screen's layers: the background over the whole view, the track
// picture and its caption, the four player buttons, and a fading overlay
// over everything.
inline std::vector<Panel> loadScreen(GLRenderer& renderer, const vlo::test::ScratchDir& scratch)
{
    struct Picture {
        const char* name;
        int width;
        int height;
        Vector2 topLeft;
        float alpha;
    };
    const Picture pictures[] = {
        {"background.bmp", 700, 600, Vector2(0.0f, 0.0f), 1.0f},
        {"track.bmp", 400, 300, Vector2(0.5f, 0.5f), 0.8f},
        {"caption.bmp", 300, 60, Vector2(0.5f, 3.7f), 1.0f},
        {"play.bmp", 48, 48, Vector2(4.8f, 5.3f), 1.0f},
        {"stop.bmp", 48, 48, Vector2(5.3f, 5.3f), 1.0f},
        {"previous.bmp", 48, 48, Vector2(5.8f, 5.3f), 1.0f},
        {"next.bmp", 48, 48, Vector2(6.3f, 5.3f), 1.0f},
        {"overlay.bmp", 700, 600, Vector2(0.0f, 0.0f), 0.3f},
    };
    std::vector<Panel> panels;
    for (const Picture& picture : pictures) {
        scratch.write(picture.name, bitmap(picture.width, picture.height));
        const int texture = renderer.loadTexture(scratch.path(picture.name).c_str(), vlo::FilterLinear, false);
        // 1 unit = 100 pixels: a picture is shown at its own pixel size.
        const Vector2 size(picture.width / 100.0f, picture.height / 100.0f);
        panels.push_back({texture, picture.topLeft, picture.topLeft + size, picture.alpha});
    }
    return panels;
}

inline void drawFrame(GLRenderer& renderer, const std::vector<Panel>& panels)
{
    renderer.clear(Color(1.0f, 1.0f, 1.0f, 0.5f));
    renderer.loadIdentity();
    renderer.pushState();
    for (const Panel& panel : panels) {
        renderer.pushState();
        renderer.setBlendFunc(vlo::BlendSrcAlpha, vlo::BlendOneMinusSrcAlpha);
        renderer.setColor(1.0f, 1.0f, 1.0f, panel.alpha);
        renderer.bindTexture(panel.texture);
        renderer.drawTexturedRect(panel.topLeft, panel.bottomRight, panel.texture);
        renderer.popState();
    }
    renderer.popState();
    SwapBuffers(renderer.deviceContext());
}

} // namespace vlo::bench
