// Every GIF file of the external corpora: frame by frame against ImageMagick
// and, where upstream gives answers, against those.
#include <gtest/gtest.h>

#include <fstream>
#include <map>
#include <sstream>

#include "core/image/gif_decoder.h"
#include "support/corpus_expectations.h"
#include "support/image_test_support.h"

namespace quell::image {
namespace {

const std::string kAfl = "gif/libnsgif/test/ns-afl-gif/";

// Files that fail on purpose although ImageMagick reads them, with the error
// they fail with: any failure anywhere discards the whole file.
struct Refusal {
    GifError error;
    const char* reason;
};
const std::map<std::string, Refusal> kRefused = {
    {"gif/pillow/Tests/images/test_extents_transparency.gif",
     {GifError::UnknownBlock,
      "a second \"GIF89a\" header follows the first image, and an unknown block byte fails the file"}},
    {"gif/pygif/test-suite/4095-codes.gif",
     {GifError::BadImageData, "codes go on after the table is full without a clear code"}},
    {"gif/pygif/test-suite/max-codes.gif", {GifError::BadImageData, "the LZW minimum code size is 11, above 8"}},
    {"gif/wuffs/test/data/artificial-gif/pixel-data-too-much-bad-lzw.gif",
     {GifError::BadImageData, "a code beyond the next free code"}},
    {kAfl + "id_000023,orig_id_001366,src_001321,op_flip4,pos_10.gif",
     {GifError::UnknownBlock, "damaged colour-table size misaligns the blocks"}},
    {kAfl + "id_000024,orig_id_001424,src_001372,op_flip1,pos_10.gif",
     {GifError::UnknownBlock, "damaged colour-table size misaligns the blocks"}},
    {kAfl + "id_000027,orig_id_001759,src_001423,op_arith8,pos_15139,val_+5.gif",
     {GifError::UnknownBlock, "a damaged block length"}},
};

// Files whose pixels differ from ImageMagick's on purpose.
const std::map<std::string, std::string> kDiffersFromImageMagick = {
    {"gif/wuffs/test/data/bricks-gray.gif",
     "ImageMagick applies the gamma of its own application block; the colour table is taken as it stands"},
};

// Files ImageMagick refuses that load on purpose.
const std::map<std::string, std::string> kAccepted = {
    {kAfl + "id_000032,orig_id_000458,src_000005,op_arith8,pos_25,val_+26,+cov.gif", "header and trailer, no image"},
    {kAfl + "id_000034,orig_id_000461,src_000005,op_arith8,pos_33,val_+15,+cov.gif", "header and trailer, no image"},
    {"gif/pygif/test-suite/max-size.gif", "header and trailer, no image"},
    {"gif/pygif/test-suite/no-data.gif", "header and trailer, no image"},
    {"gif/pygif/test-suite/zero-size.gif", "header and trailer, no image"},
    {"gif/pygif/test-suite/zero-width.gif", "header and trailer, no image"},
    {"gif/pygif/test-suite/zero-height.gif", "header and trailer, no image"},
    {"gif/wuffs/test/data/artificial-gif/no-frames.gif", "header and trailer, no image"},
    {"gif/pygif/test-suite/invalid-colors.gif", "indices past the colour table read as black"},
    {"gif/pygif/test-suite/max-width.gif", "an image 65535 pixels wide is stored as any other"},
    {"gif/pygif/test-suite/max-height.gif", "an image 65535 pixels high is stored as any other"},
    {"gif/wuffs/test/data/artificial-gif/zero-width-frame.gif", "an empty image is stored empty"},
    {"gif/wuffs/test/data/artificial-gif/pixel-data-none.gif", "missing pixels stay at index 0"},
    {"gif/wuffs/test/data/artificial-gif/pixel-data-not-enough.gif", "missing pixels stay at index 0"},
};

// One stored image as 8-bit RGBA, top row first: the colour-table entry of
// every pixel, alpha 0 for the transparent index (how ImageMagick stores it).
std::vector<uint8_t> storedRgba(const GifDecoder& decoder, int index) {
    GifStoredImage stored;
    GifFrameInfo info;
    if (!decoder.GetStoredImage(index, stored) || !decoder.GetFrameInfo(index, info)) return {};
    std::vector<uint8_t> out;
    out.reserve(static_cast<size_t>(stored.width) * stored.height * 4);
    for (int y = stored.height - 1; y >= 0; --y) {
        for (int x = 0; x < stored.width; ++x) {
            const uint8_t i = stored.rows[static_cast<size_t>(y) * stored.stride + x];
            const uint32_t colour = i < stored.colours.size() ? stored.colours[i] : 0;
            const bool clear = i == info.transparent;
            out.insert(out.end(), {static_cast<uint8_t>(colour >> 16), static_cast<uint8_t>(colour >> 8),
                                   static_cast<uint8_t>(colour), static_cast<uint8_t>(clear ? 0 : 255)});
        }
    }
    return out;
}

TEST(GifCorpus, FramesMatchImageMagickOrFailCleanly) {
    const std::string corpora = test::corporaDir();
    if (corpora.empty()) GTEST_SKIP() << "no corpora in this checkout";
    const auto expected = test::readExpectations(corpora + "/expected/gif.txt");
    int identical = 0, refused = 0, accepted = 0;
    for (const std::string& file : test::corpusFiles(corpora, "gif", ".gif")) {
        SCOPED_TRACE(file);
        GifDecoder decoder;
        const bool loaded = decoder.LoadGifFile(corpora + "/" + file);
        const auto found = expected.find(file);
        ASSERT_NE(found, expected.end());
        const test::ExpectedFile& answer = found->second;
        const bool magickReads = answer.storedExit == 0 && !answer.frames.empty();

        if (kRefused.count(file)) {
            EXPECT_FALSE(loaded) << kRefused.at(file).reason;
            EXPECT_EQ(decoder.lastError(), kRefused.at(file).error) << GifErrorName(decoder.lastError());
            ++refused;
        } else if (kAccepted.count(file)) {
            EXPECT_TRUE(loaded) << kAccepted.at(file);
            ++accepted;
        } else if (!magickReads) {
            EXPECT_FALSE(loaded) << "ImageMagick refuses this file and so should we";
            if (!loaded) {
                EXPECT_NE(decoder.lastError(), GifError::None) << "a refusal names its error";
            }
            ++refused;
        } else {
            ASSERT_TRUE(loaded);
            ASSERT_EQ(decoder.FrameCount(), static_cast<int>(answer.frames.size()));
            if (kDiffersFromImageMagick.count(file)) continue;
            for (int i = 0; i < decoder.FrameCount(); ++i) {
                SCOPED_TRACE(i);
                EXPECT_EQ(test::sha256Hex(storedRgba(decoder, i)), answer.frames[static_cast<size_t>(i)].sha256);
            }
            ++identical;
        }
    }
    std::printf("GIF corpus: %d files identical to ImageMagick, %d refused, %d read where ImageMagick refuses\n",
                identical, refused, accepted);
}

// giflib's own answers: the last image as stored (palette colours, RGB) and
// the global colour map.
TEST(GifCorpus, MatchesGiflibRenderings) {
    const std::string corpora = test::corporaDir();
    if (corpora.empty()) GTEST_SKIP() << "no corpora in this checkout";
    const char* names[] = {"fire",     "gifgrid",  "porsche", "solid2", "treescap-interlaced",
                           "treescap", "welcome2", "x-trans"};
    for (const char* name : names) {
        SCOPED_TRACE(name);
        GifDecoder decoder;
        ASSERT_TRUE(decoder.LoadGifFile(corpora + "/gif/giflib/pic/" + name + ".gif"));
        const std::vector<uint8_t> rgba = storedRgba(decoder, decoder.FrameCount() - 1);
        std::vector<uint8_t> rgb;
        for (size_t i = 0; i < rgba.size(); i += 4)
            rgb.insert(rgb.end(), rgba.begin() + static_cast<long>(i), rgba.begin() + static_cast<long>(i + 3));
        EXPECT_EQ(rgb, test::readBytes(corpora + "/gif/giflib/tests/" + name + ".rgb"));

        // Each map line is "index red green blue"; images without a local table use it.
        GifStoredImage first;
        ASSERT_TRUE(decoder.GetStoredImage(0, first));
        std::ifstream map(corpora + "/gif/giflib/tests/" + name + ".map");
        int index, red, green, blue, entries = 0;
        while (map >> index >> red >> green >> blue) {
            ASSERT_LT(static_cast<size_t>(index), first.colours.size());
            EXPECT_EQ(first.colours[static_cast<size_t>(index)], static_cast<uint32_t>(red << 16 | green << 8 | blue));
            ++entries;
        }
        EXPECT_GT(entries, 0);
    }
}

// Single-picture files of the pygif suite whose one image covers the whole
// screen: the expected picture is that image, transparent pixels showing the
// white they are replaced with.
const std::map<std::string, std::string> kPygifDiffers = {
    {"missing-pixels", "pixels the data never reaches keep index 0 instead of staying transparent"},
};

std::map<std::string, std::string> readConf(const std::string& path) {
    std::map<std::string, std::string> values;
    std::ifstream in(path);
    std::string line;
    while (std::getline(in, line)) {
        const size_t eq = line.find(" = ");
        if (eq != std::string::npos) values.emplace(line.substr(0, eq), line.substr(eq + 3));
    }
    return values;
}

TEST(GifCorpus, MatchesPygifExpectedPictures) {
    const std::string corpora = test::corporaDir();
    if (corpora.empty()) GTEST_SKIP() << "no corpora in this checkout";
    const std::string suite = corpora + "/gif/pygif/test-suite/";
    std::ifstream tests(suite + "TESTS");
    std::string name;
    int compared = 0;
    while (tests >> name) {
        const auto conf = readConf(suite + name + ".conf");
        if (conf.count("frames") == 0 || conf.at("frames") != "frame0" || conf.count("pixels") == 0) continue;
        GifDecoder decoder;
        GifFrameInfo info;
        if (!decoder.LoadGifFile(suite + conf.at("input")) || decoder.FrameCount() != 1 ||
            !decoder.GetFrameInfo(0, info))
            continue;
        const int width = std::stoi(conf.at("width")), height = std::stoi(conf.at("height"));
        if (info.left != 0 || info.top != 0 || info.width != width || info.height != height) continue;
        SCOPED_TRACE(name);
        PixelImage ours;
        ASSERT_TRUE(decoder.CreateFrameBitmap(0, ours));
        const std::vector<uint8_t> rgba = test::readBytes(suite + conf.at("pixels"));
        ASSERT_EQ(rgba.size(), ours.pixels.size() * 4);
        long differing = 0;
        for (size_t i = 0; i < ours.pixels.size(); ++i) {
            const uint8_t* p = rgba.data() + 4 * i;
            const uint32_t want =
                p[3] == 0 ? 0xFFFFFFFFu : 0xFF000000u | (uint32_t{p[0]} << 16) | (uint32_t{p[1]} << 8) | p[2];
            differing += ours.pixels[i] != want;
        }
        if (kPygifDiffers.count(name)) {
            EXPECT_GT(differing, 0) << kPygifDiffers.at(name);
        } else {
            EXPECT_EQ(differing, 0);
        }
        ++compared;
    }
    EXPECT_GT(compared, 30);
}

}  // namespace
}  // namespace quell::image
