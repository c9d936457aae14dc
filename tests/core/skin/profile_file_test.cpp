#include "core/skin/profile_file.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <string>

#include <unistd.h>

#include "core/os/file_system.h"

using quell::skin::ProfileFile;

namespace {

std::string read(const std::string& text, const char* section, const char* key) {
    return ProfileFile::Parse(std::string_view(text)).ReadString(section, key, "FALSE");
}

struct LookupCase {
    const char* name;
    std::string text;
    const char* section;
    const char* key;
    const char* expected;
};

}  // namespace

TEST(ProfileFile, LookupRules) {
    const LookupCase cases[] = {
        {"sections and keys ignore case", "[FrameBitmap]\nFileName=a.bmp\n", "framebitmap", "FILENAME", "a.bmp"},
        {"absent key gives the default", "[A]\nx=1\n", "A", "y", "FALSE"},
        {"absent section gives the default", "[A]\nx=1\n", "B", "x", "FALSE"},
        {"lines before the first section are ignored", "x=1\n[A]\n", "A", "x", "FALSE"},
        {"semicolon at line start is a comment", "[A]\n  ; x=1\n", "A", "x", "FALSE"},
        {"hash is not a comment", "[A]\n#x=1\n", "A", "#x", "1"},
        {"a semicolon inside a value stays", "[A]\nx=1;2\n", "A", "x", "1;2"},
        {"a line without = is no key", "[A]\nx\nx=2\n", "A", "x", "2"},
        {"first of duplicate keys wins", "[A]\nx=1\nx=2\n", "A", "x", "1"},
        {"only the first duplicate section is searched", "[A]\nx=1\n[a]\ny=2\n", "A", "y", "FALSE"},
        {"header without ] names its section", "[A\nx=1\n", "A", "x", "1"},
        {"text after ] is ignored", "[A] trailing\nx=1\n", "A", "x", "1"},
        {"blanks trimmed around names and values", "[ \tA\v ]\n \t x \v= \t v w \t\n", "A", "x", "v w"},
        {"spaces trimmed around the names asked for", "[Skin]\nFrame=f.bmp\n", "  Skin ", " Frame  ", "f.bmp"},
        {"a tab before a section asked for matches nothing", "[Skin]\nFrame=f.bmp\n", "\tSkin", "Frame", "FALSE"},
        {"a tab after a key asked for matches nothing", "[Skin]\nFrame=f.bmp\n", "Skin", "Frame\t", "FALSE"},
        {"one pair of double quotes removed", "[A]\nx=\"q\"\n", "A", "x", "q"},
        {"one pair of single quotes removed", "[A]\nx='q'\n", "A", "x", "q"},
        {"only the outer pair is removed", "[A]\nx=\"\"q\"\"\n", "A", "x", "\"q\""},
        {"mismatched quotes stay", "[A]\nx=\"q'\n", "A", "x", "\"q'"},
        {"a lone quote stays", "[A]\nx=\"\n", "A", "x", "\""},
        {"blanks inside quotes stay", "[A]\nx=\" q \"\n", "A", "x", " q "},
        {"CR LF line ends", "[A]\r\nx=1\r\ny=2\r\n", "A", "y", "2"},
        {"CR-only line ends", "[A]\rx=1\ry=2\r", "A", "y", "2"},
        {"present empty value is empty, not the default", "[A]\nx=\n", "A", "x", ""},
        {"everything after the first = belongs to the value", "[A]\nx=a=b\n", "A", "x", "a=b"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        EXPECT_EQ(read(c.text, c.section, c.key), c.expected);
    }
}

TEST(ProfileFile, CutsValuesAt99BytesWithoutSplittingACharacter) {
    std::string value(120, 'v');
    EXPECT_EQ(read("[A]\nx=" + value + "\n", "A", "x"), std::string(99, 'v'));
    // The quotes come off before the cut, so a quoted value keeps 99 characters of its own.
    EXPECT_EQ(read("[A]\nx=\"" + value + "\"\n", "A", "x"), std::string(99, 'v'));
    // 98 ASCII bytes then a three-byte character: the character does not fit.
    EXPECT_EQ(read("[A]\nx=" + std::string(98, 'a') + "\xE3\x81\x82" + "b\n", "A", "x"), std::string(98, 'a'));
}

TEST(ProfileFile, IntegerReads) {
    struct IntCase {
        const char* value;
        int32_t expected;
    } cases[] = {
        {"42", 42}, {"-7", -7}, {"+5", 5},    {"12abc", 12},     {"abc", 0},
        {"", 0},    {"  9", 9}, {"\"3\"", 3}, {"4294967297", 1}, {"2147483648", INT32_MIN},
        {"-0", 0},  {"- 1", 0}, {"0x10", 0},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.value);
        auto file = ProfileFile::Parse(std::string_view(std::string("[A]\nn=") + c.value + "\n"));
        EXPECT_EQ(file.ReadInt("A", "n", -1), c.expected);
    }
    EXPECT_EQ(ProfileFile::Parse(std::string_view("[A]\n")).ReadInt("A", "n", -1), -1);
}

TEST(ProfileFile, ReadsUtf16AndCodePage932AndSkipsAUtf8Mark) {
    std::string utf16 = "\xFF\xFE";
    for (char16_t c : std::u16string(u"[Text]\r\nCaption=\u30DB\u30FC\u30E0\r\n")) {
        utf16 += static_cast<char>(c & 0xFF);
        utf16 += static_cast<char>(c >> 8);
    }
    const std::pair<const char*, std::string> cases[] = {
        {"UTF-16 with its mark", utf16},
        {"code page 932, which is no UTF-8", "[Text]\nCaption=\x83\x7A\x81\x5B\x83\x80\n"},  // "ホーム"
        {"UTF-8 after its mark", "\xEF\xBB\xBF[Text]\nCaption=\xE3\x83\x9B\xE3\x83\xBC\xE3\x83\xA0\n"},
    };
    for (const auto& [name, text] : cases) {
        SCOPED_TRACE(name);
        const std::vector<uint8_t> bytes(text.begin(), text.end());
        EXPECT_EQ(ProfileFile::Parse(std::span<const uint8_t>(bytes)).ReadString("text", "caption", "FALSE"),
                  "\xE3\x83\x9B\xE3\x83\xBC\xE3\x83\xA0");
    }
}

TEST(ProfileFile, MissingFileReadsAsEmpty) {
    auto file = ProfileFile::Load("/nonexistent/skin.ini");
    EXPECT_EQ(file.ReadString("FrameBitmap", "FileName", "FALSE"), "FALSE");
    EXPECT_EQ(file.ReadInt("Text", "TextNo", -1), -1);
}

// A description longer than the cap, or one that never ends, reads like a
// missing one; one at the cap is read.
TEST(ProfileFile, FilesPastTheSizeCapReadAsMissing) {
    namespace fs = std::filesystem;
    const fs::path dir = fs::temp_directory_path() / ("quell-profile-cap-" + std::to_string(::getpid()));
    fs::create_directories(dir);
    struct Case {
        const char* name;
        size_t size;  // 0: a link to /dev/zero
        bool read;
    };
    const Case cases[] = {
        {"at-cap.ini", quell::os::kMaxTextFileBytes, true},
        {"past-cap.ini", quell::os::kMaxTextFileBytes + 1, false},
        {"endless.ini", 0, false},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        const fs::path path = dir / c.name;
        if (c.size == 0) {
            fs::create_symlink("/dev/zero", path);
        } else {
            std::ofstream(path) << "[Skin]\nKey=1\n";
            fs::resize_file(path, c.size);
        }
        EXPECT_EQ(ProfileFile::Load(path.string()).HasKey("Skin", "Key"), c.read);
    }
    fs::remove_all(dir);
}

TEST(ProfileFile, ReachableValueLengthsAreTheUncutOnesInFileOrder) {
    const std::string longValue(120, 'x');
    const std::string text = "[A]\r\n k = \"" + longValue +
                             "\"\r\nK=second\r\nshort= ab \r\n"
                             "[a]\nhidden=1\n[B]\nv='q'\n";
    const ProfileFile file = ProfileFile::Parse(std::string_view(text));
    const auto lengths = file.ReachableValueLengths();
    ASSERT_EQ(lengths.size(), 3u) << "the second key k and the second section a are never read";
    EXPECT_EQ(lengths[0].section, "A");
    EXPECT_EQ(lengths[0].key, "k");
    EXPECT_EQ(lengths[0].bytesInFile, 120u);
    EXPECT_EQ(file.ReadString("A", "k", "").size(), ProfileFile::kMaxValueBytes);
    EXPECT_EQ(lengths[1].key, "short");
    EXPECT_EQ(lengths[1].bytesInFile, 2u);
    EXPECT_EQ(lengths[2].section, "B");
    EXPECT_EQ(lengths[2].bytesInFile, 1u);
}
