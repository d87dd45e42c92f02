// Dropping resident code pages: code mappings leave the resident set and
// still run; relocated constants, vtables and written data keep their
// values; the trim drops again only once the shared pages have grown.
#include <gtest/gtest.h>

#include <fcntl.h>
#include <sys/mman.h>
#include <unistd.h>

#include <algorithm>
#include <cstdint>
#include <cstdio>
#include <numeric>
#include <string>
#include <vector>

#include "platform/sdl/ResidentCode.h"
#include "support/ScratchDir.h"

namespace vlo::sdl {
namespace {

size_t pageSize()
{
    return size_t(sysconf(_SC_PAGESIZE));
}

struct Shape {
    virtual ~Shape() = default;
    virtual int corners() const = 0;
};
struct Triangle : Shape {
    int corners() const override { return 3; }
};
struct Square : Shape {
    int corners() const override { return 4; }
};

// A file of `bytes` bytes mapped readable and executable, as a library's
// code is; every page read once, so that all of them are resident.
class CodeLikeMapping {
public:
    CodeLikeMapping(const std::string& path, size_t bytes)
        : length(bytes)
    {
        std::vector<char> fill(bytes, '\x5a');
        FILE* file = std::fopen(path.c_str(), "wb");
        if (file == nullptr)
            return;
        const bool written = std::fwrite(fill.data(), 1, fill.size(), file) == fill.size();
        std::fclose(file);
        const int fd = written ? open(path.c_str(), O_RDONLY) : -1;
        if (fd < 0)
            return;
        void* mapped = mmap(nullptr, length, PROT_READ | PROT_EXEC, MAP_PRIVATE, fd, 0);
        close(fd);
        if (mapped != MAP_FAILED)
            start = static_cast<const volatile char*>(mapped);
    }
    ~CodeLikeMapping()
    {
        if (start != nullptr)
            munmap(const_cast<char*>(start), length);
    }
    CodeLikeMapping(const CodeLikeMapping&) = delete;
    CodeLikeMapping& operator=(const CodeLikeMapping&) = delete;

    bool valid() const { return start != nullptr; }

    // Reads one byte of every page of the first `bytes`; the sum of what was read.
    long touch(size_t bytes) const
    {
        long sum = 0;
        for (size_t at = 0; at < std::min(bytes, length); at += pageSize())
            sum += start[at];
        return sum;
    }

private:
    const volatile char* start = nullptr;
    size_t length;
};

TEST(ResidentCodeTest, CodeLeavesTheResidentSetAndRunsOn)
{
    // Sorting and formatting run code of the C and C++ libraries first.
    std::vector<int> numbers(1000);
    std::iota(numbers.rbegin(), numbers.rend(), 0);
    std::sort(numbers.begin(), numbers.end());
    const size_t before = residentSharedPages();
    ASSERT_GT(before, 0u) << "no resident shared pages read";

    dropResidentCode();
    const size_t after = residentSharedPages();
    EXPECT_LT(after + 64, before) << "expected at least 64 pages fewer than " << before << ", got " << after;

    std::vector<int> again(1000);
    std::iota(again.rbegin(), again.rend(), 0);
    std::sort(again.begin(), again.end());
    EXPECT_EQ(again, numbers);
    char text[32];
    std::snprintf(text, sizeof text, "%d-%s", 42, "code");
    EXPECT_STREQ(text, "42-code");
}

TEST(ResidentCodeTest, RelocatedAndWrittenDataKeepTheirValues)
{
    // Pointers in constant tables and vtables are relocated at load time:
    // the file holds other bytes than memory does.
    static const char* const names[] = {"kindling", "ashen road", "ember tide"};
    static int (*const functions[])(int) = {&::abs};
    static int written = 1;
    written = 7;
    const Triangle triangle;
    const Square square;
    const Shape* shapes[] = {&triangle, &square};
    const std::vector<const char*> namesBefore(std::begin(names), std::end(names));

    dropResidentCode();

    EXPECT_EQ(std::vector<const char*>(std::begin(names), std::end(names)), namesBefore);
    EXPECT_STREQ(names[1], "ashen road");
    EXPECT_EQ(functions[0](-5), 5);
    EXPECT_EQ(written, 7);
    EXPECT_EQ(shapes[0]->corners(), 3);
    EXPECT_EQ(shapes[1]->corners(), 4);
}

TEST(ResidentCodeTest, TrimDropsAgainOnlyAfterGrowth)
{
    test::ScratchDir scratch("residentcode");
    const size_t bytes = size_t(48) * 1024 * 1024;
    CodeLikeMapping mapping(scratch.path("code.bin"), bytes);
    if (!mapping.valid())
        GTEST_SKIP() << "the scratch folder cannot be mapped executable";
    const size_t pages = bytes / pageSize();

    ResidentCodeTrim trim;
    trim.afterContextCreated();
    // The first present after the context drops again; the next one only
    // notes the level the code that runs again brought back.
    trim.afterPresent();
    trim.afterPresent();
    const size_t settled = residentSharedPages();

    // Half a MiB back in (with the test's own code that runs again): less
    // than the growth that makes a present drop.
    EXPECT_EQ(mapping.touch(512 * 1024), long(0x5a) * long(512 * 1024 / pageSize()));
    const size_t small = residentSharedPages();
    trim.afterPresent();
    EXPECT_GE(residentSharedPages() + 16, small) << "dropped after a growth of " << (small - settled) << " pages";

    // All 48 MiB back in: the next present drops them.
    EXPECT_EQ(mapping.touch(bytes), long(0x5a) * long(pages));
    const size_t grown = residentSharedPages();
    EXPECT_GE(grown, settled + pages * 3 / 4) << "the mapping did not become resident";
    trim.afterPresent();
    const size_t dropped = residentSharedPages();
    EXPECT_LT(dropped + pages * 3 / 4, grown)
        << "expected the " << pages << " pages gone from " << grown << ", got " << dropped;

    // What comes back in before the first present after that drop is the
    // new settled level: neither that present nor the next drops it again.
    EXPECT_EQ(mapping.touch(bytes), long(0x5a) * long(pages));
    const size_t back = residentSharedPages();
    trim.afterPresent();
    trim.afterPresent();
    EXPECT_GE(residentSharedPages() + 16, back) << "dropped again with no new growth";
}

} // namespace
} // namespace vlo::sdl
