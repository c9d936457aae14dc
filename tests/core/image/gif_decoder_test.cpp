#include <gtest/gtest.h>

#include <algorithm>

#include "core/image/gif_decoder.h"
#include "core/image/gif_encoder.h"
#include "core/image/gif_lzw.h"
#include "support/image_test_support.h"

namespace quell::image {
namespace {

// Packs LZW codes of the given widths, least significant bit first.
std::vector<uint8_t> packCodes(std::initializer_list<std::pair<int, int>> codes) {
    std::vector<uint8_t> out;
    uint32_t bits = 0;
    int count = 0;
    for (auto [code, width] : codes) {
        bits |= static_cast<uint32_t>(code) << count;
        for (count += width; count >= 8; count -= 8, bits >>= 8) out.push_back(static_cast<uint8_t>(bits));
    }
    if (count > 0) out.push_back(static_cast<uint8_t>(bits));
    return out;
}

void appendSubBlocks(std::vector<uint8_t>& out, const std::vector<uint8_t>& data) {
    for (size_t at = 0; at < data.size(); at += 255) {
        const size_t n = std::min<size_t>(255, data.size() - at);
        out.push_back(static_cast<uint8_t>(n));
        out.insert(out.end(), data.begin() + static_cast<long>(at), data.begin() + static_cast<long>(at + n));
    }
    out.push_back(0);
}

// A file with a four-colour global table (black, red, green, blue) and one
// image of raw LZW data; `extensions` go before the image.
std::vector<uint8_t> rawGif(int width, int height, int minCodeSize, const std::vector<uint8_t>& lzw,
                            const std::vector<uint8_t>& extensions = {}, uint8_t imageFlags = 0, bool trailer = true) {
    std::vector<uint8_t> out = {'G', 'I', 'F', '8', '9', 'a', 8, 0,   8, 0, 0x81, 0,  0,
                                0,   0,   0,   255, 0,   0,   0, 255, 0, 0, 0,    255};
    out.insert(out.end(), extensions.begin(), extensions.end());
    out.insert(out.end(), {0x2C, 0, 0, 0, 0, static_cast<uint8_t>(width), static_cast<uint8_t>(width >> 8),
                           static_cast<uint8_t>(height), static_cast<uint8_t>(height >> 8), imageFlags,
                           static_cast<uint8_t>(minCodeSize)});
    appendSubBlocks(out, lzw);
    if (trailer) out.push_back(0x3B);
    return out;
}

// Indices 0..3 coded at code size 2 by the writer.
std::vector<uint8_t> literals(std::initializer_list<uint8_t> indices) {
    return EncodeGifLzw(std::vector<uint8_t>(indices), 2);
}

TEST(GifDecoder, LoadFailuresNameTheirError) {
    const std::vector<uint8_t> good = rawGif(1, 1, 2, literals({1}));
    struct Case {
        const char* name;
        std::vector<uint8_t> bytes;
        GifError error;
    };
    std::vector<Case> cases = {
        {"five bytes", {'G', 'I', 'F', '8', '9'}, GifError::NotGif},
        {"sixth byte not 'a'", good, GifError::NotGif},
        {"version 88", good, GifError::NotGif},
        {"screen descriptor cut short", {'G', 'I', 'F', '8', '7', 'a', 1, 0, 1, 0, 0}, GifError::Truncated},
        {"global table cut short",
         {'G', 'I', 'F', '8', '7', 'a', 1, 0, 1, 0, 0x81, 0, 0, 1, 2, 3},
         GifError::Truncated},
        {"extension introducer as the last byte", rawGif(2, 1, 2, literals({1, 2}), {}, 0, false), GifError::Truncated},
        {"local table the file cannot hold", rawGif(2, 1, 2, {}, {}, 0x87, false), GifError::Truncated},
        {"image too large to hold", rawGif(65535, 65535, 2, literals({1})), GifError::TooLarge},
    };
    cases[1].bytes[5] = 'b';
    cases[2].bytes[4] = '8';
    cases[5].bytes.push_back(0x21);
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        GifDecoder decoder;
        EXPECT_FALSE(decoder.LoadGif(c.bytes));
        EXPECT_EQ(decoder.lastError(), c.error) << GifErrorName(decoder.lastError());
        EXPECT_EQ(decoder.FrameCount(), 0);
    }
    GifDecoder decoder;
    std::vector<uint8_t> old = good;
    old[4] = '7';
    EXPECT_FALSE(decoder.LoadGifFile("/nonexistent/picture.gif"));
    EXPECT_EQ(decoder.lastError(), GifError::CannotRead);
    EXPECT_TRUE(decoder.LoadGif(old));
    EXPECT_EQ(decoder.lastError(), GifError::None) << "a successful load clears the last error";
    EXPECT_FALSE(decoder.LoadGifFile("/nonexistent/picture.gif"));
    decoder.ResetDecoder();
    EXPECT_EQ(decoder.lastError(), GifError::None) << "so does a reset";
}

TEST(GifDecoder, FailsWithoutTrailerAndDiscardsEverything) {
    GifDecoder decoder;
    ASSERT_TRUE(decoder.LoadGif(rawGif(2, 1, 2, literals({1, 2}))));
    EXPECT_FALSE(decoder.LoadGif(rawGif(2, 1, 2, literals({1, 2}), {}, 0, false)));
    EXPECT_EQ(decoder.lastError(), GifError::Truncated);
    EXPECT_EQ(decoder.FrameCount(), 0);
    GifFrameInfo info;
    EXPECT_FALSE(decoder.GetFrameInfo(0, info));

    // Bytes after the trailer are never looked at.
    std::vector<uint8_t> junk = rawGif(2, 1, 2, literals({1, 2}));
    junk.insert(junk.end(), {0xDE, 0xAD});
    EXPECT_TRUE(decoder.LoadGif(junk));
}

TEST(GifDecoder, BlockStructureFailures) {
    struct Case {
        const char* name;
        std::vector<uint8_t> extensions;
        bool loads;
        GifError error;
    };
    const Case cases[] = {
        {"control block of 4 bytes", {0x21, 0xF9, 4, 1, 7, 0, 2, 0}, true, GifError::None},
        {"control block split 2 + 2", {0x21, 0xF9, 2, 1, 7, 2, 0, 2, 0}, true, GifError::None},
        {"control block of 3 bytes", {0x21, 0xF9, 3, 1, 7, 0, 0}, false, GifError::BadGraphicControl},
        {"control block of 5 bytes", {0x21, 0xF9, 5, 1, 7, 0, 2, 9, 0}, false, GifError::BadGraphicControl},
        {"comment and application blocks skipped",
         {0x21, 0xFE, 2, 'h', 'i', 0, 0x21, 0xFF, 1, 'x', 0},
         true,
         GifError::None},
        {"unknown block introducer", {0x99}, false, GifError::UnknownBlock},
        {"sub-block longer than the file", {0x21, 0xFE, 200, 'h', 'i'}, false, GifError::Truncated},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        GifDecoder decoder;
        EXPECT_EQ(decoder.LoadGif(rawGif(2, 1, 2, literals({1, 2}), c.extensions)), c.loads);
        EXPECT_EQ(decoder.lastError(), c.error) << GifErrorName(decoder.lastError());
    }
}

TEST(GifDecoder, FrameInfoFollowsControlValues) {
    GifDecoder decoder;
    // Control block: packed 0x1D (disposal bits 0x1C, transparent flag), delay 7, transparent index 2.
    ASSERT_TRUE(decoder.LoadGif(rawGif(2, 1, 2, literals({1, 2}), {0x21, 0xF9, 4, 0x1D, 7, 0, 2, 0})));
    GifFrameInfo info;
    ASSERT_TRUE(decoder.GetFrameInfo(0, info));
    EXPECT_EQ(info.delay, 7);
    EXPECT_EQ(info.transparent, 2);
    EXPECT_EQ(info.disposal, 0x1C);
    EXPECT_FALSE(decoder.GetFrameInfo(1, info));
    EXPECT_FALSE(decoder.GetFrameInfo(-1, info));

    // The index byte means nothing without the flag.
    ASSERT_TRUE(decoder.LoadGif(rawGif(2, 1, 2, literals({1, 2}), {0x21, 0xF9, 4, 0x00, 7, 0, 2, 0})));
    ASSERT_TRUE(decoder.GetFrameInfo(0, info));
    EXPECT_EQ(info.transparent, 65535);

    // Without a control block the delay is 0 for one image, 10 when there are more.
    ASSERT_TRUE(decoder.LoadGif(rawGif(2, 1, 2, literals({1, 2}))));
    ASSERT_TRUE(decoder.GetFrameInfo(0, info));
    EXPECT_EQ(info.delay, 0);
    GifFile two;
    two.globalColours = test::rampColours(4);
    two.frames = {test::patternFrame(3, 3, 4, 1), test::patternFrame(3, 3, 4, 2)};
    two.frames[0].controlBlock = two.frames[1].controlBlock = false;
    ASSERT_TRUE(decoder.LoadGif(EncodeGif(two)));
    for (int i = 0; i < 2; ++i) {
        ASSERT_TRUE(decoder.GetFrameInfo(i, info));
        EXPECT_EQ(info.delay, 10);
    }
}

TEST(GifDecoder, TransparentColourBecomesReplacement) {
    GifFile file;
    file.globalColours = test::rampColours(8);
    GifFrame frame;
    frame.width = 4;
    frame.height = 1;
    frame.indices = {5, 1, 5, 7};
    frame.transparent = 5;
    file.frames.push_back(frame);
    GifDecoder decoder;
    ASSERT_TRUE(decoder.LoadGif(EncodeGif(file)));

    PixelImage white, red;
    ASSERT_TRUE(decoder.CreateFrameBitmap(0, white));
    ASSERT_TRUE(decoder.CreateFrameBitmap(0, red, 0x0000FF));  // a colour value: red in the low byte
    const uint32_t one = 0xFF000000u | file.globalColours[1];
    const uint32_t seven = 0xFF000000u | file.globalColours[7];
    EXPECT_EQ(white.pixels, (std::vector<uint32_t>{0xFFFFFFFFu, one, 0xFFFFFFFFu, seven}));
    EXPECT_EQ(red.pixels, (std::vector<uint32_t>{0xFFFF0000u, one, 0xFFFF0000u, seven}));
    EXPECT_FALSE(decoder.CreateFrameBitmap(1, white));
}

TEST(GifDecoder, StoresRowsBottomUpAndDeinterlaces) {
    GifDecoder decoder;
    // One row of 5 pixels is stored with a stride of 8.
    ASSERT_TRUE(decoder.LoadGif(rawGif(5, 1, 2, literals({1, 2, 3, 0, 1}))));
    GifStoredImage stored;
    ASSERT_TRUE(decoder.GetStoredImage(0, stored));
    EXPECT_EQ(stored.stride, 8);
    EXPECT_EQ(stored.rows.size(), 8u);
    EXPECT_EQ(stored.colours.size(), 4u);

    // Two rows: the top row is stored last.
    ASSERT_TRUE(decoder.LoadGif(rawGif(2, 2, 2, literals({1, 1, 2, 2}))));
    ASSERT_TRUE(decoder.GetStoredImage(0, stored));
    EXPECT_EQ(std::vector<uint8_t>(stored.rows.begin(), stored.rows.end()),
              (std::vector<uint8_t>{2, 2, 0, 0, 1, 1, 0, 0}));

    // Interlaced, 3 rows: stream rows 0, 1, 2 are picture rows 0, 2, 1.
    ASSERT_TRUE(decoder.LoadGif(rawGif(1, 3, 2, literals({1, 2, 3}), {}, 0x40)));
    EXPECT_EQ(test::storedIndices(decoder, 0), (std::vector<uint8_t>{1, 3, 2}));
}

TEST(GifDecoder, IndicesPastALocalTableReadAsBlack) {
    GifDecoder decoder;
    // Index 3 lies past a two-entry local table and reads as black.
    std::vector<uint8_t> bytes = rawGif(2, 1, 2, literals({1, 3}), {}, 0x80);
    const std::vector<uint8_t> local = {10, 20, 30, 40, 50, 60};
    bytes.insert(bytes.begin() + 35, local.begin(), local.end());
    ASSERT_TRUE(decoder.LoadGif(bytes));
    PixelImage image;
    ASSERT_TRUE(decoder.CreateFrameBitmap(0, image));
    EXPECT_EQ(image.pixels, (std::vector<uint32_t>{0xFF28323Cu, 0xFF000000u}));
}

TEST(GifLzw, CodeStreamRules) {
    GifLzwDecoder lzw;
    std::vector<uint8_t> out(6, 9);
    // Code size 2: clear 4, end 5; 1, 2, then 6 (= "1 2"). Defining entry 7
    // fills the 3-bit codes, so the end code is 4 bits wide.
    ASSERT_TRUE(lzw.decode(2, packCodes({{4, 3}, {1, 3}, {2, 3}, {6, 3}, {5, 4}}), out));
    EXPECT_EQ(out, (std::vector<uint8_t>{1, 2, 1, 2, 9, 9}));

    // A code one past the table repeats the previous string plus its first byte.
    ASSERT_TRUE(lzw.decode(2, packCodes({{4, 3}, {1, 3}, {6, 3}, {5, 3}}), out));
    EXPECT_EQ(out, (std::vector<uint8_t>{1, 1, 1, 2, 9, 9}));

    // A string that does not fit is dropped and the next one still lands.
    std::vector<uint8_t> three(3, 9);
    ASSERT_TRUE(lzw.decode(2, packCodes({{4, 3}, {1, 3}, {2, 3}, {6, 3}, {3, 4}, {5, 4}}), three));
    EXPECT_EQ(three, (std::vector<uint8_t>{1, 2, 3}));

    // An entry made from a dropped string is not in the output to copy from;
    // "3 1" (code 10) is still spelled out in full.
    std::vector<uint8_t> nine(9, 9);
    ASSERT_TRUE(
        lzw.decode(2, packCodes({{4, 3}, {1, 3}, {2, 3}, {6, 3}, {7, 4}, {3, 4}, {8, 4}, {10, 4}, {5, 4}}), nine));
    EXPECT_EQ(nine, (std::vector<uint8_t>{1, 2, 1, 2, 2, 1, 3, 3, 1}));

    // The data may end without an end code.
    ASSERT_TRUE(lzw.decode(2, packCodes({{4, 3}, {3, 3}, {3, 3}}), three));

    struct Failure {
        const char* name;
        int minCodeSize;
        std::vector<uint8_t> data;
    };
    const Failure failures[] = {
        {"code size 9", 9, packCodes({{512, 10}, {1, 10}, {513, 10}})},
        {"undefined code with no previous", 2, packCodes({{4, 3}, {6, 3}})},
        {"code beyond the next free one", 2, packCodes({{4, 3}, {1, 3}, {7, 3}})},
    };
    for (const Failure& f : failures) {
        SCOPED_TRACE(f.name);
        EXPECT_FALSE(lzw.decode(f.minCodeSize, f.data, out));
    }
}

TEST(GifLzw, FullTableNeedsClearCode) {
    // Noise in 256 colours fills the 4096-entry table several times over.
    const GifFrame frame = test::patternFrame(200, 200, 256, 11);
    std::vector<uint8_t> out(frame.indices.size());
    GifLzwDecoder lzw;
    struct Case {
        GifTablePolicy policy;
        bool decodes;
    };
    const Case cases[] = {
        {GifTablePolicy::ClearWhenFull, true},
        {GifTablePolicy::ClearOneCodeLate, true},  // the clear arrives once the next free code is 4096
        {GifTablePolicy::NeverClear, false},       // a data code at 4096 overflows the table
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(static_cast<int>(c.policy));
        GifLzwOptions options;
        options.policy = c.policy;
        std::fill(out.begin(), out.end(), 0);
        EXPECT_EQ(lzw.decode(8, EncodeGifLzw(frame.indices, 8, options), out), c.decodes);
        if (c.decodes) {
            EXPECT_EQ(out, frame.indices);
        }
    }
}

TEST(GifDecoder, ErrorNames) {
    const std::pair<GifError, const char*> names[] = {
        {GifError::None, "none"},
        {GifError::CannotRead, "cannot-read"},
        {GifError::NotGif, "not-a-gif"},
        {GifError::Truncated, "truncated"},
        {GifError::UnknownBlock, "unknown-block"},
        {GifError::BadGraphicControl, "bad-graphic-control"},
        {GifError::TooLarge, "too-large"},
        {GifError::BadImageData, "bad-image-data"},
        {GifError::OutOfMemory, "out-of-memory"},
    };
    for (const auto& [error, name] : names) {
        SCOPED_TRACE(name);
        EXPECT_STREQ(GifErrorName(error), name);
    }
    EXPECT_STREQ(GifErrorName(static_cast<GifError>(99)), "unknown-error");
}

}  // namespace
}  // namespace quell::image
