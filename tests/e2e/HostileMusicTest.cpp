// Music lines that name no regular file: a device that never ends
// (/dev/zero), a FIFO that nobody writes and a folder. The viewer refuses
// each before opening it, skips the tracks as unplayable, keeps its window
// answering and quits on Escape within a second, all within a memory bound.
#include <gtest/gtest.h>
#include <sys/resource.h>
#include <sys/stat.h>

#include <filesystem>
#include <fstream>

#include "support/E2eProgram.h"
#include "support/E2eShow.h"

#if defined(__SANITIZE_ADDRESS__)
#define VLO_UNDER_ASAN 1
#elif defined(__has_feature)
#if __has_feature(address_sanitizer)
#define VLO_UNDER_ASAN 1
#endif
#endif

namespace vlo {
namespace {

using namespace e2e;

// Far below what reading /dev/zero whole takes (gigabytes within seconds),
// well above what the viewer needs with the sanitizers' shadow memory.
constexpr long kViewerMemoryMb = 1200;
// The exit status the sanitizer gives when the bound is passed.
constexpr int kMemoryBoundExceeded = 66;

// Peak resident size of the process so far, in megabytes; -1 once gone.
long peakResidentMb(pid_t pid)
{
    std::ifstream status("/proc/" + std::to_string(pid) + "/status");
    std::string line;
    while (std::getline(status, line))
        if (line.rfind("VmHWM:", 0) == 0)
            return std::stol(line.substr(6)) / 1024;
    return -1;
}

TEST(HostileMusic, DevicesFifosAndFoldersAreSkippedAndEscapeStillQuits)
{
    if (displayName().empty())
        GTEST_SKIP() << "no X display (DISPLAY is not set)";
    test::ScratchDir folder{"e2e-hostile-music"};
    show::ShowContent content = show::standardShow(3);
    content.tracks[0].music = "/dev/zero";
    content.tracks[1].music = "music/pipe.wav";
    content.tracks[2].music = "music/folder.wav";
    folder.write("data.zuo", content.archive());
    std::filesystem::create_directories(folder.path("music/folder.wav"));
    ASSERT_EQ(0, mkfifo(folder.path("music/pipe.wav").c_str(), 0600));

    std::vector<std::string> environment = {"SDL_AUDIODRIVER=dummy"};
#ifdef VLO_UNDER_ASAN
    // The sanitizer's shadow memory rules out an address-space limit: it
    // bounds the resident size itself and ends the program past it.
    environment.push_back("ASAN_OPTIONS=detect_leaks=0:hard_rss_limit_mb=" + std::to_string(kViewerMemoryMb)
        + ":exitcode=" + std::to_string(kMemoryBoundExceeded));
    Program program(VLO_BINARY_DIR "/vellumo", folder.path(), environment);
#else
    // The child inherits the limit; this process needs no more meanwhile.
    rlimit previous{};
    getrlimit(RLIMIT_AS, &previous);
    rlimit bounded = previous;
    bounded.rlim_cur = rlim_t(kViewerMemoryMb) << 20;
    setrlimit(RLIMIT_AS, &bounded);
    Program program(VLO_BINARY_DIR "/vellumo", folder.path(), environment);
    setrlimit(RLIMIT_AS, &previous);
#endif
    const WindowInfo window = program.waitForWindow("Emberfall II", 30.0);
    ASSERT_TRUE(window.found) << program.errorOutput();
    // Every entry has been tried by now; the title is still on.
    sleepSeconds(2.0);
    ASSERT_TRUE(program.running()) << "ended by itself, status " << program.exitStatus()
                                   << "; stderr: " << program.errorOutput();
    const long peak = peakResidentMb(program.processId());
    keyTo(window.id, "Escape");
    ASSERT_TRUE(program.waitExit(1.0)) << "Escape was not answered within a second";
    EXPECT_FALSE(program.crashed());
    EXPECT_EQ(program.exitStatus(), 0) << program.errorOutput();
    EXPECT_GT(peak, 0);
    EXPECT_LT(peak, kViewerMemoryMb) << "peak resident size in MB";
    EXPECT_EQ(leftoverExtractionFiles(folder), "");
}

} // namespace
} // namespace vlo
