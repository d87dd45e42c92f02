// Half an hour of a show whose tracks last 5 s each, on the fake clock, on
// the real show screen and OpenGL renderer (needs DISPLAY): the wall-clock
// time it takes, and the resident memory at the end against the first
// minute (counters rss_growth_MiB and heap_growth_MiB; flat means within 2).

#include <benchmark/benchmark.h>

#include <malloc.h>
#include <unistd.h>

#include <cstdio>

#include "support/ShowScreenHarness.h"

namespace {

constexpr uint32_t trackMs = 5000;
constexpr uint32_t frameMs = 20;

double residentMiB()
{
    FILE* statm = std::fopen("/proc/self/statm", "r");
    if (statm == nullptr)
        return 0.0;
    unsigned long size = 0;
    unsigned long resident = 0;
    const int read = std::fscanf(statm, "%lu %lu", &size, &resident);
    std::fclose(statm);
    return read == 2 ? double(resident) * double(sysconf(_SC_PAGESIZE)) / (1024.0 * 1024.0) : 0.0;
}

double heapMiB()
{
    return double(mallinfo2().uordblks) / (1024.0 * 1024.0);
}

void BM_HalfHourOfTrackChanges(benchmark::State& state)
{
    double rssGrowth = 0.0;
    double heapGrowth = 0.0;
    for (auto _ : state) {
        vlo::test::ShowScreenHarness h{vlo::show::standardShow(3)};
        if (!h.rendererAccepted) {
            state.SkipWithError("no OpenGL renderer (is DISPLAY set?)");
            return;
        }
        h.audio.defaultLengthMs = trackMs;
        h.audio.streams[h.stream()].lengthMs = trackMs;
        // The recording back end keeps every call it saw; that record is
        // the fixture's, not the program's, so it is emptied each minute.
        auto forgetCalls = [&h] {
            h.audio.calls.clear();
            h.audio.calls.shrink_to_fit();
        };
        h.runUntil(60.0f, frameMs);
        forgetCalls();
        const double rss = residentMiB();
        const double heap = heapMiB();
        for (int minute = 2; minute <= 30; ++minute) {
            h.runUntil(60.0f * float(minute), frameMs);
            forgetCalls();
        }
        rssGrowth = residentMiB() - rss;
        heapGrowth = heapMiB() - heap;
    }
    state.counters["rss_growth_MiB"] = rssGrowth;
    state.counters["heap_growth_MiB"] = heapGrowth;
}
BENCHMARK(BM_HalfHourOfTrackChanges)->Iterations(1)->Unit(benchmark::kSecond)->UseRealTime();

} // namespace
