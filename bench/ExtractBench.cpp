// Extraction of one 64 MiB archive entry, next to copying the same number of
// bytes with cp, in the same run and on the same disk. Both copy from a warm
// page cache into a new file beside the source.
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <string>

#include <benchmark/benchmark.h>

#include "content/ArchiveFS.h"
#include "support/ArchiveBytes.h"
#include "support/ScratchDir.h"

namespace {

constexpr uint32_t kEntrySize = 64u << 20;

// Writes, once, an archive holding one 64 MiB entry and a plain file of the
// same bytes; the archive stays open for the whole run.
struct Fixture {
    vlo::test::ScratchDir dir{"extractbench"};
    std::string plainPath;

    Fixture()
    {
        std::string data(kEntrySize, '\0');
        uint32_t state = 12345;
        for (char& c : data) {
            state = state * 1664525u + 1013904223u;
            c = char(state >> 24);
        }
        vlo::test::ArchiveBytes archive;
        archive.magic().record("big.bin", kEntrySize, 4 + 4 + 8 + 8 + 4).end();
        {
            std::ofstream out(dir.path("data.zuo"), std::ios::binary);
            out.write(archive.bytes.data(), std::streamsize(archive.bytes.size()));
            out.write(data.data(), std::streamsize(data.size()));
        }
        plainPath = dir.path("plain.bin");
        std::ofstream(plainPath, std::ios::binary).write(data.data(), std::streamsize(data.size()));
        vlo::ArchiveFS::init(dir.path("data.zuo"));
    }
    ~Fixture() { vlo::ArchiveFS::shutdown(); }
};

Fixture& fixture()
{
    static Fixture instance;
    return instance;
}

void BM_ArchiveExtract64MiB(benchmark::State& state)
{
    fixture();
    for (auto _ : state) {
        const std::string path = vlo::ArchiveFS::extract("big.bin");
        if (std::filesystem::file_size(path) != kEntrySize) {
            state.SkipWithError("the extraction file does not hold 64 MiB");
            break;
        }
        vlo::ArchiveFS::removeExtracted();
    }
    state.SetBytesProcessed(int64_t(state.iterations()) * kEntrySize);
}
BENCHMARK(BM_ArchiveExtract64MiB)->Unit(benchmark::kMillisecond)->UseRealTime();

void BM_CopyWithCp64MiB(benchmark::State& state)
{
    const Fixture& f = fixture();
    const std::string copy = f.dir.path("copy.bin");
    const std::string command = "cp '" + f.plainPath + "' '" + copy + "'";
    for (auto _ : state) {
        if (std::system(command.c_str()) != 0) {
            state.SkipWithError("cp failed");
            break;
        }
        std::filesystem::remove(copy);
    }
    state.SetBytesProcessed(int64_t(state.iterations()) * kEntrySize);
}
BENCHMARK(BM_CopyWithCp64MiB)->Unit(benchmark::kMillisecond)->UseRealTime();

} // namespace
