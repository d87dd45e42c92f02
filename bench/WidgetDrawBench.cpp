// One frame of a widget tree shaped like the show screen (25 widgets: the
// desktop, the background with three triggers, the track picture with its
// three-item popup menu, the caption, the player panel with four buttons and
// a window button), drawn through a renderer that records nothing. Besides the
// time per frame it counts the heap allocations of a frame, which must be
// zero when nothing changed: the frame loop runs this 100 times a second.

#include <benchmark/benchmark.h>

#include <atomic>
#include <cstddef>
#include <cstdlib>
#include <new>

#include "support/RecordingRenderer.h"
#include "widgets/DesktopWidget.h"
#include "widgets/FrameWidget.h"
#include "widgets/PopupMenuWidget.h"
#include "widgets/PushButtonWidget.h"
#include "widgets/StaticWidget.h"
#include "widgets/TriggerEvent.h"

namespace {

// Every operator new of the process goes through here; only the measured
// stretches are counted.
std::atomic<bool> counting{false};
std::atomic<size_t> allocations{0};

void* allocate(std::size_t size)
{
    if (counting.load(std::memory_order_relaxed)) {
        allocations.fetch_add(1, std::memory_order_relaxed);
    }
    if (void* block = std::malloc(size == 0 ? 1 : size)) {
        return block;
    }
    throw std::bad_alloc();
}

} // namespace

void* operator new(std::size_t size)
{
    return allocate(size);
}
void* operator new[](std::size_t size)
{
    return allocate(size);
}
void operator delete(void* block) noexcept
{
    std::free(block);
}
void operator delete[](void* block) noexcept
{
    std::free(block);
}
void operator delete(void* block, std::size_t) noexcept
{
    std::free(block);
}
void operator delete[](void* block, std::size_t) noexcept
{
    std::free(block);
}

namespace {

using vlo::Vector2;

// A per-frame handler that only counts its calls, like the screen's triggers
// without their work.
class FrameCounter : public vlo::WidgetHandler {
public:
    explicit FrameCounter(int kind)
        : kind_(kind)
    {
    }
    int kind() override { return kind_; }
    bool invoke(vlo::Widget*, const vlo::WidgetEvent&) override
    {
        ++calls;
        return true;
    }
    long calls = 0;

private:
    int kind_;
};

struct ShowLikeScreen {
    explicit ShowLikeScreen(vlo::test::RecordingRenderer& renderer)
    {
        const int mask = renderer.addTexture(700, 600);
        const int trackPicture = renderer.addTexture(700, 360);
        const int caption = renderer.addTexture(420, 90);
        const int buttonOff = renderer.addTexture(64, 32);
        const int buttonOn = renderer.addTexture(64, 32);

        desktop = new vlo::DesktopWidget(nullptr, "");
        desktop->setMargin(0.0f);
        desktop->fitToView(renderer);
        desktop->setFillColor(vlo::Color(0.0f, 0.0f, 0.0f, 0.0f));

        auto* background = new vlo::StaticWidget(desktop, "");
        background->setBackgroundAlpha(1.0f);
        background->setFlowExcluded();
        background->setBlendFactors(1, 0);
        background->setBackgroundImage(renderer, mask);
        for (int i = 0; i < 3; ++i) {
            auto* trigger = new vlo::TriggerEvent(background, "");
            trigger->setHandler(counter = new FrameCounter(vlo::Draw));
        }

        auto* picture = new vlo::StaticWidget(desktop, "");
        picture->setFlowExcluded();
        picture->setPosition(Vector2(0.0f, 1.05f));
        picture->setBackgroundImage(renderer, trackPicture);
        picture->setBackgroundAlpha(1.0f);
        menu = new vlo::PopupMenuWidget(nullptr, "");
        picture->setPopup(menu);
        menu->addItem("Minimize", new FrameCounter(vlo::MouseUp));
        menu->addItem("Credits", new FrameCounter(vlo::MouseUp));
        menu->addItem("Exit", new FrameCounter(vlo::MouseUp));

        auto* captionPanel = new vlo::StaticWidget(desktop, "");
        captionPanel->setFlowExcluded();
        captionPanel->setBackgroundImage(renderer, caption);
        captionPanel->setBackgroundAlpha(1.0f);
        captionPanel->hide();

        desktop->setAlignment(vlo::BottomRight);
        auto* panel = new vlo::FrameWidget(desktop, "");
        panel->setLineWidth(0.0f);
        panel->setAlpha(0.0f);
        panel->setSize(Vector2(5.8f, 1.35f));
        for (int i = 0; i < 4; ++i) {
            auto* button = new vlo::PushButtonWidget(panel, "");
            button->setImage(renderer, buttonOff);
            button->setPressedImage(renderer, buttonOn);
            button->setHandler(new FrameCounter(vlo::MouseDown));
            playButton = playButton != nullptr ? playButton : button;
        }
        auto* exitButton = new vlo::PushButtonWidget(desktop, "");
        exitButton->setFlowExcluded();
        exitButton->setPosition(Vector2(6.6f, 0.1f));
        exitButton->setImage(renderer, buttonOff);

        // The frame loop's first frame lays everything out.
        desktop->layoutDirty = true;
        desktop->updateLayout();
        desktop->draw(renderer);
    }
    ~ShowLikeScreen() { delete desktop; }

    int widgetCount() const { return count(desktop); }
    static int count(const vlo::Widget* w)
    {
        int n = 1;
        for (const vlo::Widget* child : w->children) {
            n += count(child);
        }
        return n;
    }

    vlo::DesktopWidget* desktop = nullptr;
    vlo::PopupMenuWidget* menu = nullptr;
    vlo::PushButtonWidget* playButton = nullptr;
    FrameCounter* counter = nullptr;
};

void reportAllocations(benchmark::State& state, size_t counted, int widgets)
{
    state.counters["widgets"] = widgets;
    state.counters["allocs_per_iteration"]
        = benchmark::Counter(static_cast<double>(counted), benchmark::Counter::kAvgIterations);
    if (counted != 0) {
        state.SkipWithError("the pass allocated on the heap");
    }
}

// The frame loop's part of a frame: the root's updateLayout and draw.
void BM_DrawFrame(benchmark::State& state)
{
    vlo::test::RecordingRenderer renderer;
    renderer.recording = false;
    ShowLikeScreen screen(renderer);
    allocations = 0;
    counting = true;
    for (auto _ : state) {
        screen.desktop->updateLayout();
        screen.desktop->draw(renderer);
    }
    counting = false;
    benchmark::DoNotOptimize(screen.counter->calls);
    reportAllocations(state, allocations.load(), screen.widgetCount());
}
BENCHMARK(BM_DrawFrame);

// The same frame with the popup menu open: the menu and its items are drawn too.
void BM_DrawFrameMenuOpen(benchmark::State& state)
{
    vlo::test::RecordingRenderer renderer;
    renderer.recording = false;
    ShowLikeScreen screen(renderer);
    screen.menu->showAt(Vector2(2.0f, 2.0f));
    screen.desktop->draw(renderer);
    allocations = 0;
    counting = true;
    for (auto _ : state) {
        screen.desktop->updateLayout();
        screen.desktop->draw(renderer);
    }
    counting = false;
    reportAllocations(state, allocations.load(), screen.widgetCount());
    vlo::popupOpen = false;
}
BENCHMARK(BM_DrawFrameMenuOpen);

// Mouse input between frames: a move over the play button, a press and a
// release there, dispatched from the root.
void BM_DispatchClick(benchmark::State& state)
{
    vlo::test::RecordingRenderer renderer;
    renderer.recording = false;
    ShowLikeScreen screen(renderer);
    const vlo::Rect r = screen.playButton->rect();
    const Vector2 onButton((r.x1() + r.x2()) * 0.5f, (r.y1() + r.y2()) * 0.5f);
    allocations = 0;
    counting = true;
    for (auto _ : state) {
        screen.desktop->onMouseMove(onButton);
        screen.desktop->onMouseDown(onButton, vlo::LeftButton);
        screen.desktop->onMouseUp(onButton, vlo::LeftButton);
    }
    counting = false;
    benchmark::DoNotOptimize(screen.playButton->pressed);
    reportAllocations(state, allocations.load(), screen.widgetCount());
}
BENCHMARK(BM_DispatchClick);

} // namespace
