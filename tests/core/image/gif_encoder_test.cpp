// The GIF writer is checked two ways: its files read back through our
// decoder, and through ImageMagick as an independent reader.
#include <gtest/gtest.h>

#include <cstdio>
#include <filesystem>

#include "core/image/gif_decoder.h"
#include "core/image/gif_encoder.h"
#include "core/os/file_system.h"
#include "support/image_test_support.h"

namespace quell::image {
namespace {

using test::patternFrame;
using test::rampColours;
using test::storedIndices;

struct RoundTripCase {
    const char* name;
    int width, height, colours;
    bool interlaced, local;
    GifTablePolicy policy;
};

TEST(GifEncoder, RoundTripsThroughDecoder) {
    const RoundTripCase cases[] = {
        {"one pixel", 1, 1, 2, false, false, GifTablePolicy::ClearWhenFull},
        {"two colours, code size 2", 17, 9, 2, false, false, GifTablePolicy::ClearWhenFull},
        {"sixteen colours interlaced", 33, 21, 16, true, false, GifTablePolicy::ClearWhenFull},
        {"local table", 40, 30, 64, false, true, GifTablePolicy::ClearWhenFull},
        {"full table, clear when full", 300, 200, 256, false, false, GifTablePolicy::ClearWhenFull},
        {"full table, clear one code late", 300, 200, 256, true, true, GifTablePolicy::ClearOneCodeLate},
        {"interlaced 3 rows", 5, 3, 4, true, false, GifTablePolicy::ClearWhenFull},
    };
    for (const RoundTripCase& c : cases) {
        SCOPED_TRACE(c.name);
        GifFile file;
        GifFrame frame = patternFrame(c.width, c.height, c.colours, 7);
        frame.interlaced = c.interlaced;
        frame.lzw.policy = c.policy;
        if (c.local) frame.localColours = rampColours(c.colours);
        else file.globalColours = rampColours(c.colours);
        const std::vector<uint8_t> expected = frame.indices;
        file.frames.push_back(std::move(frame));

        GifDecoder decoder;
        ASSERT_TRUE(decoder.LoadGif(EncodeGif(file)));
        ASSERT_EQ(decoder.FrameCount(), 1);
        EXPECT_EQ(storedIndices(decoder, 0), expected);
    }
}

// A reader nobody here wrote must see the same pixels, so the writer is not
// merely consistent with our own decoder.
TEST(GifEncoder, FilesReadTheSameInImageMagick) {
    if (!test::toolAvailable("convert")) GTEST_SKIP() << "ImageMagick convert is not installed";
    const std::filesystem::path folder = std::filesystem::temp_directory_path() / "quell-gif-encoder-test";
    std::filesystem::create_directories(folder);

    struct Case {
        const char* name;
        int width, height, colours;
        bool interlaced, local;
    };
    const Case cases[] = {
        {"plain", 61, 47, 200, false, false},
        {"interlaced", 64, 61, 32, true, false},
        {"local table", 250, 180, 256, false, true},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        GifFile file;
        GifFrame frame = patternFrame(c.width, c.height, c.colours, 3);
        frame.interlaced = c.interlaced;
        std::vector<uint32_t> colours = rampColours(c.colours);
        if (c.local) frame.localColours = colours;
        else file.globalColours = colours;
        const std::vector<uint8_t> indices = frame.indices;
        file.frames.push_back(std::move(frame));

        const std::string path = (folder / (std::string(c.name) + ".gif")).string();
        ASSERT_TRUE(os::writeFile(path, EncodeGif(file)));
        const auto seen = test::magickRead(path, 0);
        ASSERT_TRUE(seen.has_value());
        ASSERT_EQ(seen->width, c.width);
        ASSERT_EQ(seen->height, c.height);
        long mismatches = 0;
        for (size_t i = 0; i < indices.size(); ++i)
            if ((seen->pixels[i] & 0xFFFFFFu) != colours[indices[i]]) ++mismatches;
        EXPECT_EQ(mismatches, 0);
    }
    std::filesystem::remove_all(folder);
}

}  // namespace
}  // namespace quell::image
