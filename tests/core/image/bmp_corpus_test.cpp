// Every BMP file of the external corpora against the upstream reference
// renderings, or against ImageMagick where upstream gives none.
#include <gtest/gtest.h>

#include <map>
#include <set>

#include "core/image/bitmap_file.h"
#include "support/corpus_expectations.h"
#include "support/image_test_support.h"

namespace quell::image {
namespace {

// Files refused on purpose although ImageMagick or an upstream rendering
// reads them, with the error they are refused with.
struct Refusal {
    BitmapError error;
    const char* reason;
};
const std::map<std::string, Refusal> kRefused = {
    {"bmp/bmpsuite-2.8/b/badheadersize.bmp",
     {BitmapError::UnknownHeader, "a 66-byte information header is no known header"}},
    {"bmp/bmpsuite-2.8/b/rletopdown.bmp", {BitmapError::TopDownRunLength, "run-length pictures cannot be top-down"}},
    {"bmp/bmpsuite-2.8/q/pal8os2sp.bmp",
     {BitmapError::TruncatedPixels,
      "a 12-byte header implies a full 256-entry table, and the pixels after it are not all in the file"}},
    {"bmp/bmpsuite-2.8/q/pal1huffmsb.bmp", {BitmapError::UnknownHeader, "OS/2 2.x 64-byte headers are not read"}},
    {"bmp/bmpsuite-2.8/q/pal8os2v2.bmp", {BitmapError::UnknownHeader, "OS/2 2.x 64-byte headers are not read"}},
    {"bmp/bmpsuite-2.8/q/pal8os2v2-sz.bmp", {BitmapError::UnknownHeader, "OS/2 2.x 64-byte headers are not read"}},
    {"bmp/bmpsuite-2.8/q/pal8os2v2-16.bmp", {BitmapError::UnknownHeader, "OS/2 2.x 16-byte headers are not read"}},
    {"bmp/bmpsuite-2.8/q/rgb24rle24.bmp", {BitmapError::UnknownHeader, "OS/2 2.x 64-byte headers are not read"}},
    {"bmp/bmpsuite-2.8/q/rgb24jpeg.bmp", {BitmapError::UnsupportedCompression, "embedded JPEG data is not decoded"}},
    {"bmp/bmpsuite-2.8/q/rgb24png.bmp", {BitmapError::UnsupportedCompression, "embedded PNG data is not decoded"}},
    {"bmp/bmpsuite-2.8/q/rgba64.bmp", {BitmapError::BadBitCount, "64 bits per pixel is not a screen format"}},
    {"bmp/bmpsuite-2.8/x/ba-bm.bmp", {BitmapError::NotBitmap, "an OS/2 bitmap array starts with \"BA\", not \"BM\""}},
};

// Files decoded on purpose with other pixels than the upstream rendering.
const std::map<std::string, std::string> kDiffers = {
    {"bmp/bmpsuite-2.8/q/pal8offs.bmp",
     "the pixels are taken right after the colour table; the file header's data offset is not used"},
    {"bmp/bmpsuite-2.8/q/rgb24prof2.bmp", "embedded colour profiles are not applied"},
};

// Files ImageMagick refuses and nobody renders, decoded on purpose.
const std::map<std::string, std::string> kAcceptedWithoutReference = {
    {"bmp/bmpsuite-2.8/b/badfilesize.bmp", "the file-size field is not used; the real length is"},
    {"bmp/bmpsuite-2.8/b/pal8badindex.bmp", "indices past the colour table read as black"},
    {"bmp/image-rs/tests/images/bmp/images/lenient/rle_overflow.bmp", "a literal run past the row end is cut at it"},
};

// Files without a reference rendering that ImageMagick reads with other
// pixels than ours, decoded on purpose.
const std::map<std::string, std::string> kDiffersFromMagick = {
    {"bmp/bmpsuite-2.8/b/badrle.bmp", "runs past the row end are cut at it"},
    {"bmp/bmpsuite-2.8/b/badrle4.bmp", "runs past the row end are cut at it"},
    {"bmp/bmpsuite-2.8/b/badrle4bis.bmp", "a delta past the right edge ends the picture"},
    {"bmp/bmpsuite-2.8/b/badrle4ter.bmp", "a delta past the right edge ends the picture"},
    {"bmp/bmpsuite-2.8/b/badrlebis.bmp", "a delta past the right edge ends the picture"},
    {"bmp/bmpsuite-2.8/b/badrleter.bmp", "a delta past the right edge ends the picture"},
};

// Channels wider than 8 bits are rounded once here, twice in 16-bit
// reference renderings, so they may differ by one step.
const std::set<std::string> kWideChannels = {
    "bmp/bmpsuite-2.8/q/rgb32-111110.bmp", "bmp/bmpsuite-2.8/q/rgb32-7187.bmp", "bmp/bmpsuite-2.8/q/rgba32-61754.bmp",
    "bmp/bmpsuite-2.8/q/rgba32-81284.bmp", "bmp/bmpsuite-2.8/q/rgba32-1010102.bmp"};

std::vector<uint8_t> rgbStream(const PixelImage& image) {
    std::vector<uint8_t> rgb;
    rgb.reserve(image.pixels.size() * 3);
    for (uint32_t p : image.pixels) {
        rgb.push_back(static_cast<uint8_t>(p >> 16));
        rgb.push_back(static_cast<uint8_t>(p >> 8));
        rgb.push_back(static_cast<uint8_t>(p));
    }
    return rgb;
}

// Compares with a rendering that has alpha: only its opaque pixels say what
// the colour is. Returns the number of opaque pixels that differ, or -1.
long opaqueDifferences(const PixelImage& ours, const PixelImage& reference, int tolerance) {
    if (ours.width != reference.width || ours.height != reference.height) return -1;
    long differing = 0, opaque = 0;
    for (size_t i = 0; i < ours.pixels.size(); ++i) {
        if ((reference.pixels[i] >> 24) != 255) continue;
        ++opaque;
        for (int shift = 0; shift < 24; shift += 8) {
            const int a = static_cast<int>((ours.pixels[i] >> shift) & 255);
            const int b = static_cast<int>((reference.pixels[i] >> shift) & 255);
            if (std::abs(a - b) > tolerance) {
                ++differing;
                break;
            }
        }
    }
    return opaque == 0 ? -1 : differing;
}

TEST(BitmapCorpus, MatchesReferencesOrFailsCleanly) {
    const std::string corpora = test::corporaDir();
    if (corpora.empty()) GTEST_SKIP() << "no corpora in this checkout";
    const auto expected = test::readExpectations(corpora + "/expected/bmp.txt");
    const bool magick = test::toolAvailable("convert");
    int identical = 0, refused = 0, nearMatches = 0;

    for (const std::string& file : test::corpusFiles(corpora, "bmp", ".bmp")) {
        SCOPED_TRACE(file);
        PixelImage image;
        BitmapError error = BitmapError::None;
        const bool decoded = LoadBitmapFile(corpora + "/" + file, image, error);
        const auto found = expected.find(file);
        ASSERT_NE(found, expected.end()) << "no expected answer recorded";
        const test::ExpectedFile& answer = found->second;

        if (kRefused.count(file)) {
            EXPECT_FALSE(decoded) << kRefused.at(file).reason;
            EXPECT_EQ(error, kRefused.at(file).error) << BitmapErrorName(error);
            ++refused;
            continue;
        }
        // ImageMagick may print some pixels and still report an error.
        const bool magickRefuses = answer.identifyExit != 0 || answer.rgbBytes == 0;
        if (answer.references.empty()) {
            if (magickRefuses && !kAcceptedWithoutReference.count(file)) {
                EXPECT_FALSE(decoded) << "ImageMagick refuses this file and so should we";
                if (!decoded) {
                    EXPECT_NE(error, BitmapError::None) << "a refusal names its error";
                }
                refused += !decoded;
                continue;
            }
            ASSERT_TRUE(decoded);
            if (!magickRefuses && !kDiffersFromMagick.count(file)) {
                EXPECT_EQ(test::sha256Hex(rgbStream(image)), answer.rgbSha256) << "differs from ImageMagick";
            }
            ++identical;
            continue;
        }

        ASSERT_TRUE(decoded);
        if (kDiffers.count(file)) continue;
        const std::string digest = test::sha256Hex(rgbStream(image));
        bool matched = false;
        for (const auto& [path, referenceDigest] : answer.references) matched |= digest == referenceDigest;
        if (matched) {
            ++identical;
            continue;
        }
        // Renderings with alpha (or wide channels) cannot match by digest;
        // compare their opaque pixels one by one.
        if (!magick) continue;
        long best = -1;
        for (const auto& [path, referenceDigest] : answer.references) {
            const auto reference = test::magickRead(corpora + "/" + path);
            if (!reference) continue;
            const long differing = opaqueDifferences(image, *reference, kWideChannels.count(file) ? 1 : 0);
            if (differing >= 0 && (best < 0 || differing < best)) best = differing;
        }
        EXPECT_EQ(best, 0) << "no reference rendering matches";
        nearMatches += best == 0;
    }
    std::printf("BMP corpus: %d identical, %d matching on opaque pixels, %d refused\n", identical, nearMatches,
                refused);
}

}  // namespace
}  // namespace quell::image
