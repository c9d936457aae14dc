#include "core/bookmarks/shortcut_file.h"

#include <gtest/gtest.h>

#include <filesystem>

#include "core/os/file_system.h"
#include "support/bookmark_fixtures.h"

using namespace quell::bookmarks;
using bookmark_test::TempFolder;
using quell::os::kMaxTextFileBytes;

TEST(ShortcutFile, ReplacesExistingFileAndLeavesNoTemporary) {
    TempFolder dir;
    dir.writeFile("a.url", "[InternetShortcut]\r\nURL=http://old/\r\nIconIndex=3\r\n");
    ASSERT_TRUE(WriteShortcut(dir.path() + "a.url", "http://new/"));
    EXPECT_EQ(dir.readFile("a.url"), "[InternetShortcut]\r\nURL=http://new/\r\n");
    int entries = 0;
    for ([[maybe_unused]] auto& e : std::filesystem::directory_iterator(dir.root())) ++entries;
    EXPECT_EQ(entries, 1);
}

TEST(ShortcutFile, WriteFailuresReturnFalseWithoutDamage) {
    TempFolder dir;
    dir.makeFolder("Work");
    EXPECT_FALSE(WriteShortcut(dir.path() + "missing/a.url", "http://x/"));
    // A folder of that name is never replaced by a file.
    EXPECT_FALSE(WriteShortcut(dir.path() + "Work", "http://x/"));
    EXPECT_TRUE(std::filesystem::is_directory(dir.root() / "Work"));
    // A line break in the URL would forge extra lines.
    dir.writeFile("b.url", "[InternetShortcut]\r\nURL=http://keep/\r\n");
    EXPECT_FALSE(WriteShortcut(dir.path() + "b.url", "http://x/\r\nIconFile=evil"));
    EXPECT_EQ(dir.readFile("b.url"), "[InternetShortcut]\r\nURL=http://keep/\r\n");
}

// ASCII text as UTF-16LE behind its byte-order mark, as Notepad saves "Unicode".
std::string utf16le(std::string_view ascii) {
    std::string out = "\xff\xfe";
    for (char c : ascii) out += std::string{c, '\0'};
    return out;
}

TEST(ShortcutFile, ReadsTheUrlKeyOfTheShortcutSection) {
    TempFolder dir;
    // Internet Explorer 10 and 11 write IDList= first; a property store's
    // section and [DEFAULT] often come before the shortcut's own.
    const std::string propertyStore = "[{000214A0-0000-0000-C000-000000000046}]\r\nProp3=19,2\r\n";
    struct Case {
        const char* name;
        std::string text;
        bool found;
        std::string url;
    } cases[] = {
        {"plain", "[InternetShortcut]\r\nURL=http://a/\r\n", true, "http://a/"},
        {"lf-only", "[InternetShortcut]\nURL=http://b/\n", true, "http://b/"},
        {"no-final-newline", "[InternetShortcut]\r\nURL=http://c/", true, "http://c/"},
        {"idlist-first", "[InternetShortcut]\r\nIDList=\r\nURL=http://d/\r\nIconIndex=0\r\n", true, "http://d/"},
        {"key-case-and-blanks", "[internetshortcut]\r\n  url \t= http://e/ \r\n", true, "http://e/"},
        {"property-store-and-base-first",
         "[DEFAULT]\r\nBASEURL=http://other/\r\n" + propertyStore + "[InternetShortcut]\r\nURL=http://f/\r\n", true,
         "http://f/"},
        {"first-url-of-the-section", "[InternetShortcut]\r\nURL=http://g/\r\nURL=http://h/\r\n", true, "http://g/"},
        {"url-of-another-section", "[Other]\r\nURL=http://i/\r\n[InternetShortcut]\r\nIDList=\r\n", false, ""},
        // A code page's URL in the section, the same URL in UTF-7 in ".W".
        {"wide-section",
         "[InternetShortcut]\r\nURL=http://\x97\xe1.jp/\r\n[InternetShortcut.W]\r\nURL=http://+T4s-.jp/\r\n", true,
         "http://\xe4\xbe\x8b.jp/"},
        {"code-page-932-alone", "[InternetShortcut]\r\nURL=http://\x97\xe1.jp/\r\n", true, "http://\xe4\xbe\x8b.jp/"},
        {"utf-8", "[InternetShortcut]\r\nURL=http://\xe4\xbe\x8b.jp/\r\n", true, "http://\xe4\xbe\x8b.jp/"},
        {"utf-16-with-mark", utf16le("[InternetShortcut]\r\nURL=http://l/\r\n"), true, "http://l/"},
        {"header-inside-a-line", "xx[InternetShortcut]yy\r\nURL=http://j/\r\n", false, ""},
        {"section-without-url", "[InternetShortcut]\r\nIDList=\r\nIconIndex=0\r\n", false, ""},
        {"empty-url", "[InternetShortcut]\r\nURL=\r\n", false, ""},
        {"no-section", "URL=http://k/\r\n", false, ""},
        {"empty", "", false, ""},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        dir.writeFile(c.name, c.text);
        std::string url = "unchanged";
        EXPECT_EQ(ReadShortcutUrl(dir.path() + c.name, url), c.found);
        EXPECT_EQ(url, c.found ? c.url : "unchanged");
    }
}

TEST(ShortcutFile, FoldersAndMissingFilesGiveNoUrl) {
    TempFolder dir;
    dir.makeFolder("Work.url");
    std::string url;
    EXPECT_FALSE(ReadShortcutUrl(dir.path() + "Work.url", url));
    EXPECT_FALSE(ReadShortcutUrl(dir.path() + "none.url", url));
}

TEST(ShortcutFile, FilesPastTheSizeCapGiveNoUrl) {
    TempFolder dir;
    for (const size_t size : {kMaxTextFileBytes, kMaxTextFileBytes + 1}) {
        SCOPED_TRACE(size);
        dir.writeFile("big.url", "[InternetShortcut]\r\nURL=http://example.com/\r\n");
        std::filesystem::resize_file(dir.path() + "big.url", size);
        std::string url;
        EXPECT_EQ(ReadShortcutUrl(dir.path() + "big.url", url), size == kMaxTextFileBytes);
    }
}

TEST(ShortcutFile, WritesHeaderAndUrlWithCrLfAndReadsThemBack) {
    TempFolder dir;
    const std::string url = "https://例え.jp/パス?q=1&r=2#frag";
    ASSERT_TRUE(WriteShortcut(dir.path() + "x.url", url));
    EXPECT_EQ(dir.readFile("x.url"), "[InternetShortcut]\r\nURL=" + url + "\r\n");
    std::string read;
    ASSERT_TRUE(ReadShortcutUrl(dir.path() + "x.url", read));
    EXPECT_EQ(read, url);
}

TEST(ShortcutName, ReplacesTheNineReservedCharacters) {
    EXPECT_EQ(MakeShortcutName("a:b\\c/d*e?f\"g<h>i|j"), "a-b-c-d-e-f-g-h-i-j");
    EXPECT_EQ(MakeShortcutName("Example: News / Today"), "Example- News - Today");
    EXPECT_EQ(MakeShortcutName("日本語 タイトル"), "日本語 タイトル");
}

TEST(ShortcutName, FileNameFitsLimitWithoutSplittingCharacters) {
    EXPECT_EQ(BookmarkFileName("A: B"), "A- B.url");
    EXPECT_EQ(BookmarkFileName("line\nbreak"), "line break.url");
    std::string longTitle;
    for (int i = 0; i < 100; ++i) longTitle += "あ";  // 300 bytes
    std::string name = BookmarkFileName(longTitle);
    EXPECT_LE(name.size(), 255u);
    EXPECT_EQ(name.substr(name.size() - 4), ".url");
    EXPECT_EQ((name.size() - 4) % 3, 0u);
}
