#include "render/codecs/PngCodec.h"

#include <gtest/gtest.h>

#include <string>

#include "render/codecs/DecodeResult.h"
#include "support/LargestAllocation.h"

namespace vlo {
namespace {

using fixtures::Bytes;
using fixtures::pngFile;
using fixtures::PngSpec;
using Decoded = fixtures::DecodeResult;

Decoded decode(const Bytes& bytes)
{
    PngCodec codec;
    return fixtures::decodeBytes(codec, bytes);
}

// Encodes the described picture and decodes the result; fails the test when libpng could
// not write the fixture.
Decoded roundTrip(const PngSpec& spec)
{
    const Bytes file = pngFile(spec);
    EXPECT_FALSE(file.empty()) << "libpng could not write the fixture";
    return decode(file);
}

void expectBytes(const Decoded& d, const Bytes& expected, const char* what)
{
    ASSERT_NE(nullptr, d.pixels) << what;
    for (size_t i = 0; i < expected.size(); ++i)
        EXPECT_EQ(expected[i], d.pixels[i]) << what << ": byte " << i;
}

PngSpec palette2x1(bool withTrns)
{
    PngSpec spec;
    spec.width = 2;
    spec.height = 1;
    spec.colourType = PNG_COLOR_TYPE_PALETTE;
    spec.palette = {10, 20, 30, 200, 150, 100};
    spec.rows = {1, 0};
    if (withTrns)
        spec.trns = {77};
    return spec;
}

TEST(PngCodec, Describes)
{
    PngCodec codec;
    EXPECT_STREQ("Portable Network Graphics", codec.name());
    EXPECT_EQ(1, codec.extensionCount());
    EXPECT_STREQ("png", codec.extension(0));
    EXPECT_STREQ("", codec.extension(1));
    EXPECT_FALSE(codec.canSave());
    const unsigned char pixel[4] = {};
    EXPECT_FALSE(codec.save(nullptr, 1, 1, 32, pixel));
}

TEST(PngCodec, PaletteWithoutTransparencyIsTwentyFourBits)
{
    const Decoded d = roundTrip(palette2x1(false));
    ASSERT_NE(nullptr, d.pixels);
    EXPECT_EQ(2, d.width);
    EXPECT_EQ(1, d.height);
    EXPECT_EQ(24, d.bits);
    expectBytes(d, {200, 150, 100, 10, 20, 30}, "palette entries 1 then 0");
}

TEST(PngCodec, PaletteWithTransparencyIsThirtyTwoBits)
{
    const Decoded d = roundTrip(palette2x1(true));
    ASSERT_NE(nullptr, d.pixels);
    EXPECT_EQ(32, d.bits);
    // tRNS covers entry 0 only; entry 1 is opaque.
    expectBytes(d, {200, 150, 100, 255, 10, 20, 30, 77}, "palette with alpha");
}

TEST(PngCodec, SixteenBitRgbIsCutToTwentyFourBits)
{
    PngSpec spec;
    spec.width = 1;
    spec.height = 2;
    spec.bitDepth = 16;
    spec.rows = {0x12, 0x34, 0x56, 0x78, 0x9A, 0xBC, 0xFE, 0xDC, 0xBA, 0x98, 0x76, 0x54};
    const Decoded d = roundTrip(spec);
    ASSERT_NE(nullptr, d.pixels);
    EXPECT_EQ(24, d.bits);
    EXPECT_EQ(2, d.height);
    expectBytes(d, {0x12, 0x56, 0x9A, 0xFE, 0xBA, 0x76}, "high bytes, top row first");
}

TEST(PngCodec, GreyIsEightBits)
{
    PngSpec spec;
    spec.width = 3;
    spec.height = 1;
    spec.colourType = PNG_COLOR_TYPE_GRAY;
    spec.rows = {0, 128, 255};
    const Decoded d = roundTrip(spec);
    EXPECT_EQ(8, d.bits);
    expectBytes(d, {0, 128, 255}, "grey");
}

TEST(PngCodec, LowDepthGreyIsExpandedToEightBits)
{
    PngSpec spec;
    spec.width = 8;
    spec.height = 1;
    spec.bitDepth = 1;
    spec.colourType = PNG_COLOR_TYPE_GRAY;
    spec.rows = {0xA0}; // 1 0 1 0 0 0 0 0
    const Decoded d = roundTrip(spec);
    EXPECT_EQ(8, d.bits);
    expectBytes(d, {255, 0, 255, 0, 0, 0, 0, 0}, "one-bit grey scaled to 0..255");
}

TEST(PngCodec, GreyWithAlphaStaysSixteenBits)
{
    PngSpec spec;
    spec.width = 2;
    spec.height = 1;
    spec.colourType = PNG_COLOR_TYPE_GRAY_ALPHA;
    spec.rows = {90, 255, 180, 40};
    const Decoded d = roundTrip(spec);
    EXPECT_EQ(16, d.bits) << "grey and alpha are left for the texture loader to convert";
    expectBytes(d, {90, 255, 180, 40}, "grey then alpha");
}

TEST(PngCodec, GreyWithTransparencyGainsAlpha)
{
    PngSpec spec;
    spec.width = 2;
    spec.height = 1;
    spec.colourType = PNG_COLOR_TYPE_GRAY;
    spec.rows = {7, 8};
    spec.hasTrnsColour = true;
    spec.trnsColour.gray = 7;
    const Decoded d = roundTrip(spec);
    EXPECT_EQ(16, d.bits);
    expectBytes(d, {7, 0, 8, 255}, "grey 7 is the transparent one");
}

TEST(PngCodec, RgbaIsThirtyTwoBits)
{
    PngSpec spec;
    spec.width = 1;
    spec.height = 1;
    spec.colourType = PNG_COLOR_TYPE_RGBA;
    spec.rows = {1, 2, 3, 4};
    const Decoded d = roundTrip(spec);
    EXPECT_EQ(32, d.bits);
    expectBytes(d, {1, 2, 3, 4}, "RGBA");
}

TEST(PngCodec, InterlacedFileIsMergedIntoWholeRows)
{
    PngSpec spec;
    spec.width = 9;
    spec.height = 9;
    spec.interlaced = true;
    spec.rows = fixtures::testPattern(9, 9, 3);
    const Decoded d = roundTrip(spec);
    EXPECT_EQ(24, d.bits);
    expectBytes(d, spec.rows, "interlaced RGB");
}

TEST(PngCodec, DamagedFilesReturnNull)
{
    PngSpec spec;
    spec.width = 16;
    spec.height = 16;
    spec.rows = fixtures::testPattern(16, 16, 3);
    const Bytes valid = pngFile(spec);
    ASSERT_GT(valid.size(), 60u);

    Bytes badSignature = valid;
    badSignature[1] = 'Q';
    Bytes badHeaderCrc = valid;
    badHeaderCrc[29] ^= 0xFF; // the IHDR CRC follows the 13 data bytes at offset 16
    Bytes cut(valid.begin(), valid.begin() + valid.size() / 2);
    const std::string text(valid.begin(), valid.end());
    const size_t idat = text.find("IDAT");
    ASSERT_NE(std::string::npos, idat) << "no IDAT chunk in the fixture";
    Bytes garbledData = valid;
    for (size_t i = idat + 4; i < idat + 24 && i < garbledData.size(); ++i)
        garbledData[i] ^= 0x5A;
    struct Case {
        const char* what;
        Bytes file;
    } cases[] = {
        {"empty file", Bytes()},
        {"signature only", Bytes(valid.begin(), valid.begin() + 8)},
        {"wrong signature", badSignature},
        {"header CRC broken", badHeaderCrc},
        {"cut in the image data", cut},
        {"garbled image data", garbledData},
    };
    for (const Case& c : cases) {
        const Decoded d = decode(c.file);
        EXPECT_EQ(nullptr, d.pixels) << c.what << ": expected null";
        EXPECT_TRUE(d.untouched()) << c.what << ": got " << d.width << " x " << d.height << " x " << d.bits;
    }
}

TEST(PngCodec, SidesAboveTheBoundAreRefused)
{
    PngSpec spec;
    spec.width = 16385;
    spec.height = 1;
    spec.colourType = PNG_COLOR_TYPE_GRAY;
    spec.rows = Bytes(16385, 3);
    const Decoded tooWide = roundTrip(spec);
    EXPECT_EQ(nullptr, tooWide.pixels) << "16385 wide should be refused";
    EXPECT_TRUE(tooWide.untouched());

    spec.width = 16384;
    spec.rows = Bytes(16384, 3);
    const Decoded widest = roundTrip(spec);
    ASSERT_NE(nullptr, widest.pixels) << "16384 wide is within the bound";
    EXPECT_EQ(16384, widest.width);
    EXPECT_EQ(3, widest.pixels[16383]);
}

// Decodes with the largest single allocation watched; a refusal from the
// header must not first take a buffer for the declared size.
Decoded decodeWatched(const Bytes& bytes, size_t& largest)
{
    test::LargestAllocation probe;
    probe.start();
    Decoded d = decode(bytes);
    probe.stop();
    largest = probe.largest();
    return d;
}

TEST(PngCodec, PicturesPastThePixelBudgetAreRefusedFromTheHeader)
{
    // 1 MB of data under a header declaring 16384 x 16384: 805 MB of rows.
    const Bytes huge = fixtures::pngDeclaring(16384, 16384, 8, PNG_COLOR_TYPE_RGB, Bytes(1 << 20, 0x5A));
    size_t largest = 0;
    const Decoded refused = decodeWatched(huge, largest);
    EXPECT_EQ(nullptr, refused.pixels);
    EXPECT_TRUE(refused.untouched());
    if (test::LargestAllocation::available()) {
        EXPECT_LT(largest, size_t(1) << 20) << "nothing is allocated for the declared size";
    }

    // One row past 32 megapixels, with enough data that only the budget can
    // refuse it.
    const Bytes justPast = fixtures::pngDeclaring(8192, 4097, 8, PNG_COLOR_TYPE_GRAY, Bytes(64 << 10, 0));
    const Decoded past = decodeWatched(justPast, largest);
    EXPECT_EQ(nullptr, past.pixels);
    EXPECT_TRUE(past.untouched());
    if (test::LargestAllocation::available()) {
        EXPECT_LT(largest, size_t(1) << 20);
    }
}

TEST(PngCodec, TheLargestPictureTheBudgetAllowsDecodesFromAFullyCompressedFile)
{
    // 16384 x 2048 zero bytes compress to about a thousandth: the shortest
    // file that can hold the picture still passes the size test.
    PngSpec spec;
    spec.width = 16384;
    spec.height = 2048;
    spec.colourType = PNG_COLOR_TYPE_GRAY;
    spec.rows = Bytes(size_t(16384) * 2048, 0);
    spec.rows.back() = 9;
    const Bytes file = fixtures::pngFile(spec);
    ASSERT_FALSE(file.empty());
    EXPECT_LT(file.size(), spec.rows.size() / 500) << "the fixture is as compressed as deflate gets";
    const Decoded d = decode(file);
    ASSERT_NE(nullptr, d.pixels);
    EXPECT_EQ(16384, d.width);
    EXPECT_EQ(2048, d.height);
    EXPECT_EQ(9, d.pixels[spec.rows.size() - 1]);
}

TEST(PngCodec, FilesTooShortForTheirDeclaredRowsAreRefusedBeforeAllocating)
{
    // 5000 x 5000 RGB is 75 MB of rows, within the budget; deflate cannot
    // pack it into less than about 73 KB, and the file holds 16 KB.
    const Bytes shortFile = fixtures::pngDeclaring(5000, 5000, 8, PNG_COLOR_TYPE_RGB, Bytes(16 << 10, 0));
    size_t largest = 0;
    const Decoded d = decodeWatched(shortFile, largest);
    EXPECT_EQ(nullptr, d.pixels);
    EXPECT_TRUE(d.untouched());
    if (!test::LargestAllocation::available())
        GTEST_SKIP() << "allocations are watched only under AddressSanitizer";
    EXPECT_LT(largest, size_t(1) << 20) << "refused before the 75 MB buffer is taken";
}

} // namespace
} // namespace vlo
