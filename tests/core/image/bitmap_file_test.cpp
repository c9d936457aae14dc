#include <gtest/gtest.h>

#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <set>
#include <string>

#include <unistd.h>

#include "core/image/bitmap_file.h"
#include "core/image/bitmap_writer.h"
#include "core/image/ppm_writer.h"
#include "core/os/file_system.h"
#include "support/image_test_support.h"

namespace quell::image {
namespace {

struct BmpLayout {
    uint32_t headerSize = 40;
    int32_t width = 1, height = 1;
    uint16_t planes = 1, bitCount = 24;
    uint32_t compression = 0, coloursUsed = 0;
    std::vector<uint32_t> palette = {};  // 0x00RRGGBB
    std::vector<uint32_t> masks = {};    // after a 40-byte header, inside a larger one
    std::vector<uint8_t> pixels = {};
    uint32_t dataOffset = 0xDEADBEEF;  // the loader must not depend on it
};

void put(std::vector<uint8_t>& out, uint32_t value, int bytes) {
    for (int i = 0; i < bytes; ++i) out.push_back(static_cast<uint8_t>(value >> (8 * i)));
}

std::vector<uint8_t> buildBmp(const BmpLayout& s) {
    std::vector<uint8_t> out = {'B', 'M'};
    put(out, 0, 4);
    put(out, 0, 4);
    put(out, s.dataOffset, 4);
    put(out, s.headerSize, 4);
    if (s.headerSize == 12) {
        put(out, static_cast<uint32_t>(s.width), 2);
        put(out, static_cast<uint32_t>(s.height), 2);
        put(out, s.planes, 2);
        put(out, s.bitCount, 2);
    } else {
        put(out, static_cast<uint32_t>(s.width), 4);
        put(out, static_cast<uint32_t>(s.height), 4);
        put(out, s.planes, 2);
        put(out, s.bitCount, 2);
        put(out, s.compression, 4);
        put(out, static_cast<uint32_t>(s.pixels.size()), 4);
        put(out, 2835, 4);
        put(out, 2835, 4);
        put(out, s.coloursUsed, 4);
        put(out, 0, 4);
        for (size_t i = 0; s.headerSize > 40 && i < s.masks.size(); ++i) put(out, s.masks[i], 4);
        out.resize(14 + s.headerSize, 0);
        for (size_t i = 0; s.headerSize == 40 && i < s.masks.size(); ++i) put(out, s.masks[i], 4);
    }
    for (uint32_t colour : s.palette) put(out, colour, s.headerSize == 12 ? 3 : 4);
    out.insert(out.end(), s.pixels.begin(), s.pixels.end());
    return out;
}

PixelImage decode(const BmpLayout& header) {
    PixelImage image;
    EXPECT_TRUE(DecodeBitmap(buildBmp(header), image));
    return image;
}

constexpr uint32_t kBlack = 0xFF000000u, kWhite = 0xFFFFFFFFu;

TEST(BitmapFile, DecodesEachDepth) {
    struct Case {
        const char* name;
        BmpLayout header;
        std::vector<uint32_t> pixels;
    };
    std::vector<Case> cases;
    // 1 bit, 9 wide: two bytes of bits and two of padding per row; bottom row first.
    cases.push_back({"1 bit",
                     {.width = 9,
                      .height = 2,
                      .bitCount = 1,
                      .palette = {0, 0xFFFFFF},
                      .pixels = {0x80, 0x80, 0, 0, 0x00, 0x7F, 0, 0}},
                     {kBlack, kBlack, kBlack, kBlack, kBlack, kBlack, kBlack, kBlack, kBlack, kWhite, kBlack, kBlack,
                      kBlack, kBlack, kBlack, kBlack, kBlack, kWhite}});
    cases.push_back({"4 bit with 3 colours",
                     {.width = 3,
                      .height = 1,
                      .bitCount = 4,
                      .coloursUsed = 3,
                      .palette = {0x112233, 0x445566, 0x778899},
                      .pixels = {0x21, 0x00, 0, 0}},
                     {0xFF778899, 0xFF445566, 0xFF112233}});
    cases.push_back({"8 bit top-down",
                     {.width = 2,
                      .height = -2,
                      .bitCount = 8,
                      .coloursUsed = 2,
                      .palette = {0x0000FF, 0xFF0000},
                      .pixels = {1, 0, 0, 0, 0, 1, 0, 0}},
                     {0xFFFF0000, 0xFF0000FF, 0xFF0000FF, 0xFFFF0000}});
    // 5-5-5: 31 becomes 255 and 16 becomes 132; the top bit is not alpha.
    cases.push_back({"16 bit default",
                     {.width = 2, .height = 1, .bitCount = 16, .pixels = {0x1F, 0xFC, 0x10, 0x42}},
                     {0xFFFF00FF, 0xFF848484}});
    cases.push_back({"16 bit 5-6-5 masks",
                     {.width = 1,
                      .height = 1,
                      .bitCount = 16,
                      .compression = 3,
                      .masks = {0xF800, 0x07E0, 0x001F},
                      .pixels = {0xE0, 0x07, 0, 0}},
                     {0xFF00FF00}});
    // 24 bit, 5 wide: 15 bytes plus one of padding per row.
    cases.push_back({"24 bit stride",
                     {.width = 5, .height = 2, .pixels = {1, 2, 3, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0,
                                                          0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 9, 8, 7, 0}},
                     {kBlack, kBlack, kBlack, kBlack, 0xFF070809, 0xFF030201, kBlack, kBlack, kBlack, kBlack}});
    cases.push_back({"32 bit ignores the fourth byte",
                     {.width = 1, .height = 1, .bitCount = 32, .pixels = {1, 2, 3, 0x80}},
                     {0xFF030201}});
    cases.push_back({"12-byte header, 3-byte palette",
                     {.headerSize = 12,
                      .width = 2,
                      .height = 1,
                      .bitCount = 1,
                      .palette = {0x00FF00, 0x0000FF},
                      .pixels = {0x40, 0, 0, 0}},
                     {0xFF00FF00, 0xFF0000FF}});
    cases.push_back({"108-byte header with masks inside",
                     {.headerSize = 108,
                      .width = 1,
                      .height = 1,
                      .bitCount = 32,
                      .compression = 3,
                      .masks = {0xFF, 0xFF00, 0xFF0000},
                      .pixels = {0x10, 0x20, 0x30, 0}},
                     {0xFF102030}});
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        const PixelImage image = decode(c.header);
        EXPECT_EQ(image.width, c.header.width);
        EXPECT_EQ(image.height, std::abs(c.header.height));
        EXPECT_EQ(image.pixels, c.pixels);
    }
}

TEST(BitmapFile, PixelsFollowTheHeadersNotTheDataOffset) {
    // 4 bits with colours-used 0: the table has 16 entries, so the pixels
    // start 16 x 4 bytes after the 40-byte header.
    BmpLayout four{
        .width = 2, .height = 1, .bitCount = 4, .palette = std::vector<uint32_t>(16, 0), .pixels = {0xF0, 0, 0, 0}};
    four.palette[15] = 0xABCDEF;
    four.dataOffset = 14 + 40;
    EXPECT_EQ(decode(four).pixels, (std::vector<uint32_t>{0xFFABCDEF, 0xFF000000}));

    // 24 bits: right after the header, whatever the offset field says.
    BmpLayout plain{.width = 1, .height = 1, .pixels = {0x33, 0x22, 0x11, 0}};
    plain.dataOffset = 14 + 40 + 64;
    EXPECT_EQ(decode(plain).pixels, (std::vector<uint32_t>{0xFF112233}));

    // A 40-byte header with masks: 12 bytes of masks, then colours-used entries, then pixels.
    BmpLayout masked{.width = 1,
                     .height = 1,
                     .bitCount = 16,
                     .compression = 3,
                     .coloursUsed = 2,
                     .palette = {0xFFFFFF, 0xFFFFFF},
                     .masks = {0x7C00, 0x03E0, 0x001F},
                     .pixels = {0x1F, 0, 0, 0}};
    EXPECT_EQ(decode(masked).pixels, (std::vector<uint32_t>{0xFF0000FF}));
}

TEST(BitmapFile, RunLengthCoding) {
    const std::vector<uint32_t> palette = {0x000010, 0x000020, 0x000030, 0x000040};
    // Bottom row: a run of two 1s, an absolute run of three (2, 3, 1) padded
    // to an even length, end of line. Top row: a delta of two pixels right,
    // then one 2, then end of picture; the skipped pixels take entry 0.
    BmpLayout rle8{.width = 5,
                   .height = 2,
                   .bitCount = 8,
                   .compression = 1,
                   .coloursUsed = 4,
                   .palette = palette,
                   .pixels = {2, 1, 0, 3, 2, 3, 1, 0, 0, 0, 0, 2, 2, 0, 1, 2, 0, 1}};
    const uint32_t a = 0xFF000010, b = 0xFF000020, c = 0xFF000030, d = 0xFF000040;
    EXPECT_EQ(decode(rle8).pixels, (std::vector<uint32_t>{a, a, c, a, a, b, b, c, d, b}));

    // 4 bits: runs alternate the two nibbles; an absolute run of 3 nibbles takes 2 bytes.
    BmpLayout rle4{.width = 5,
                   .height = 1,
                   .bitCount = 4,
                   .compression = 2,
                   .coloursUsed = 4,
                   .palette = palette,
                   .pixels = {2, 0x12, 0, 3, 0x32, 0x10, 0, 1}};
    EXPECT_EQ(decode(rle4).pixels, (std::vector<uint32_t>{b, c, d, c, b}));
}

TEST(BitmapFile, RunLengthPictureOfOnlyItsEndCodeIsColourZero) {
    for (const uint16_t bits : {uint16_t{8}, uint16_t{4}}) {
        SCOPED_TRACE(bits);
        BmpLayout picture{.width = 800,
                          .height = 600,
                          .bitCount = bits,
                          .compression = bits == 8 ? 1u : 2u,
                          .coloursUsed = 2,
                          .palette = {0x123456, 0xFFFFFF},
                          .pixels = {0, 1}};
        const PixelImage image = decode(picture);
        ASSERT_EQ(image.width, 800);
        ASSERT_EQ(image.height, 600);
        EXPECT_EQ(image.pixels, std::vector<uint32_t>(800 * 600, 0xFF123456));
    }
}

TEST(BitmapFile, LargeRunLengthPictureCutOffBeforeItsEndCodeIsRefused) {
    // A few bytes that stop after a line end would otherwise make a picture
    // of millions of pixels from almost nothing.
    BmpLayout picture{.width = 2554,
                      .height = 18803,
                      .bitCount = 4,
                      .compression = 2,
                      .coloursUsed = 2,
                      .palette = {0x123456, 0xFFFFFF},
                      .pixels = {4, 0x11, 0, 0, 2, 0x11}};
    PixelImage image;
    BitmapError error = BitmapError::None;
    EXPECT_FALSE(DecodeBitmap(buildBmp(picture), image, error));
    EXPECT_EQ(error, BitmapError::TruncatedPixels) << BitmapErrorName(error);

    picture.pixels.insert(picture.pixels.end(), {0, 1});
    EXPECT_TRUE(DecodeBitmap(buildBmp(picture), image, error)) << BitmapErrorName(error);
}

TEST(BitmapFile, RunLengthCodingPastTheEdgesIsCutOff) {
    const uint32_t a = 0xFF000010, b = 0xFF000020, c = 0xFF000030, d = 0xFF000040;
    struct Case {
        const char* name;
        uint32_t compression;
        int32_t height;
        std::vector<uint8_t> stream;
        std::vector<uint32_t> pixels;  // top row first, two pixels a row
    };
    const Case cases[] = {
        {"encoded run past the row end", 1, 2, {3, 1, 0, 0, 4, 2, 0, 1}, {c, c, b, b}},
        // The literal's third byte and its padding are skipped, not read as codes.
        {"literal run past the row end", 1, 2, {0, 3, 1, 2, 0, 1, 0, 0, 1, 3, 1, 2, 0, 1}, {d, c, b, c}},
        {"4-bit literal run past the row end", 2, 2, {0, 5, 0x12, 0x01, 0x00, 0, 0, 0, 2, 0x32, 0, 1}, {d, c, b, c}},
        {"runs after the row end until the line end", 1, 2, {2, 1, 3, 2, 0, 0, 2, 3, 0, 1}, {d, d, b, b}},
        {"delta above the picture", 1, 2, {2, 1, 0, 2, 0, 5, 2, 2, 0, 1}, {a, a, b, b}},
        {"delta past the right edge", 1, 2, {1, 1, 0, 2, 5, 0, 0, 0, 2, 2, 0, 1}, {a, a, b, a}},
        {"line end past the last row", 1, 1, {1, 1, 0, 0, 2, 2, 0, 1}, {b, a}},
        {"stream ending after the first row", 1, 2, {2, 1, 0, 0, 1, 2}, {c, a, b, b}},
        {"literal cut after the first row", 1, 2, {2, 1, 0, 0, 0, 3, 2}, {c, a, b, b}},
        {"odd byte after the first row", 1, 2, {2, 1, 0, 0, 1}, {a, a, b, b}},
        {"stream ending with the first row written", 1, 2, {2, 1}, {a, a, b, b}},
    };
    for (const Case& test : cases) {
        SCOPED_TRACE(test.name);
        const BmpLayout layout{.width = 2,
                               .height = test.height,
                               .bitCount = static_cast<uint16_t>(test.compression == 1 ? 8 : 4),
                               .compression = test.compression,
                               .coloursUsed = 4,
                               .palette = {0x000010, 0x000020, 0x000030, 0x000040},
                               .pixels = test.stream};
        EXPECT_EQ(decode(layout).pixels, test.pixels);
    }
}

// A folder of its own below the temporary folder, removed with the test.
class ScratchFolder {
public:
    explicit ScratchFolder(const std::string& name)
        : m_path(std::filesystem::temp_directory_path() / (name + "-" + std::to_string(getpid()))) {
        std::filesystem::create_directories(m_path);
    }
    ~ScratchFolder() {
        std::error_code ec;
        std::filesystem::remove_all(m_path, ec);
    }
    std::string file(const std::string& name) const { return (m_path / name).string(); }

private:
    std::filesystem::path m_path;
};

// A picture with many colours that ImageMagick reduces to a colour table.
PixelImage patternPicture(int width, int height) {
    PixelImage picture{.width = width, .height = height, .pixels = {}};
    for (int y = 0; y < height; ++y)
        for (int x = 0; x < width; ++x)
            picture.pixels.push_back(0xFF000000u | (static_cast<uint32_t>(x * 7 + y * 40) & 0xFF) << 16 |
                                     (static_cast<uint32_t>(x * x + y * 13) & 0xFF) << 8 |
                                     (static_cast<uint32_t>(x * 3 ^ y * 50) & 0xFF));
    return picture;
}

// ImageMagick's own 8-bit run-length file of the pattern (its rows are coded
// to their padded length, past the picture's width), or with `compression`
// "None" the same colour-reduced picture stored plainly.
std::string writeMagickBitmap(const ScratchFolder& folder, int width, int height, const std::string& compression) {
    const std::string name = compression + "-" + std::to_string(width);
    const std::string source = folder.file(name + ".ppm"), target = folder.file(name + ".bmp");
    if (!os::writeFile(source, EncodePpm(patternPicture(width, height)))) return {};
    const std::string command = "convert " + source + " -colors 200 -type Palette -compress " + compression +
                                " BMP3:" + target + " 2>/dev/null";
    if (std::system(command.c_str()) != 0) return {};
    return target;
}

uint32_t le32(const std::vector<uint8_t>& bytes, size_t at) {
    return bytes[at] | bytes[at + 1] << 8 | bytes[at + 2] << 16 | static_cast<uint32_t>(bytes[at + 3]) << 24;
}

TEST(BitmapFile, ReadsImageMagickRunLengthFilesAsItDoes) {
    if (!test::toolAvailable("convert")) GTEST_SKIP() << "ImageMagick convert is not installed";
    const ScratchFolder folder("quell-bitmap-rle8");
    for (int width : {1, 37, 255}) {
        SCOPED_TRACE(width);
        const std::string path = writeMagickBitmap(folder, width, 5, "RLE");
        ASSERT_FALSE(path.empty());
        const std::vector<uint8_t> bytes = test::readBytes(path);
        ASSERT_GT(bytes.size(), 34u);
        ASSERT_EQ(le32(bytes, 30), 1u) << "ImageMagick did not write 8-bit run-length data";
        PixelImage ours;
        BitmapError error = BitmapError::None;
        ASSERT_TRUE(LoadBitmapFile(path, ours, error)) << BitmapErrorName(error);
        // At width 1 ImageMagick carries the padding run of one row into the
        // rows above when it reads its own file back, so the plainly stored
        // picture is the reference there.
        const auto theirs = test::magickRead(width == 1 ? writeMagickBitmap(folder, width, 5, "None") : path);
        ASSERT_TRUE(theirs.has_value());
        EXPECT_EQ(ours.width, theirs->width);
        EXPECT_EQ(ours.pixels, theirs->pixels);
    }
}

// Codes rows of 4-bit indices as ImageMagick codes its 8-bit rows, to a
// multiple of eight pixels with index 15 past the width, in literal runs of
// 3 + row pixels and encoded runs of 4. Across the widths 1, 37 and 255 both
// kinds of run pass a row end. An encoded run repeats two indices, so the
// indices it covers are rewritten to what it codes.
std::vector<uint8_t> codeRle4(std::vector<uint8_t>& indices, int width, int height) {
    const int coded = (width + 7) / 8 * 8;
    std::vector<uint8_t> stream;
    for (int y = 0; y < height; ++y) {
        std::vector<uint8_t> row(indices.begin() + y * width, indices.begin() + (y + 1) * width);
        row.resize(static_cast<size_t>(coded), 15);
        bool literal = true;
        for (int x = 0; x < coded; literal = !literal) {
            const int n = std::min(literal ? 3 + y : 4, coded - x);
            if (literal && n >= 3) {
                stream.insert(stream.end(), {0, static_cast<uint8_t>(n)});
                const size_t start = stream.size();
                for (int i = 0; i < n; i += 2)
                    stream.push_back(static_cast<uint8_t>(row[x + i] << 4 | (i + 1 < n ? row[x + i + 1] : 0)));
                if ((stream.size() - start) % 2) stream.push_back(0);
            } else {
                const uint8_t high = row[x], low = x + 1 < coded ? row[x + 1] : 0;
                stream.insert(stream.end(), {static_cast<uint8_t>(n), static_cast<uint8_t>(high << 4 | low)});
                for (int i = 0; i < n; ++i) row[x + i] = (i & 1) ? low : high;
            }
            x += n;
        }
        stream.insert(stream.end(), {0, 0});
        std::copy(row.begin(), row.begin() + width, indices.begin() + y * width);
    }
    stream.insert(stream.end(), {0, 1});
    return stream;
}

// ImageMagick cannot write 4-bit run-length files, so these are coded here
// and read by both.
TEST(BitmapFile, ReadsOverlongFourBitRunsAsImageMagickDoes) {
    const bool magick = test::toolAvailable("convert");
    const ScratchFolder folder("quell-bitmap-rle4");
    std::vector<uint32_t> palette;
    for (uint32_t i = 0; i < 16; ++i) palette.push_back((i * 16) << 16 | (255 - i * 16) << 8 | (i * 37 % 256));
    for (int width : {1, 37, 255}) {
        SCOPED_TRACE(width);
        const int height = 4;
        std::vector<uint8_t> indices;  // stored rows, bottom row first
        for (int y = 0; y < height; ++y)
            for (int x = 0; x < width; ++x) indices.push_back(static_cast<uint8_t>((x / 3 + y * 5 + x * x) % 16));
        const BmpLayout layout{.width = width,
                               .height = height,
                               .bitCount = 4,
                               .compression = 2,
                               .palette = palette,
                               .pixels = codeRle4(indices, width, height),
                               .dataOffset = 14 + 40 + 16 * 4};
        std::vector<uint32_t> expected;
        for (int y = height - 1; y >= 0; --y)
            for (int x = 0; x < width; ++x) expected.push_back(0xFF000000u | palette[indices[y * width + x]]);
        EXPECT_EQ(decode(layout).pixels, expected);

        // At width 1 ImageMagick shows the pixels past the row end of one
        // row in another, so only the coded picture is the reference there.
        if (!magick || width == 1) continue;
        const std::string path = folder.file("rle4-" + std::to_string(width) + ".bmp");
        std::vector<uint8_t> bytes = buildBmp(layout);
        const auto size = static_cast<uint32_t>(bytes.size());  // ImageMagick checks the file-size field
        for (int i = 0; i < 4; ++i) bytes[2 + i] = static_cast<uint8_t>(size >> (8 * i));
        ASSERT_TRUE(os::writeFile(path, bytes));
        const auto theirs = test::magickRead(path);
        ASSERT_TRUE(theirs.has_value());
        EXPECT_EQ(theirs->pixels, expected);
    }
}

TEST(BitmapFile, TruncatedRunLengthFileLoadsOnceItsFirstRowIsComplete) {
    if (!test::toolAvailable("convert")) GTEST_SKIP() << "ImageMagick convert is not installed";
    const ScratchFolder folder("quell-bitmap-rle-cut");
    const std::string path = writeMagickBitmap(folder, 37, 5, "RLE");
    ASSERT_FALSE(path.empty());
    const std::vector<uint8_t> bytes = test::readBytes(path);
    PixelImage whole;
    ASSERT_TRUE(DecodeBitmap(bytes, whole));
    const size_t dataStart = le32(bytes, 10);
    // Where the first row's line end (0, 0) stands; ImageMagick codes with
    // encoded and literal runs only.
    size_t lineEnd = dataStart;
    while (lineEnd + 1 < bytes.size() && !(bytes[lineEnd] == 0 && bytes[lineEnd + 1] == 0))
        lineEnd += bytes[lineEnd] != 0 ? 2 : 2 + ((bytes[lineEnd + 1] + 1) & ~1);
    ASSERT_LT(lineEnd + 8, bytes.size());
    const uint32_t unwritten = 0xFF000000u | bytes[56] << 16 | bytes[55] << 8 | bytes[54];

    PixelImage image;
    BitmapError error = BitmapError::None;
    const std::vector<uint8_t> insideFirstRow(bytes.begin(), bytes.begin() + static_cast<long>(dataStart + 4));
    EXPECT_FALSE(DecodeBitmap(insideFirstRow, image, error));
    EXPECT_EQ(error, BitmapError::TruncatedPixels) << BitmapErrorName(error);

    const std::vector<uint8_t> inSecondRow(bytes.begin(), bytes.begin() + static_cast<long>(lineEnd + 8));
    ASSERT_TRUE(DecodeBitmap(inSecondRow, image, error)) << BitmapErrorName(error);
    const auto bottomRow = [](const PixelImage& p) {
        return std::vector<uint32_t>(p.pixels.end() - p.width, p.pixels.end());
    };
    EXPECT_EQ(bottomRow(image), bottomRow(whole));
    EXPECT_EQ(std::vector<uint32_t>(image.pixels.begin(), image.pixels.begin() + 37),
              std::vector<uint32_t>(37, unwritten));
}

TEST(BitmapFile, RejectsBrokenFiles) {
    const BmpLayout good{.width = 2,
                         .height = 2,
                         .bitCount = 8,
                         .coloursUsed = 2,
                         .palette = {0, 0xFFFFFF},
                         .pixels = {0, 1, 0, 0, 1, 0, 0, 0}};
    PixelImage image;
    ASSERT_TRUE(DecodeBitmap(buildBmp(good), image));

    struct Case {
        const char* name;
        BitmapError error;
        std::vector<uint8_t> bytes;
    };
    std::vector<Case> cases;
    auto with = [&](const char* name, BitmapError error, auto change) {
        BmpLayout header = good;
        change(header);
        cases.push_back({name, error, buildBmp(header)});
    };
    const auto masks16 = [](std::vector<uint32_t> masks) {
        return [masks](BmpLayout& s) {
            s.bitCount = 16;
            s.compression = 3;
            s.coloursUsed = 0;
            s.palette.clear();
            s.masks = masks;
        };
    };
    with("header size 64", BitmapError::UnknownHeader, [](BmpLayout& s) { s.headerSize = 64; });
    with("width 0", BitmapError::BadDimensions, [](BmpLayout& s) { s.width = 0; });
    with("negative width", BitmapError::BadDimensions, [](BmpLayout& s) { s.width = -2; });
    with("height 0", BitmapError::BadDimensions, [](BmpLayout& s) { s.height = 0; });
    with("smallest height", BitmapError::TooLarge, [](BmpLayout& s) { s.height = INT32_MIN; });
    with("two planes", BitmapError::BadPlanes, [](BmpLayout& s) { s.planes = 2; });
    with("3 bits per pixel", BitmapError::BadBitCount, [](BmpLayout& s) { s.bitCount = 3; });
    with("masks on an 8-bit picture", BitmapError::BadBitCount, [](BmpLayout& s) { s.compression = 3; });
    with("unknown compression", BitmapError::UnsupportedCompression, [](BmpLayout& s) { s.compression = 4; });
    with("last row one byte short", BitmapError::TruncatedPixels, [](BmpLayout& s) { s.pixels.pop_back(); });
    with("colour table past the end", BitmapError::TruncatedPalette, [](BmpLayout& s) { s.coloursUsed = 1000; });
    with("absurd size with no pixels", BitmapError::TooLarge, [](BmpLayout& s) { s.width = s.height = 100000; });
    with("run-length coding top-down", BitmapError::TopDownRunLength, [](BmpLayout& s) {
        s.compression = 1;
        s.height = -2;
    });
    with("run-length stream ending inside the first row", BitmapError::TruncatedPixels, [](BmpLayout& s) {
        s.compression = 1;
        s.pixels = {1, 1};
    });
    with("literal run cut inside the first row", BitmapError::TruncatedPixels, [](BmpLayout& s) {
        s.compression = 1;
        s.pixels = {0, 3, 1};
    });
    with("overlapping masks", BitmapError::BadBitMasks, masks16({0xFF00, 0x0FF0, 0x000F}));
    with("masks with gaps", BitmapError::BadBitMasks, masks16({0xF0F0, 0x0F00, 0x000F}));
    with("not \"BM\"", BitmapError::NotBitmap, [](BmpLayout&) {});
    cases.back().bytes[1] = 'A';
    with("information header cut short", BitmapError::TruncatedHeader, [](BmpLayout&) {});
    cases.back().bytes.resize(14 + 20);
    cases.push_back(
        {"file header one byte short", BitmapError::NotBitmap, {'B', 'M', 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0}});
    cases.push_back(
        {"no information header", BitmapError::TruncatedHeader, {'B', 'M', 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 40, 0}});
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        EXPECT_FALSE(DecodeBitmap(c.bytes, image));
        EXPECT_TRUE(image.pixels.empty());
        BitmapError error = BitmapError::None;
        EXPECT_FALSE(DecodeBitmap(c.bytes, image, error));
        EXPECT_EQ(error, c.error) << BitmapErrorName(error);
        EXPECT_TRUE(image.pixels.empty());
    }

    BitmapError error = BitmapError::None;
    EXPECT_FALSE(LoadBitmapFile("/nonexistent/picture.bmp", image));
    EXPECT_FALSE(LoadBitmapFile("/nonexistent/picture.bmp", image, error));
    EXPECT_EQ(error, BitmapError::CannotRead);
    ASSERT_TRUE(DecodeBitmap(buildBmp(good), image, error));
    EXPECT_EQ(error, BitmapError::None);
}

TEST(BitmapFile, EveryErrorHasADistinctName) {
    std::set<std::string> names;
    for (int e = static_cast<int>(BitmapError::None); e <= static_cast<int>(BitmapError::OutOfMemory); ++e) {
        const std::string name = BitmapErrorName(static_cast<BitmapError>(e));
        SCOPED_TRACE(name);
        EXPECT_NE(name, "unknown-error");
        EXPECT_EQ(name.find_first_not_of("abcdefghijklmnopqrstuvwxyz-"), std::string::npos);
        EXPECT_TRUE(names.insert(name).second);
    }
    EXPECT_STREQ(BitmapErrorName(BitmapError::TruncatedPixels), "truncated-pixels");
    EXPECT_STREQ(BitmapErrorName(static_cast<BitmapError>(99)), "unknown-error");
}

TEST(BitmapWriter, WritesWhatTheLoaderReads) {
    PixelImage picture{
        .width = 3, .height = 2, .pixels = {0xFF010203, 0xFF040506, 0xFF070809, 0xFFA0B0C0, 0xFFD0E0F0, 0xFF102030}};
    const std::vector<uint8_t> bytes = EncodeBitmap24(picture);
    ASSERT_EQ(bytes.size(), 54u + 2 * 12);  // 9 bytes of pixels padded to 12 per row
    EXPECT_EQ(bytes[10], 54);               // the data offset other readers rely on

    const std::string path = (std::filesystem::temp_directory_path() / "quell-writer-test.bmp").string();
    ASSERT_TRUE(os::writeFile(path, bytes));
    PixelImage loaded;
    ASSERT_TRUE(LoadBitmapFile(path, loaded));
    std::filesystem::remove(path);
    EXPECT_EQ(loaded.width, 3);
    EXPECT_EQ(loaded.pixels, picture.pixels);
}

}  // namespace
}  // namespace quell::image
