#include "core/os/file_system.h"
#include "core/os/text_codec.h"

#include <gtest/gtest.h>
#include <stdlib.h>

#include <filesystem>
#include <fstream>

namespace fs = std::filesystem;
using namespace quell::os;

TEST(ResolveCaseInsensitive, FindsEachComponentWithoutRegardToCase) {
    char pattern[] = "/tmp/quell-fs-XXXXXX";
    std::string root = mkdtemp(pattern);
    fs::create_directories(root + "/Media/Sub");
    std::ofstream(root + "/Media/Sub/Button-1.BMP") << "x";
    std::ofstream(root + "/Media/exact.wav") << "x";

    EXPECT_EQ(resolveCaseInsensitive(root + "/Media/", "sub\\button-1.bmp"), root + "/Media/Sub/Button-1.BMP");
    EXPECT_EQ(resolveCaseInsensitive(root + "/Media", "SUB/BUTTON-1.BMP"), root + "/Media/Sub/Button-1.BMP");
    EXPECT_EQ(resolveCaseInsensitive(root + "/Media/", "exact.wav"), root + "/Media/exact.wav");
    // Nothing matches: the name comes back joined as given, with '/' separators.
    EXPECT_EQ(resolveCaseInsensitive(root + "/Media/", "Sub\\none.bmp"), root + "/Media/Sub/none.bmp");
    fs::remove_all(root);
}

TEST(TextCodec, Utf8ValidityAndLegacyDecoding) {
    EXPECT_TRUE(isValidUtf8("plain"));
    EXPECT_TRUE(isValidUtf8("\xE3\x81\x82"));
    EXPECT_FALSE(isValidUtf8("\xE3\x81"));          // truncated
    EXPECT_FALSE(isValidUtf8("\xC0\xAF"));          // overlong
    EXPECT_FALSE(isValidUtf8("\xED\xA0\x80"));      // surrogate
    EXPECT_EQ(decodeLegacyText("\x82\xa0"), "\xE3\x81\x82");  // Shift-JIS hiragana a
    EXPECT_EQ(decodeLegacyText("\xb1"), "\xEF\xBD\xB1");      // half-width katakana a
    EXPECT_EQ(utf16leToUtf8(std::string("\x3D\xD8\x00\xDE", 4)), "\xF0\x9F\x98\x80");
    EXPECT_EQ(utf16leToUtf8(std::string("\x00\xD8", 2)), "\xEF\xBF\xBD");  // unpaired surrogate
}
