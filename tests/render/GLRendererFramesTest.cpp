// Frame saving of the OpenGL renderer: which frames are presented, which are
// kept off the screen because the one there already shows them, and that
// the drawing left out under an opaque full-window quad changes no pixel.

#include <gtest/gtest.h>

#include <chrono>
#include <functional>
#include <string>
#include <thread>
#include <vector>

#include <GL/gl.h>

#include "render/GLRenderer.h"
#include "support/GLRendererHarness.h"
#include "support/ImageFixtures.h"
#include "support/ScratchDir.h"

namespace vlo {
namespace {

using test::GLRendererHarness;

// A 24-bit bitmap of the test pattern, bottom row first as bitmaps store it.
std::string patternBitmap(int width, int height)
{
    const fixtures::Bytes rgb = fixtures::testPattern(width, height, 3);
    fixtures::Bytes bottomUp;
    for (int y = height - 1; y >= 0; --y) {
        for (int x = 0; x < width; ++x) {
            const uint8_t* p = &rgb[(size_t(y) * size_t(width) + size_t(x)) * 3];
            bottomUp.insert(bottomUp.end(), {p[2], p[1], p[0]});
        }
    }
    const fixtures::Bytes file = fixtures::bmpFile(width, height, 24, 0, bottomUp);
    return std::string(file.begin(), file.end());
}

// What one frame of the show screen draws, in the order the widgets draw it:
// the desktop's fill, the background over the whole view, a translucent
// picture on it.
struct Scene {
    int background = 0;
    int picture = 0;
    Color fill = Color(0.2f, 0.4f, 0.6f, 1.0f);
    float pictureAlpha = 0.5f;
    Vector2 picturePosition = Vector2(1.0f, 1.0f);
    // The background's blend factors and rectangle.
    int blendSource = BlendOne;
    int blendDestination = BlendZero;
    Vector2 backgroundTopLeft = Vector2(0.0f, 0.0f);
    Vector2 backgroundBottomRight = Vector2(7.0f, 6.0f);
    int polygonMode = PolygonFill;
    // Applied to the background alone.
    Vector2 backgroundOffset = Vector2(0.0f, 0.0f);
    float backgroundRotation = 0.0f;
};

class GLRendererFramesTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        ASSERT_TRUE(gl.ready()) << "no usable GL renderer (is DISPLAY set?)";
        r = gl.renderer.get();
        scratch.write("background.bmp", patternBitmap(700, 600));
        scratch.write("picture.bmp", patternBitmap(200, 150));
        scratch.write("other.bmp", patternBitmap(200, 150));
        scene.background = r->loadTexture(scratch.path("background.bmp").c_str(), FilterLinear, false);
        scene.picture = r->loadTexture(scratch.path("picture.bmp").c_str(), FilterLinear, false);
        otherPicture = r->loadTexture(scratch.path("other.bmp").c_str(), FilterLinear, false);
        ASSERT_NE(scene.background, 0);
        ASSERT_NE(scene.picture, 0);
        ASSERT_NE(otherPicture, 0);
    }

    // The main loop's frame: clear, identity, then the scene bracketed by
    // pushState and popState.
    void draw(const Scene& s)
    {
        r->clear(Color(1.0f, 1.0f, 1.0f, 0.5f));
        r->loadIdentity();
        r->pushState();

        r->pushState();
        r->setColor(s.fill);
        r->drawRect(Vector2(0.0f, 0.0f), Vector2(7.0f, 6.0f), Vector2(1.0f, 1.0f));
        r->popState();

        r->pushState();
        r->translate(s.backgroundOffset);
        r->rotate(s.backgroundRotation);
        r->setPolygonMode(s.polygonMode);
        r->setColor(1.0f, 1.0f, 1.0f, 1.0f);
        r->setBlendFunc(s.blendSource, s.blendDestination);
        r->bindTexture(s.background);
        r->drawTexturedRect(s.backgroundTopLeft, s.backgroundBottomRight, s.background);
        r->bindTexture(0);
        r->disableBlend();
        r->popState();

        r->pushState();
        r->setBlendFunc(BlendSrcAlpha, BlendOneMinusSrcAlpha);
        r->setColor(1.0f, 1.0f, 1.0f, s.pictureAlpha);
        r->bindTexture(s.picture);
        r->drawTexturedRect(s.picturePosition, s.picturePosition + Vector2(2.0f, 1.5f), s.picture);
        r->popState();

        r->popState();
    }

    // Draws the scene and presents it as the main loop does; true when the
    // frame reached the screen.
    bool drawAndPresent(const Scene& s)
    {
        const uint64_t before = r->frameCounts().presented;
        draw(s);
        EXPECT_TRUE(SwapBuffers(r->deviceContext()));
        return r->frameCounts().presented == before + 1;
    }

    // Takes every message waiting for the window, so that the window events
    // SDL has queued reach the platform.
    void pumpMessages()
    {
        constexpr WPARAM marker = 0xF7A3;
        PostMessageA(gl.window(), WM_NULL, marker, 0);
        MSG message{};
        while (GetMessageA(&message, nullptr, 0, 0) > 0) {
            if (message.message == WM_NULL && message.wParam == marker)
                return;
            DispatchMessageA(&message);
        }
    }

    // Presents the same scene until the window stops asking for redraws
    // (the events of showing it arrive some time after the call); false
    // when it never does within the time-out.
    bool settle(const Scene& s)
    {
        const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(10);
        while (std::chrono::steady_clock::now() < deadline) {
            pumpMessages();
            if (!drawAndPresent(s))
                return true;
            std::this_thread::sleep_for(std::chrono::milliseconds(5));
        }
        return false;
    }

    // The scene read back with frame saving off and on: the drawing of the
    // landed renderer and of the saving one.
    struct Readings {
        test::Frame direct;
        test::Frame saving;
        uint64_t dropped;
    };
    Readings readBoth(const Scene& s)
    {
        r->setFrameSaving(false);
        draw(s);
        test::Frame direct = gl.frame();
        GLfloat directClear[4] = {};
        glGetFloatv(GL_COLOR_CLEAR_VALUE, directClear);
        GLfloat directCoords[4] = {};
        glGetFloatv(GL_CURRENT_TEXTURE_COORDS, directCoords);

        r->setFrameSaving(true);
        const uint64_t droppedBefore = r->frameCounts().droppedOperations;
        draw(s);
        r->flush();
        test::Frame saving = gl.frame();
        GLfloat savingClear[4] = {};
        glGetFloatv(GL_COLOR_CLEAR_VALUE, savingClear);
        GLfloat savingCoords[4] = {};
        glGetFloatv(GL_CURRENT_TEXTURE_COORDS, savingCoords);
        for (int i = 0; i < 4; ++i) {
            EXPECT_EQ(directClear[i], savingClear[i]) << "clear colour component " << i;
            EXPECT_EQ(directCoords[i], savingCoords[i]) << "texture coordinate component " << i;
        }
        return Readings{direct, saving, r->frameCounts().droppedOperations - droppedBefore};
    }

    GLRendererHarness gl;
    GLRenderer* r = nullptr;
    test::ScratchDir scratch{"frames"};
    Scene scene;
    int otherPicture = 0;
};

TEST_F(GLRendererFramesTest, OnlyAFrameThatDiffersFromTheOneOnScreenIsSentAndPresented)
{
    r->setFrameSaving(true);
    EXPECT_TRUE(drawAndPresent(scene)) << "the first frame";
    const uint64_t sentAfterFirst = r->frameCounts().sentOperations;

    EXPECT_FALSE(drawAndPresent(scene)) << "the same frame again";
    EXPECT_FALSE(drawAndPresent(scene)) << "and again";
    EXPECT_EQ(r->frameCounts().sentOperations, sentAfterFirst) << "an unchanged frame reached OpenGL";
    EXPECT_EQ(r->frameCounts().skipped, 2u);

    Scene changed = scene;
    changed.picture = otherPicture;
    EXPECT_TRUE(drawAndPresent(changed)) << "one texture number changed";
    EXPECT_FALSE(drawAndPresent(changed));
    EXPECT_TRUE(drawAndPresent(scene)) << "back to the first texture";

    changed = scene;
    changed.pictureAlpha = 0.5001f;
    EXPECT_TRUE(drawAndPresent(changed)) << "one colour component changed";
    EXPECT_FALSE(drawAndPresent(changed));

    changed = scene;
    changed.picturePosition.x += 0.01f;
    EXPECT_TRUE(drawAndPresent(changed)) << "one position moved by a pixel";
    EXPECT_FALSE(drawAndPresent(changed));

    changed.fill = Color(0.2f, 0.4f, 0.6f, 0.99f);
    EXPECT_TRUE(drawAndPresent(changed)) << "the covered fill's alpha changed";
    EXPECT_GT(r->frameCounts().sentOperations, sentAfterFirst);
}

TEST_F(GLRendererFramesTest, AFadeOverAStillBackgroundStartsFromACopyWithTheSamePixels)
{
    const float alphas[] = {0.2f, 0.4f, 0.6f, 0.8f, 0.8f, 0.3f};
    std::vector<test::Frame> expected;
    for (float alpha : alphas) {
        Scene faded = scene;
        faded.pictureAlpha = alpha;
        draw(faded);
        expected.push_back(gl.frame());
    }

    r->setFrameSaving(true);
    for (size_t i = 0; i < std::size(alphas); ++i) {
        // Whatever the buffer held must not show through.
        glClearColor(1.0f, 0.0f, 1.0f, 1.0f);
        glClear(GL_COLOR_BUFFER_BIT);
        Scene faded = scene;
        faded.pictureAlpha = alphas[i];
        draw(faded);
        const bool presented = r->presentFrame(false);
        EXPECT_EQ(presented, i != 4) << "frame " << i << " repeats the one before";
        if (presented) {
            EXPECT_TRUE(gl.frame() == expected[i]) << "frame " << i << " drew other pixels";
        }
    }
    // The first frame has nothing to compare with, the second takes the copy
    // of the fill and the background, the fifth is not drawn.
    EXPECT_EQ(r->frameCounts().restored, 3u);

    // Other pixels behind the same start: the copy is not used.
    ASSERT_TRUE(r->deleteTexture(scene.background));
    Scene reloaded = scene;
    reloaded.pictureAlpha = 0.3f;
    reloaded.background = r->loadTexture(scratch.path("other.bmp").c_str(), FilterLinear, false);
    ASSERT_NE(reloaded.background, 0);
    draw(reloaded);
    ASSERT_TRUE(r->presentFrame(false));
    const test::Frame saved = gl.frame();
    EXPECT_EQ(r->frameCounts().restored, 3u) << "a frame after a texture load started from the copy";
    r->setFrameSaving(false);
    draw(reloaded);
    EXPECT_TRUE(saved == gl.frame()) << "the frame after a texture load drew other pixels";
}

TEST_F(GLRendererFramesTest, AStartWithAPrimitiveOfItsOwnIsDrawnEveryTime)
{
    // A translucent line drawn with begin and end before the fading picture:
    // sent for its state alone over a copy it would be missing, drawn over
    // one it would be doubled.
    auto drawFrame = [&](float alpha, bool line) {
        r->clear(Color(0.0f, 0.0f, 0.0f, 1.0f));
        r->loadIdentity();
        r->pushState();
        r->setColor(1.0f, 1.0f, 1.0f, 1.0f);
        r->setBlendFunc(BlendOne, BlendZero);
        r->bindTexture(scene.background);
        r->drawTexturedRect(Vector2(0.0f, 0.0f), Vector2(7.0f, 6.0f), scene.background);
        r->bindTexture(0);
        r->setBlendFunc(BlendSrcAlpha, BlendOneMinusSrcAlpha);
        if (line) {
            r->setColor(1.0f, 0.0f, 0.0f, 0.5f);
            r->begin(Lines);
            r->vertex(Vector2(0.5f, 0.5f));
            r->vertex(Vector2(6.5f, 5.5f));
            r->end();
        }
        r->setColor(1.0f, 1.0f, 1.0f, alpha);
        r->bindTexture(scene.picture);
        r->drawTexturedRect(Vector2(1.0f, 1.0f), Vector2(3.0f, 2.5f), scene.picture);
        r->bindTexture(0);
        r->disableBlend();
        r->popState();
    };
    const float alphas[] = {0.2f, 0.4f, 0.6f, 0.8f};
    for (bool line : {true, false}) {
        std::vector<test::Frame> expected;
        r->setFrameSaving(false);
        for (float alpha : alphas) {
            drawFrame(alpha, line);
            expected.push_back(gl.frame());
        }
        r->setFrameSaving(true);
        const uint64_t restoredBefore = r->frameCounts().restored;
        for (size_t i = 0; i < std::size(alphas); ++i) {
            glClearColor(1.0f, 0.0f, 1.0f, 1.0f);
            glClear(GL_COLOR_BUFFER_BIT);
            drawFrame(alphas[i], line);
            ASSERT_TRUE(r->presentFrame(false));
            EXPECT_TRUE(gl.frame() == expected[i]) << "frame " << i << (line ? " with" : " without") << " the line";
        }
        const uint64_t restored = r->frameCounts().restored - restoredBefore;
        EXPECT_EQ(restored, line ? 0u : 2u)
            << (line ? "a start with a line of its own came from the copy" : "the same frames without the line");
    }
}

TEST_F(GLRendererFramesTest, WithoutSavingEveryFrameIsPresented)
{
    ASSERT_FALSE(r->frameSaving()) << "saving is off at construction";
    draw(scene);
    SwapBuffers(r->deviceContext());
    const uint64_t sent = r->frameCounts().sentOperations;
    draw(scene);
    EXPECT_GT(r->frameCounts().sentOperations, sent) << "operations reach OpenGL as they are called";
    SwapBuffers(r->deviceContext());
    EXPECT_EQ(r->frameCounts().skipped, 0u);
}

TEST_F(GLRendererFramesTest, AFrameThatLeavesItsStateChangedIsAlwaysPresented)
{
    r->setFrameSaving(true);
    // No pushState bracket: the colour and the translation carry over into
    // the next frame, which therefore does not start from the same state.
    auto drawOpen = [&] {
        r->clear(Color(0.0f, 0.0f, 0.0f, 1.0f));
        r->translate(0.5f, 0.0f);
        r->setColor(1.0f, 0.0f, 0.0f, 1.0f);
        r->drawRect(Vector2(0.0f, 0.0f), Vector2(1.0f, 1.0f), Vector2(1.0f, 1.0f));
        return SwapBuffers(r->deviceContext());
    };
    for (int i = 0; i < 3; ++i)
        drawOpen();
    EXPECT_EQ(r->frameCounts().presented, 3u);
    EXPECT_EQ(r->frameCounts().skipped, 0u);

    // A primitive left open runs into the next frame as well.
    EXPECT_TRUE(drawAndPresent(scene));
    r->clear(Color(0.0f, 0.0f, 0.0f, 1.0f));
    r->loadIdentity();
    r->pushState();
    r->begin(Quads);
    r->popState();
    SwapBuffers(r->deviceContext());
    r->end();
    EXPECT_TRUE(drawAndPresent(scene)) << "the frame after an open primitive";
}

TEST_F(GLRendererFramesTest, WorkOnOpenGLBetweenFramesMakesTheNextFrameDraw)
{
    r->setFrameSaving(true);
    EXPECT_TRUE(drawAndPresent(scene));
    EXPECT_FALSE(drawAndPresent(scene));

    // Deleting a texture and loading another may hand out the same GL name
    // with other pixels behind it.
    ASSERT_TRUE(r->deleteTexture(otherPicture));
    const int reloaded = r->loadTexture(scratch.path("other.bmp").c_str(), FilterLinear, false);
    ASSERT_NE(reloaded, 0);
    EXPECT_TRUE(drawAndPresent(scene)) << "after a texture was deleted and loaded";
    EXPECT_FALSE(drawAndPresent(scene)) << "and the frame after that";

    r->createFont("Courier New", 14, true, false, false);
    EXPECT_TRUE(drawAndPresent(scene)) << "after a font was created";
    EXPECT_FALSE(drawAndPresent(scene));
}

TEST_F(GLRendererFramesTest, AFrameReadBeforeItsPresentIsStillPresented)
{
    r->setFrameSaving(true);
    EXPECT_TRUE(drawAndPresent(scene));
    draw(scene);
    // unproject reads OpenGL's matrices, so the frame so far is sent.
    r->unproject(350, 300);
    const uint64_t presented = r->frameCounts().presented;
    SwapBuffers(r->deviceContext());
    EXPECT_EQ(r->frameCounts().presented, presented + 1);
}

TEST_F(GLRendererFramesTest, AWindowShownAgainGetsTheFrameDrawnAgain)
{
    ShowWindow(gl.window(), SW_SHOW);
    r->setFrameSaving(true);
    ASSERT_TRUE(settle(scene)) << "the shown window kept asking for redraws";
    EXPECT_FALSE(drawAndPresent(scene));

    ShowWindow(gl.window(), SW_HIDE);
    ShowWindow(gl.window(), SW_SHOW);
    bool redrawn = false;
    const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(10);
    while (!redrawn && std::chrono::steady_clock::now() < deadline) {
        pumpMessages();
        redrawn = drawAndPresent(scene);
        if (!redrawn)
            std::this_thread::sleep_for(std::chrono::milliseconds(5));
    }
    EXPECT_TRUE(redrawn) << "the unchanged frame was not presented after the window was shown again";
    EXPECT_TRUE(settle(scene)) << "after the redraw";
    ShowWindow(gl.window(), SW_HIDE);
}

TEST_F(GLRendererFramesTest, ClearAndFillUnderAnOpaqueFullWindowQuadAreLeftOutWithTheSamePixels)
{
    const Readings reading = readBoth(scene);
    EXPECT_TRUE(reading.direct == reading.saving) << "the saving renderer drew other pixels";
    EXPECT_EQ(reading.dropped, 2u) << "the clear and the desktop fill";

    // Moved by a translation but still over the whole window.
    Scene moved = scene;
    moved.backgroundOffset = Vector2(1.0f, 0.5f);
    moved.backgroundTopLeft = Vector2(-1.0f, -0.5f);
    moved.backgroundBottomRight = Vector2(6.0f, 5.5f);
    const Readings movedReading = readBoth(moved);
    EXPECT_TRUE(movedReading.direct == movedReading.saving);
    EXPECT_EQ(movedReading.dropped, 2u);

    // Blending off overwrites just as ONE, ZERO does.
    Scene unblended = scene;
    unblended.blendSource = BlendZero;
    const Readings unblendedReading = readBoth(unblended);
    EXPECT_TRUE(unblendedReading.direct == unblendedReading.saving);
}

TEST_F(GLRendererFramesTest, NothingIsLeftOutUnderAQuadThatDoesNotOverwriteEveryPixel)
{
    struct Case {
        const char* what;
        Scene scene;
    };
    std::vector<Case> cases;
    Scene s = scene;
    s.blendSource = BlendSrcAlpha;
    s.blendDestination = BlendOneMinusSrcAlpha;
    cases.push_back({"alpha blending reads what is under it", s});
    s = scene;
    s.blendSource = BlendOne;
    s.blendDestination = BlendOne;
    cases.push_back({"ONE, ONE adds to what is under it", s});
    s = scene;
    s.backgroundBottomRight = Vector2(6.99f, 6.0f);
    cases.push_back({"one pixel column short on the right", s});
    s = scene;
    s.backgroundTopLeft = Vector2(0.0f, 0.01f);
    cases.push_back({"one pixel row short at the top", s});
    s = scene;
    s.backgroundOffset = Vector2(0.01f, 0.0f);
    cases.push_back({"moved a pixel to the right", s});
    s = scene;
    s.polygonMode = PolygonOutline;
    cases.push_back({"drawn as an outline", s});
    s = scene;
    s.backgroundRotation = 90.0f;
    cases.push_back({"rotated", s});

    for (const Case& c : cases) {
        const Readings reading = readBoth(c.scene);
        EXPECT_TRUE(reading.direct == reading.saving) << c.what << ": other pixels";
        // The desktop's fill, opaque and unblended over the whole window,
        // still covers the clear.
        EXPECT_EQ(reading.dropped, 1u) << c.what;
    }
}

TEST_F(GLRendererFramesTest, OnlyDrawingBeforeTheCoveringQuadIsLeftOut)
{
    // Text and a pixel image before the background are covered; the
    // picture after it is not.
    const int font = r->createFont("Courier New", 14, true, false, false);
    auto drawWithText = [&] {
        r->clear(Color(1.0f, 1.0f, 1.0f, 0.5f));
        r->loadIdentity();
        r->pushState();
        r->setColor(1.0f, 0.0f, 0.0f, 1.0f);
        r->drawText(font, 1.0f, 1.0f, "under");
        r->drawTriangle(Vector2(0.0f, 0.0f), Vector2(3.0f, 0.0f), Vector2(0.0f, 3.0f));
        r->setBlendFunc(BlendOne, BlendZero);
        r->setColor(1.0f, 1.0f, 1.0f, 1.0f);
        r->bindTexture(scene.background);
        r->drawTexturedRect(Vector2(0.0f, 0.0f), Vector2(7.0f, 6.0f), scene.background);
        r->bindTexture(0);
        r->setColor(0.0f, 0.0f, 1.0f, 1.0f);
        r->drawText(font, 1.0f, 2.0f, "over");
        r->popState();
    };
    r->setFrameSaving(false);
    drawWithText();
    const test::Frame direct = gl.frame();
    r->setFrameSaving(true);
    const uint64_t dropped = r->frameCounts().droppedOperations;
    drawWithText();
    r->flush();
    EXPECT_TRUE(direct == gl.frame());
    EXPECT_EQ(r->frameCounts().droppedOperations - dropped, 3u) << "the clear, the text and the triangle";
}

TEST_F(GLRendererFramesTest, StateSetOnTheContextThatSavingDoesNotFollowHasTheNextFrameDrawnWhole)
{
    struct Case {
        const char* what;
        std::function<void()> set;
        std::function<void()> undo;
    };
    const Case cases[] = {
        {"scissor test",
            [] {
                glEnable(GL_SCISSOR_TEST);
                glScissor(100, 100, 300, 200);
            },
            [] { glDisable(GL_SCISSOR_TEST); }},
        {"colour mask", [] { glColorMask(GL_TRUE, GL_FALSE, GL_TRUE, GL_TRUE); },
            [] { glColorMask(GL_TRUE, GL_TRUE, GL_TRUE, GL_TRUE); }},
        {"alpha test",
            [] {
                glEnable(GL_ALPHA_TEST);
                glAlphaFunc(GL_GREATER, 0.6f);
            },
            [] { glDisable(GL_ALPHA_TEST); }},
        {"polygon mode", [] { glPolygonMode(GL_FRONT_AND_BACK, GL_LINE); },
            [] { glPolygonMode(GL_FRONT_AND_BACK, GL_FILL); }},
    };
    // What the buffer holds before the frame, the same for both readings.
    const auto paintBuffer = [] {
        glClearColor(1.0f, 0.0f, 1.0f, 1.0f);
        glClear(GL_COLOR_BUFFER_BIT);
    };
    for (const Case& c : cases) {
        r->setFrameSaving(false);
        paintBuffer();
        c.set();
        draw(scene);
        const test::Frame direct = gl.frame();
        c.undo();

        r->setFrameSaving(true);
        for (int i = 0; i < 16 && glGetError() != GL_NO_ERROR; ++i) { }
        ASSERT_TRUE(drawAndPresent(scene));
        ASSERT_FALSE(drawAndPresent(scene)) << c.what << ": the unchanged frame before";
        EXPECT_EQ(glGetError(), GLenum(GL_NO_ERROR)) << "reading the state back raised an error";
        const GLRenderer::FrameCounts before = r->frameCounts();
        paintBuffer();
        c.set();
        draw(scene);
        EXPECT_TRUE(r->presentFrame(false)) << c.what << ": the frame was kept off the screen";
        EXPECT_TRUE(gl.frame() == direct) << c.what << ": other pixels than with saving off";
        EXPECT_EQ(r->frameCounts().droppedOperations, before.droppedOperations) << c.what << ": drawing left out";
        EXPECT_EQ(r->frameCounts().restored, before.restored) << c.what << ": begun from the copy";
        c.undo();
        EXPECT_TRUE(drawAndPresent(scene)) << c.what << ": the frame after it, in followed state again";
        EXPECT_FALSE(drawAndPresent(scene)) << c.what << ": saving works again";
    }
}

} // namespace
} // namespace vlo
