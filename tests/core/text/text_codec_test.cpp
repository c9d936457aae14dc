// The text codecs, the UTF-8 helpers and byte-order-mark handling.
#include <gtest/gtest.h>

#include <string>

#include "core/text/text_codec.h"
#include "core/text/utf8.h"

namespace quell::text {
namespace {

TEST(TextCodec, Utf8ValidityAndLegacyDecoding) {
    EXPECT_TRUE(isValidUtf8("plain"));
    EXPECT_TRUE(isValidUtf8("\xE3\x81\x82"));
    EXPECT_FALSE(isValidUtf8("\xE3\x81"));                    // truncated
    EXPECT_FALSE(isValidUtf8("\xC0\xAF"));                    // overlong
    EXPECT_FALSE(isValidUtf8("\xED\xA0\x80"));                // surrogate
    EXPECT_EQ(decodeLegacyText("\x82\xa0"), "\xE3\x81\x82");  // Shift-JIS hiragana a
    EXPECT_EQ(decodeLegacyText("\xb1"), "\xEF\xBD\xB1");      // half-width katakana a
    // Code page 932 is read as such even where the bytes would pass as UTF-8 (E8 A1 A8 is 表 in UTF-8).
    EXPECT_EQ(decodeCodePage932("\xE8\xA1\xA8"), "\xE9\x99\xA6\xEF\xBD\xA8");
    EXPECT_EQ(decodeCodePage932("\x95\x5C\x8E\x86"), "\xE8\xA1\xA8\xE7\xB4\x99");  // 表紙
    // An unassigned pair is one replacement and takes its trail byte (here '\') along.
    EXPECT_EQ(decodeCodePage932("\x85\x5C"
                                "a\x80"),
              "\xEF\xBF\xBD"
              "a\xEF\xBF\xBD");
    EXPECT_EQ(utf16leToUtf8(std::string("\x3D\xD8\x00\xDE", 4)), "\xF0\x9F\x98\x80");
    EXPECT_EQ(utf16leToUtf8(std::string("\x00\xD8", 2)), "\xEF\xBF\xBD");  // unpaired surrogate
}

TEST(TextCodec, RepairedUtf8ReplacesEachIllFormedPartOnce) {
    const std::string r = "\xEF\xBF\xBD";  // U+FFFD
    const struct {
        const char* name;
        std::string in, out;
    } cases[] = {
        {"valid text stays", "a\xC3\xA9\xE6\x97\xA5\xF0\x9F\x98\x80", "a\xC3\xA9\xE6\x97\xA5\xF0\x9F\x98\x80"},
        {"a stray continuation byte",
         "a\x80"
         "b",
         "a" + r + "b"},
        {"a byte that starts nothing", "\xFF\xFE", r + r},
        {"an overlong two-byte form", "\xC0\x80", r + r},
        {"an overlong three-byte form", "\xE0\x80\x80", r + r + r},
        {"a surrogate", "\xED\xA0\x80", r + r + r},
        {"past U+10FFFF", "\xF4\x90\x80\x80", r + r + r + r},
        {"a sequence cut short is one replacement", "\xE6\x97x", r + "x"},
        {"a sequence cut by the end", "x\xF0\x9F\x98", "x" + r},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        EXPECT_EQ(quell::text::repairUtf8(c.in), c.out);
        EXPECT_TRUE(quell::text::isValidUtf8(quell::text::repairUtf8(c.in)));
    }
}

TEST(TextCodec, Utf7DecodesBase64SegmentsOfUtf16) {
    const struct {
        const char* name;
        std::string in, out;
    } cases[] = {
        {"direct characters stay", "http://a.jp/?q=1", "http://a.jp/?q=1"},
        {"a segment closed by a dash", "x+T4s-y", "x\xe4\xbe\x8by"},
        {"a segment closed by another character keeps it", "+T4s.jp", "\xe4\xbe\x8b.jp"},
        {"a segment at the end", "+T4s", "\xe4\xbe\x8b"},
        {"two units in one segment", "+T4sAQQ-",
         "\xe4\xbe\x8b"
         "A"},
        {"plus minus is a plus sign", "a+-b", "a+b"},
        {"a surrogate pair", "+2D3eAA-", "\xf0\x9f\x98\x80"},
        {"an unpaired high surrogate", "+2D0-x", "\xef\xbf\xbdx"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        EXPECT_EQ(quell::text::utf7ToUtf8(c.in), c.out);
    }
}

TEST(TextCodec, ByteOrderMarksAreFoundAndTakenOff) {
    struct Case {
        const char* name;
        std::string bytes;
        ByteOrderMark mark;
        std::string text;
    };
    const Case cases[] = {
        {"no mark", "[A]", ByteOrderMark::None, "[A]"},
        {"UTF-8 mark", "\xEF\xBB\xBF[A]", ByteOrderMark::Utf8, "[A]"},
        {"UTF-16LE mark", std::string("\xFF\xFE[\0A\0]\0", 8), ByteOrderMark::Utf16le, "[A]"},
        {"only a UTF-16LE mark", "\xFF\xFE", ByteOrderMark::Utf16le, ""},
        {"half a UTF-8 mark", "\xEF\xBB", ByteOrderMark::None, "\xEF\xBB"},
        {"big-endian mark is not taken", "\xFE\xFF", ByteOrderMark::None, "\xFE\xFF"},
        {"empty", "", ByteOrderMark::None, ""},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        EXPECT_EQ(sniffByteOrderMark(c.bytes), c.mark);
        ByteOrderMark found = ByteOrderMark::None;
        EXPECT_EQ(textAfterByteOrderMark(c.bytes, &found), c.text);
        EXPECT_EQ(found, c.mark);
    }
}

TEST(Utf8, AppendWritesEachLengthAndReplacesNonCharacters) {
    struct Case {
        uint32_t codePoint;
        std::string bytes;
    };
    const Case cases[] = {
        {0x41, "A"},
        {0x7F, "\x7F"},
        {0x80, "\xC2\x80"},
        {0x7FF, "\xDF\xBF"},
        {0x800, "\xE0\xA0\x80"},
        {0xFFFF, "\xEF\xBF\xBF"},
        {0x10000, "\xF0\x90\x80\x80"},
        {0x10FFFF, "\xF4\x8F\xBF\xBF"},
        {0xD800, "\xEF\xBF\xBD"},
        {0xDFFF, "\xEF\xBF\xBD"},
        {0x110000, "\xEF\xBF\xBD"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.codePoint);
        std::string out = "x";
        utf8::append(out, c.codePoint);
        EXPECT_EQ(out, "x" + c.bytes);
    }
}

TEST(Utf8, CutAtBoundaryNeverSplitsACharacter) {
    // "a", then U+00E9 (2 bytes), then U+3042 (3 bytes), then U+1F600 (4 bytes).
    const std::string text = "a\xC3\xA9\xE3\x81\x82\xF0\x9F\x98\x80";
    struct Case {
        size_t maxBytes;
        std::string expected;
    };
    const Case cases[] = {
        {0, ""},
        {1, "a"},
        {2, "a"},
        {3, "a\xC3\xA9"},
        {5, "a\xC3\xA9"},
        {6, "a\xC3\xA9\xE3\x81\x82"},
        {9, "a\xC3\xA9\xE3\x81\x82"},
        {10, text},
        {100, text},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.maxBytes);
        EXPECT_EQ(utf8::cutAtBoundary(text, c.maxBytes), c.expected);
    }
}

}  // namespace
}  // namespace quell::text
