// The main window, its window procedure and the quit protocol, on a real
// hidden window. Messages are posted and pumped through the real window
// procedure; the tick source is frozen so no WM_TIMER comes between them.

#include <memory>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "content/ShowConfig.h"
#include "platform/Platform.h"
#include "platform/Win32.h"
#include "shell/MainWindow.h"
#include "support/FakeClock.h"
#include "support/RecordingRenderer.h"
#include "support/WaitingQuit.h"
#include "widgets/Widget.h"

#if defined(__SANITIZE_ADDRESS__)
// The sanitizer runtime reports every allocation of the process to these.
extern "C" int __sanitizer_install_malloc_and_free_hooks(
    void (*mallocHook)(const volatile void*, size_t), void (*freeHook)(const volatile void*));
#endif

namespace {

using vlo::MainWindow;
using vlo::Vector2;

// A widget that records the mouse calls it receives, in GUI units.
class RecordingWidget : public vlo::Widget {
public:
    struct Call {
        std::string kind;
        Vector2 point;
        int button;
    };

    RecordingWidget()
        : Widget(nullptr, "recording root")
    {
    }

    bool onMouseMove(Vector2 point) override
    {
        calls.push_back(Call{"move", point, -1});
        return true;
    }
    bool onMouseDown(Vector2 point, int button) override
    {
        calls.push_back(Call{"down", point, button});
        return true;
    }
    bool onMouseUp(Vector2 point, int button) override
    {
        calls.push_back(Call{"up", point, button});
        return true;
    }
    void draw(vlo::Renderer& renderer) override
    {
        // Marks where in the frame the root was drawn.
        renderer.setPointSize(42.0f);
        ++frames;
    }

    std::vector<Call> calls;
    int frames = 0;
};

// Asks for the quit again while drawing the given frame.
class QuittingWidget : public RecordingWidget {
public:
    void draw(vlo::Renderer& renderer) override
    {
        RecordingWidget::draw(renderer);
        if (frames == quitOnFrame)
            PostQuitMessage(0);
    }

    int quitOnFrame = 0;
};

// A renderer that says when it has been deleted, and whether its context
// had been released by then.
class TrackedRenderer : public vlo::test::RecordingRenderer {
public:
    struct Fate {
        bool deleted = false;
        bool releasedBeforeDeletion = false;
    };
    explicit TrackedRenderer(Fate* fate_)
        : fate(fate_)
    {
    }
    ~TrackedRenderer()
    {
        fate->deleted = true;
        fate->releasedBeforeDeletion = status == vlo::RendererReleased;
    }

private:
    Fate* fate;
};

class MainWindowTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        vlo::setOffscreenAllowed(true);
        drain();
    }

    void TearDown() override { drain(); }

    // Reads every queued message up to a marker posted now, without
    // dispatching, and the quit that destroyed windows leave behind.
    void drain() { vlo::test::takeWaitingQuits(clock); }

    // True when a WM_QUIT was waiting (it is taken, with everything queued).
    bool quitIsQueued() { return vlo::test::takeWaitingQuits(clock) > 0; }

    static MainWindow* newWindow() { return new MainWindow(GetModuleHandleA(nullptr), WS_POPUP, 700, 600); }

    // Posts a message to the window and has pumpMessage dispatch it.
    static bool post(MainWindow& window, UINT message, WPARAM wParam, LPARAM lParam)
    {
        PostMessageA(window.getHandle(), message, wParam, lParam);
        return window.pumpMessage();
    }

    static LPARAM at(int x, int y) { return MAKELPARAM(WORD(x), WORD(y)); }

    vlo::test::FakeClock clock{1000};
};

TEST_F(MainWindowTest, CreatesTheHiddenPopupWithItsClassTextAndPlace)
{
    std::unique_ptr<MainWindow> window(newWindow());
    ASSERT_NE(window->getHandle(), nullptr) << "no window (is DISPLAY=:99 set?)";
    EXPECT_EQ(vlo::theWindow, window.get());
    EXPECT_TRUE(vlo::windowRegistered);
    char text[64] = {};
    GetWindowTextA(window->getHandle(), text, sizeof(text));
    EXPECT_STREQ(text, "VLO Window");
    RECT rect{};
    GetWindowRect(window->getHandle(), &rect);
    EXPECT_EQ(rect.left, 100);
    EXPECT_EQ(rect.top, 100);
    EXPECT_EQ(rect.right - rect.left, 700);
    EXPECT_EQ(rect.bottom - rect.top, 600);
    // ShowWindow answers whether the window was visible before.
    EXPECT_FALSE(ShowWindow(window->getHandle(), SW_HIDE)) << "created visible";
    EXPECT_FALSE(window->isShown());

    window->setTitle("Emberfall II");
    GetWindowTextA(window->getHandle(), text, sizeof(text));
    EXPECT_STREQ(text, "Emberfall II");

    // The class is registered under its name: registering it again fails.
    WNDCLASSA again{};
    again.lpfnWndProc = DefWindowProcA;
    again.lpszClassName = "VLO WindowClass";
    EXPECT_EQ(RegisterClassA(&again), 0);
}

TEST_F(MainWindowTest, TimerKeepsMessagesComingEveryTenMilliseconds)
{
    std::unique_ptr<MainWindow> window(newWindow());
    ASSERT_NE(window->getHandle(), nullptr);
    clock.advance(10);
    MSG m{};
    ASSERT_TRUE(GetMessageA(&m, nullptr, 0, 0));
    EXPECT_EQ(m.message, WM_TIMER);
    EXPECT_EQ(m.hwnd, window->getHandle());
    EXPECT_EQ(DispatchMessageA(&m), 0);
    EXPECT_FALSE(quitIsQueued()) << "WM_TIMER did more than wake the loop";
}

TEST_F(MainWindowTest, DestroyGivesUpTheWindowTheClassAndTheGlobals)
{
    std::unique_ptr<MainWindow> window(newWindow());
    HWND handle = window->getHandle();
    ASSERT_NE(handle, nullptr);
    window->destroy();
    EXPECT_EQ(vlo::theWindow, nullptr);
    EXPECT_FALSE(vlo::windowRegistered);
    RECT rect{};
    EXPECT_FALSE(GetClientRect(handle, &rect)) << "the window survived destroy";
    EXPECT_EQ(window->getHandle(), nullptr);
    // WM_DESTROY arrived before theWindow was cleared, and posted a quit.
    EXPECT_TRUE(quitIsQueued());
    WNDCLASSA again{};
    again.lpfnWndProc = DefWindowProcA;
    again.lpszClassName = "VLO WindowClass";
    EXPECT_NE(RegisterClassA(&again), 0) << "the class stayed registered";
    UnregisterClassA("VLO WindowClass", nullptr);

    // A new main window can follow.
    std::unique_ptr<MainWindow> next(newWindow());
    EXPECT_NE(next->getHandle(), nullptr);
}

TEST_F(MainWindowTest, SecondWindowIsInertAndCannotUnseatTheFirst)
{
    std::unique_ptr<MainWindow> first(newWindow());
    ASSERT_NE(first->getHandle(), nullptr);
    {
        MainWindow second(GetModuleHandleA(nullptr), WS_POPUP, 700, 600);
        EXPECT_EQ(second.getHandle(), nullptr) << "a second window was created";
        second.destroy();
    }
    EXPECT_EQ(vlo::theWindow, first.get()) << "the inert window's destroy unseated the first";
    EXPECT_TRUE(vlo::windowRegistered);
}

TEST_F(MainWindowTest, EscapeAndCloseRequestsPostTheQuitOtherKeysDoNothing)
{
    std::unique_ptr<MainWindow> window(newWindow());
    ASSERT_NE(window->getHandle(), nullptr);

    EXPECT_TRUE(post(*window, WM_KEYDOWN, 'A', 0));
    EXPECT_TRUE(post(*window, WM_KEYDOWN, VK_RETURN, 0));
    EXPECT_FALSE(quitIsQueued()) << "a key other than Escape posted a quit";

    EXPECT_TRUE(post(*window, WM_KEYDOWN, VK_ESCAPE, 0));
    EXPECT_TRUE(quitIsQueued()) << "Escape did not post the quit";

    EXPECT_TRUE(post(*window, WM_CLOSE, 0, 0));
    EXPECT_TRUE(quitIsQueued()) << "WM_CLOSE did not post the quit";
    RECT rect{};
    EXPECT_TRUE(GetClientRect(window->getHandle(), &rect)) << "WM_CLOSE destroyed the window";

    // Alt+F4: the system key that DefWindowProcA turns into WM_CLOSE.
    EXPECT_TRUE(post(*window, WM_SYSKEYDOWN, VK_F4, LPARAM(1) << 29));
    EXPECT_TRUE(quitIsQueued()) << "Alt+F4 did not post the quit";
    EXPECT_TRUE(GetClientRect(window->getHandle(), &rect)) << "Alt+F4 destroyed the window";

    // WM_DESTROY sent directly, as DestroyWindow does.
    EXPECT_EQ(vlo::windowProc(window->getHandle(), WM_DESTROY, 0, 0), 0);
    EXPECT_TRUE(quitIsQueued()) << "WM_DESTROY did not post the quit";
}

TEST_F(MainWindowTest, WindowProcedureIgnoresEverythingWithoutTheWindow)
{
    ASSERT_EQ(vlo::theWindow, nullptr);
    EXPECT_EQ(vlo::windowProc(nullptr, WM_KEYDOWN, VK_ESCAPE, 0), 0);
    EXPECT_EQ(vlo::windowProc(nullptr, WM_CLOSE, 0, 0), 0);
    EXPECT_FALSE(quitIsQueued()) << "a quit was posted with no main window";
}

TEST_F(MainWindowTest, MousePositionsReachTheRootInGuiUnitsOnlyStrictlyInside)
{
    std::unique_ptr<MainWindow> window(newWindow());
    ASSERT_NE(window->getHandle(), nullptr);
    ASSERT_TRUE(window->setRenderer(new vlo::test::RecordingRenderer()));
    RecordingWidget root;
    root.setPosition(Vector2(1.0f, 1.0f));
    root.setSize(Vector2(2.0f, 2.0f)); // (1, 1) to (3, 3): pixels 100..300
    window->setRootWidget(&root);

    post(*window, WM_MOUSEMOVE, 0, at(150, 250));
    post(*window, WM_MOUSEMOVE, 0, at(100, 200)); // on the left edge
    post(*window, WM_MOUSEMOVE, 0, at(200, 300)); // on the bottom edge
    post(*window, WM_MOUSEMOVE, 0, at(50, 50));   // outside
    post(*window, WM_MOUSEMOVE, 0, at(-5, 150));  // captured, left of the window
    post(*window, WM_LBUTTONDOWN, MK_LBUTTON, at(120, 130));
    post(*window, WM_LBUTTONUP, 0, at(299, 299));
    post(*window, WM_RBUTTONDOWN, MK_RBUTTON, at(201, 202));
    post(*window, WM_RBUTTONUP, 0, at(400, 202)); // released outside: dropped

    struct Expected {
        const char* kind;
        float x;
        float y;
        int button;
    };
    const Expected expected[] = {
        {"move", 1.5f, 2.5f, -1},
        {"down", 1.2f, 1.3f, 0},
        {"up", 2.99f, 2.99f, 0},
        {"down", 2.01f, 2.02f, 1},
    };
    ASSERT_EQ(root.calls.size(), std::size(expected)) << "edge and outside points must be dropped";
    for (size_t i = 0; i < std::size(expected); ++i) {
        const auto& got = root.calls[i];
        EXPECT_EQ(got.kind, expected[i].kind) << "call " << i;
        EXPECT_NEAR(got.point.x, expected[i].x, 1e-4) << "call " << i << " x in GUI units";
        EXPECT_NEAR(got.point.y, expected[i].y, 1e-4) << "call " << i << " y in GUI units";
        EXPECT_EQ(got.button, expected[i].button) << "call " << i;
    }
    window->setRootWidget(nullptr);
    EXPECT_EQ(window->getRootWidget(), &root) << "a null root replaced the installed one";
}

TEST_F(MainWindowTest, PressCapturesTheMouseAndReleaseFreesIt)
{
    std::unique_ptr<MainWindow> window(newWindow());
    ASSERT_NE(window->getHandle(), nullptr);
    post(*window, WM_LBUTTONDOWN, MK_LBUTTON, at(10, 10));
    EXPECT_EQ(GetCapture(), window->getHandle()) << "left press did not capture";
    post(*window, WM_LBUTTONUP, 0, at(10, 10));
    EXPECT_EQ(GetCapture(), nullptr) << "left release did not free the capture";
    post(*window, WM_RBUTTONDOWN, MK_RBUTTON, at(10, 10));
    EXPECT_EQ(GetCapture(), window->getHandle()) << "right press did not capture";
    post(*window, WM_RBUTTONUP, 0, at(10, 10));
    EXPECT_EQ(GetCapture(), nullptr) << "right release did not free the capture";
}

TEST_F(MainWindowTest, MouseBeforeTheRootIsInstalledIsIgnored)
{
    std::unique_ptr<MainWindow> window(newWindow());
    ASSERT_NE(window->getHandle(), nullptr);
    auto* renderer = new vlo::test::RecordingRenderer();
    ASSERT_TRUE(window->setRenderer(renderer));
    renderer->clearCalls();
    post(*window, WM_MOUSEMOVE, 0, at(150, 150));
    post(*window, WM_LBUTTONDOWN, MK_LBUTTON, at(150, 150));
    post(*window, WM_LBUTTONUP, 0, at(150, 150));
    EXPECT_EQ(renderer->count("unproject"), 0u) << "positions were converted with no root";

    RecordingWidget root;
    root.setPosition(Vector2(0.0f, 0.0f));
    root.setSize(Vector2(7.0f, 6.0f));
    window->setRootWidget(&root);
    post(*window, WM_MOUSEMOVE, 0, at(150, 150));
    EXPECT_EQ(root.calls.size(), 1u) << "the installed root got nothing";
}

TEST_F(MainWindowTest, ShowWindowShowsOnlyOnce)
{
    std::unique_ptr<MainWindow> window(newWindow());
    ASSERT_NE(window->getHandle(), nullptr);
    window->showWindow();
    EXPECT_TRUE(window->isShown());
    EXPECT_TRUE(ShowWindow(window->getHandle(), SW_HIDE)) << "showWindow did not show it";
    window->showWindow();
    EXPECT_FALSE(ShowWindow(window->getHandle(), SW_HIDE)) << "the second showWindow showed it again";
}

TEST_F(MainWindowTest, RendererIsRefusedUnlessUsableAndGetsTheOneFont)
{
    std::unique_ptr<MainWindow> window(newWindow());
    ASSERT_NE(window->getHandle(), nullptr);
    vlo::test::RecordingRenderer failed;
    failed.status = vlo::RendererContextFailed;
    EXPECT_FALSE(window->setRenderer(&failed));
    EXPECT_EQ(window->getRenderer(), nullptr);
    EXPECT_EQ(failed.count("createFont"), 0u) << "a refused renderer got a font";
    EXPECT_FALSE(window->setRenderer(nullptr));

    auto* renderer = new vlo::test::RecordingRenderer();
    ASSERT_TRUE(window->setRenderer(renderer));
    EXPECT_EQ(window->getRenderer(), renderer);
    const auto fonts = renderer->callsOf("createFont");
    ASSERT_EQ(fonts.size(), 1u);
    EXPECT_EQ(fonts[0].text, "Courier New");
    EXPECT_EQ(fonts[0].ints, (std::vector<int>{14, 1, 0, 0})) << "height 14, bold only";
}

TEST_F(MainWindowTest, FrameClearsDrawsTheRootBetweenPushAndPop)
{
    std::unique_ptr<MainWindow> window(newWindow());
    ASSERT_NE(window->getHandle(), nullptr);
    auto* renderer = new vlo::test::RecordingRenderer();
    ASSERT_TRUE(window->setRenderer(renderer));
    renderer->clearCalls();
    window->drawFrame();
    ASSERT_EQ(renderer->calls.size(), 2u) << "without a root:\n" << renderer->transcript();
    EXPECT_EQ(renderer->calls[0].op, "clear");
    EXPECT_EQ(renderer->calls[0].floats, (std::vector<float>{1.0f, 1.0f, 1.0f, 0.5f}));
    EXPECT_EQ(renderer->calls[1].op, "loadIdentity");

    RecordingWidget root;
    root.setSize(Vector2(7.0f, 6.0f));
    window->setRootWidget(&root);
    renderer->clearCalls();
    window->drawFrame();
    const char* order[] = {"clear", "loadIdentity", "pushState", "setPointSize", "popState"};
    ASSERT_EQ(renderer->calls.size(), std::size(order)) << renderer->transcript();
    for (size_t i = 0; i < std::size(order); ++i)
        EXPECT_EQ(renderer->calls[i].op, order[i]) << "call " << i;
}

TEST_F(MainWindowTest, FirstQuitEndsTheLoopWithoutConfiguration)
{
    std::unique_ptr<MainWindow> window(newWindow());
    ASSERT_NE(window->getHandle(), nullptr);
    PostQuitMessage(4);
    EXPECT_FALSE(window->pumpMessage());
    EXPECT_FALSE(window->isQuitRequested());
    EXPECT_EQ(window->getExitCode(), 0);
}

TEST_F(MainWindowTest, RefusedClosingSequenceEndsTheLoopAtOnce)
{
    std::unique_ptr<MainWindow> window(newWindow());
    ASSERT_NE(window->getHandle(), nullptr);
    auto* config = new vlo::ShowConfig("no such file");
    config->titleTimer.start(); // the title overlay runs: no closing sequence
    window->setConfig(config);
    PostQuitMessage(0);
    EXPECT_FALSE(window->pumpMessage());
    EXPECT_FALSE(window->isQuitRequested());
    EXPECT_FALSE(config->creditsTimer.running) << "the closing sequence started anyway";
}

TEST_F(MainWindowTest, FirstQuitStartsTheClosingSequenceAndTheSecondEndsIt)
{
    std::unique_ptr<MainWindow> window(newWindow());
    ASSERT_NE(window->getHandle(), nullptr);
    auto* config = new vlo::ShowConfig("no such file");
    window->setConfig(config);
    PostQuitMessage(5);
    EXPECT_TRUE(window->pumpMessage()) << "the first quit must keep the loop going";
    EXPECT_TRUE(window->isQuitRequested());
    EXPECT_EQ(window->getExitCode(), 5);
    EXPECT_TRUE(config->creditsTimer.running) << "the credits overlay did not start";
    EXPECT_TRUE(config->quitAfterCredits);

    EXPECT_TRUE(post(*window, WM_TIMER, 0, 0)) << "frames go on during the closing sequence";
    PostQuitMessage(9);
    EXPECT_FALSE(window->pumpMessage()) << "the second quit must end the loop";
    EXPECT_EQ(window->getExitCode(), 5) << "the exit code comes from the first quit";
}

#if defined(__SANITIZE_ADDRESS__)
// Allocations made while counting is on.
bool countingAllocations = false;
size_t allocationsCounted = 0;

void countAllocation(const volatile void*, size_t)
{
    if (countingAllocations)
        ++allocationsCounted;
}

void ignoreFree(const volatile void*)
{
}
#endif

TEST_F(MainWindowTest, MainLoopAllocatesNothingPerFrame)
{
#if defined(__SANITIZE_ADDRESS__)
    std::unique_ptr<MainWindow> window(newWindow());
    ASSERT_NE(window->getHandle(), nullptr);
    auto* renderer = new vlo::test::RecordingRenderer();
    renderer->recording = false;
    ASSERT_TRUE(window->setRenderer(renderer));
    RecordingWidget root;
    root.setSize(Vector2(7.0f, 6.0f));
    window->setRootWidget(&root);
    static bool hooked = false;
    if (!hooked)
        hooked = __sanitizer_install_malloc_and_free_hooks(countAllocation, ignoreFree) != 0;
    ASSERT_TRUE(hooked);

    // A few frames first: the message queue takes its storage once.
    for (int frame = 0; frame < 10; ++frame) {
        PostMessageA(window->getHandle(), WM_TIMER, 0, 0);
        ASSERT_TRUE(window->pumpMessage());
        window->drawFrame();
    }
    // The window system answers the window's creation (its title, drop
    // support) with events that may still be on their way; reading each costs
    // the X library an allocation. GetWindowRect asks the X server, and its
    // answer comes after all of them, so one more message takes them all in.
    RECT rect{};
    ASSERT_TRUE(GetWindowRect(window->getHandle(), &rect));
    PostMessageA(window->getHandle(), WM_TIMER, 0, 0);
    ASSERT_TRUE(window->pumpMessage());
    window->drawFrame();
    allocationsCounted = 0;
    countingAllocations = true;
    for (int frame = 0; frame < 200; ++frame) {
        PostMessageA(window->getHandle(), WM_TIMER, 0, 0);
        window->pumpMessage();
        window->drawFrame();
    }
    countingAllocations = false;
    EXPECT_EQ(allocationsCounted, 0u) << "allocations in 200 frames of the main loop";
    EXPECT_EQ(root.frames, 211);
#else
    GTEST_SKIP() << "counts allocations through the address sanitizer's hooks";
#endif
}

TEST_F(MainWindowTest, RunDrawsPerMessageAndReleasesWhatItOwns)
{
    std::unique_ptr<MainWindow> window(newWindow());
    ASSERT_NE(window->getHandle(), nullptr);
    TrackedRenderer::Fate fate;
    auto* renderer = new TrackedRenderer(&fate);
    ASSERT_TRUE(window->setRenderer(renderer));
    window->setConfig(new vlo::ShowConfig("no such file"));
    // The second quit can only follow the first, as a later request does:
    // several calls before a read give a single WM_QUIT.
    QuittingWidget root;
    root.setSize(Vector2(7.0f, 6.0f));
    window->setRootWidget(&root);
    renderer->clearCalls();

    // Two ordinary messages, the quit that starts the closing sequence (and
    // gets a frame, which asks again), then the quit that ends the loop.
    PostMessageA(window->getHandle(), WM_TIMER, 0, 0);
    PostMessageA(window->getHandle(), WM_MOUSEMOVE, 0, at(10, 10));
    PostQuitMessage(7);
    PostQuitMessage(3);
    root.quitOnFrame = 3;
    const int code = window->run();
    EXPECT_EQ(code, 3) << "the last code given before the first quit was read";
    EXPECT_EQ(root.frames, 3) << "one frame per message that kept the loop going";
    EXPECT_TRUE(fate.deleted) << "run did not delete the renderer";
    EXPECT_TRUE(fate.releasedBeforeDeletion) << "the context was not released first";
    EXPECT_EQ(window->getRenderer(), nullptr);
    EXPECT_EQ(window->getConfig(), nullptr);
    EXPECT_EQ(window->getPlayer(), nullptr);
}

TEST_F(MainWindowTest, QuitWhileTheShowLoadsGivesUpTheStartAndRunOnlyReleases)
{
    std::unique_ptr<MainWindow> window(newWindow());
    ASSERT_NE(window->getHandle(), nullptr);
    TrackedRenderer::Fate fate;
    ASSERT_TRUE(window->setRenderer(new TrackedRenderer(&fate)));

    // Messages that ask nothing are answered and the start goes on.
    PostMessageA(window->getHandle(), WM_TIMER, 0, 0);
    PostMessageA(window->getHandle(), WM_KEYDOWN, 'A', 0);
    EXPECT_FALSE(window->answerDuringStart());
    EXPECT_FALSE(window->isStartAbandoned());

    // The close request: the window procedure posts the quit, which is
    // taken in the same call.
    PostMessageA(window->getHandle(), WM_CLOSE, 0, 0);
    EXPECT_TRUE(window->answerDuringStart()) << "the close request was not answered";
    EXPECT_TRUE(window->isStartAbandoned());
    EXPECT_TRUE(window->answerDuringStart()) << "a given-up start came back";
    EXPECT_FALSE(window->isQuitRequested()) << "a closing sequence was started before anything was shown";

    EXPECT_EQ(window->run(), 0);
    EXPECT_TRUE(fate.deleted) << "run did not release the renderer";
    EXPECT_EQ(window->getRenderer(), nullptr);
}

TEST_F(MainWindowTest, EscapeWhileTheShowLoadsGivesUpTheStartButNotOnceShown)
{
    std::unique_ptr<MainWindow> window(newWindow());
    ASSERT_NE(window->getHandle(), nullptr);
    PostMessageA(window->getHandle(), WM_KEYDOWN, VK_ESCAPE, 0);
    EXPECT_TRUE(window->answerDuringStart()) << "Escape was not answered";
    drain();

    window.reset();
    std::unique_ptr<MainWindow> shown(newWindow());
    ASSERT_NE(shown->getHandle(), nullptr);
    shown->showWindow();
    PostMessageA(shown->getHandle(), WM_CLOSE, 0, 0);
    EXPECT_FALSE(shown->answerDuringStart()) << "the running window's messages were taken";
    EXPECT_FALSE(shown->isStartAbandoned());
    EXPECT_TRUE(shown->pumpMessage()) << "the close request stays for the main loop";
    EXPECT_TRUE(quitIsQueued());
}

} // namespace
