// The three per-frame handlers (page logic, picture fade, button slide) run
// a hundred times a second: they allocate nothing, except on the frames that
// load a picture (a track change, the first credits frame). Allocations are
// counted through the sanitizer runtime's allocation hook, on this thread
// only, inside the handlers; without AddressSanitizer the tests are skipped.
#include <gtest/gtest.h>

#include <cstddef>
#include <memory>

#include "frontend/PageStep.h"
#include "frontend/PanelSlide.h"
#include "frontend/PictureFade.h"
#include "support/ShowScreenHarness.h"
#include "widgets/StaticWidget.h"
#include "widgets/TriggerEvent.h"

#if defined(__SANITIZE_ADDRESS__)
#define VLO_COUNT_ALLOCATIONS 1
// In the sanitizer runtime, though not in every compiler's headers.
extern "C" int __sanitizer_install_malloc_and_free_hooks(
    void (*onAllocate)(const volatile void*, size_t), void (*onRelease)(const volatile void*));
#endif

namespace {

thread_local bool countingHere = false;
long allocations = 0;

#ifdef VLO_COUNT_ALLOCATIONS
void countAllocation(const volatile void*, size_t)
{
    if (countingHere)
        ++allocations;
}
void ignoreRelease(const volatile void*)
{
}

// The hook is installed once for the process; it counts only while a
// handler runs with counting switched on.
bool installCounter()
{
    static const bool installed = __sanitizer_install_malloc_and_free_hooks(countAllocation, ignoreRelease) != 0;
    return installed;
}
#else
bool installCounter()
{
    return false;
}
#endif

} // namespace

namespace vlo {
namespace {

using test::ShowScreenHarness;

// Runs the real handler with counting switched on around it.
class CountingHandler : public WidgetHandler {
public:
    explicit CountingHandler(WidgetHandler* handler)
        : inner(handler)
    {
    }
    int kind() override { return inner->kind(); }
    bool invoke(Widget* sender, const WidgetEvent& event) override
    {
        countingHere = enabled;
        const bool result = inner->invoke(sender, event);
        countingHere = false;
        return result;
    }

    static bool enabled;

private:
    std::unique_ptr<WidgetHandler> inner;
};
bool CountingHandler::enabled = false;

// An audio library that plays forever and records nothing (the recording
// back end allocates for every call it records).
BOOL quietInit(int, DWORD, DWORD, HWND, const void*)
{
    return TRUE;
}
HSTREAM quietCreate(BOOL, const void*, DWORD, DWORD, DWORD)
{
    return 1;
}
BOOL quietAttributes(DWORD, int, int, int)
{
    return TRUE;
}
BOOL quietHandle(DWORD)
{
    return TRUE;
}
BOOL quietPlay(DWORD, BOOL)
{
    return TRUE;
}
DWORD quietActive(DWORD)
{
    return BASS_ACTIVE_PLAYING;
}
BOOL quietNone()
{
    return TRUE;
}
const AudioBackend quietAudio = {quietInit, quietCreate, quietAttributes, quietPlay, quietHandle, quietHandle,
    quietActive, quietHandle, quietNone, quietNone};

class FrameHandlersAllocationTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        if (!installCounter())
            GTEST_SKIP() << "allocations are counted through AddressSanitizer's hooks";
        // The handlers keep their state in the screen, so fresh ones carry on
        // exactly where the originals were.
        s.pageTrigger->setHandler(new CountingHandler(new PageStep(&s)));
        s.fadeTrigger->setHandler(new CountingHandler(new PictureFade(&s)));
        s.slideTrigger->setHandler(new CountingHandler(new PanelSlide(&s)));
        setAudioBackend(&quietAudio);
    }
    void TearDown() override { CountingHandler::enabled = false; }

    long countOver(float seconds)
    {
        allocations = 0;
        CountingHandler::enabled = true;
        h.runUntil(h.now() + seconds, seconds > 0.05f ? 50 : 10);
        CountingHandler::enabled = false;
        return allocations;
    }

    ShowScreenHarness h{show::standardShow(3)};
    ShowScreen& s = *h.screen;
};

TEST_F(FrameHandlersAllocationTest, TitleCaptionFadeAndSlideAllocateNothing)
{
    // Caption reveal at 3.4 s, the fade in, the title's end and the slide in.
    EXPECT_EQ(countOver(11.0f), 0) << "allocations during the first 11 s";
    ASSERT_FALSE(s.panelAway);
    ASSERT_EQ(s.picture->backgroundColor.a, 1.0f);
}

TEST_F(FrameHandlersAllocationTest, CreditsRunAllocatesOnlyOnItsFirstFrame)
{
    h.fastForward(11.0f);
    ASSERT_TRUE(h.config->startCreditsOverlay(false));
    h.step(); // loads the credits picture
    ASSERT_TRUE(s.pageState.creditsLoaded);
    EXPECT_EQ(countOver(11.0f), 0) << "allocations while credits ran and the buttons left and came back";
    ASSERT_FALSE(s.panelAway);
}

TEST_F(FrameHandlersAllocationTest, CountingSeesAnAllocation)
{
    // The counter works: a frame that loads a picture does allocate.
    h.fastForward(11.0f);
    ASSERT_TRUE(h.config->startCreditsOverlay(false));
    EXPECT_GT(countOver(0.01f), 0) << "the credits picture's load was not counted";
}

} // namespace
} // namespace vlo
