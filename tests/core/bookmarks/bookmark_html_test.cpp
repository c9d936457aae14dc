#include "core/bookmarks/bookmark_html.h"

#include <gtest/gtest.h>

#include <algorithm>

#include "core/bookmarks/bookmark_exchange.h"
#include "core/bookmarks/shortcut_file.h"
#include "support/bookmark_fixtures.h"

using namespace quell::bookmarks;
using bookmark_test::TempFolder;

namespace {

using List = std::vector<BookmarkEntry>;

BookmarkEntry makeLink(const std::string& title, const std::string& url) {
    BookmarkEntry e;
    e.title = title;
    e.url = url;
    return e;
}

BookmarkEntry folder(const std::string& title, std::vector<BookmarkEntry> children) {
    BookmarkEntry e;
    e.isFolder = true;
    e.title = title;
    e.children = std::move(children);
    return e;
}

// One line per entry, indented by depth, each level sorted, so trees can be
// compared whatever order the file system lists them in.
void describe(std::vector<BookmarkEntry> entries, int depth, std::vector<std::string>& out) {
    std::sort(entries.begin(), entries.end(), [](const auto& a, const auto& b) { return a.title < b.title; });
    for (const BookmarkEntry& e : entries) {
        out.push_back(std::string(depth * 2, ' ') + (e.isFolder ? "[" + e.title + "]" : e.title + " -> " + e.url));
        describe(e.children, depth + 1, out);
    }
}

std::vector<std::string> describe(const std::vector<BookmarkEntry>& entries) {
    std::vector<std::string> out;
    describe(entries, 0, out);
    return out;
}

}  // namespace

TEST(BookmarkHtml, ParsesNestedFoldersFromABrowserExport) {
    const char* html =
        "<!DOCTYPE NETSCAPE-Bookmark-file-1>\n<META HTTP-EQUIV=\"Content-Type\" CONTENT=\"text/html; charset=UTF-8\">\n"
        "<TITLE>Bookmarks</TITLE>\n<H1>Bookmarks Menu</H1>\n<DL><p>\n"
        "  <DT><H3 ADD_DATE=\"1\" PERSONAL_TOOLBAR_FOLDER=\"true\">Toolbar</H3>\n"
        "  <DL><p>\n"
        "    <dt><a href='https://a.example/?x=1&amp;y=2' ADD_DATE=\"2\" ICON=\"data:image/png;base64,AA>\">A &amp; "
        "B</a>\n"
        "    <DT><H3>Empty</H3>\n    <DL><p>\n    </DL><p>\n"
        "  </DL><p>\n"
        "  <DT><A HREF=\"http://b.example/\">Caf&#233; &#x263A; &lt;b&gt;</A>\n"
        "  <DD>a description that is not a link\n"
        "</DL><p>\n";
    auto entries = ParseBookmarkHtml(html);
    EXPECT_EQ(describe(entries), (std::vector<std::string>{
                                     "Café ☺ <b> -> http://b.example/",
                                     "[Toolbar]",
                                     "  A & B -> https://a.example/?x=1&y=2",
                                     "  [Empty]",
                                 }));
}

TEST(BookmarkHtml, ToleratesTruncatedAndMalformedInput) {
    const char* cases[] = {"",
                           "<DL>",
                           "<DL><DT><A HREF=\"x",
                           "<DL><DT><H3>Open",
                           "<DL><DT><A HREF=x>t",
                           "<<<>>>&&&;",
                           "<DL><DT><H3>F</H3><DL><DL><DL>",
                           "<!-- <DL> never closed"};
    for (const char* c : cases) {
        SCOPED_TRACE(c);
        ParseBookmarkHtml(c);
    }
    auto e = ParseBookmarkHtml("<DL><DT><A HREF=x>t");
    ASSERT_EQ(e.size(), 1u);
    EXPECT_EQ(e[0].url, "x");
    EXPECT_EQ(e[0].title, "t");
}

TEST(BookmarkHtml, WrittenFileParsesBackToSameEntries) {
    std::vector<BookmarkEntry> entries = {
        makeLink("Quotes \"and\" <tags> & more", "http://x.example/?a=1&b=\"2\""),
        folder("Work", List{makeLink("Mail", "http://mail/"), folder("Deep", List{makeLink("日本", "http://jp/")})}),
    };
    EXPECT_EQ(describe(ParseBookmarkHtml(WriteBookmarkHtml(entries))), describe(entries));
}

TEST(BookmarkExchange, ExportThenImportGivesSameTree) {
    TempFolder source;
    source.writeFile("News.url", "[InternetShortcut]\r\nURL=http://news/\r\n");
    source.writeFile("Work/Mail.url", "[InternetShortcut]\r\nURL=http://mail/\r\n");
    source.writeFile("Work/Deep/Doc.url", "[InternetShortcut]\r\nURL=https://doc/?q=a&b\r\n");
    source.makeFolder("Empty");
    source.writeFile("readme.txt", "ignored");
    auto exported = CollectBookmarks(source.path());

    TempFolder target;
    ImportSummary summary = ImportBookmarks(ParseBookmarkHtml(WriteBookmarkHtml(exported)), target.path());
    EXPECT_EQ(summary.bookmarksWritten, 3);
    EXPECT_EQ(summary.foldersCreated, 3);
    EXPECT_EQ(summary.failures, 0);
    EXPECT_EQ(describe(CollectBookmarks(target.path())), describe(exported));
    EXPECT_EQ(target.readFile("Work/Deep/Doc.url"), "[InternetShortcut]\r\nURL=https://doc/?q=a&b\r\n");
}

TEST(BookmarkExchange, ExportsTheUrlsOfShortcutsOtherBrowsersWrote) {
    TempFolder source;
    // As Internet Explorer 11 writes its favourites, and as a system whose
    // code page cannot hold the address writes it.
    source.writeFile("Ie.url",
                     "[{000214A0-0000-0000-C000-000000000046}]\r\nProp3=19,11\r\n[InternetShortcut]\r\n"
                     "IDList=\r\nURL=http://ie/\r\nIconIndex=13\r\n");
    source.writeFile("Wide.url",
                     "[InternetShortcut]\r\nURL=http://?.jp/\r\n[InternetShortcut.W]\r\nURL=http://+T4s-.jp/\r\n");
    const std::string html = WriteBookmarkHtml(CollectBookmarks(source.path()));
    EXPECT_NE(html.find("HREF=\"http://ie/\""), std::string::npos) << html;
    EXPECT_NE(html.find("HREF=\"http://\xe4\xbe\x8b.jp/\""), std::string::npos) << html;
}

TEST(BookmarkExchange, ImportNeverReplacesExistingBookmarks) {
    TempFolder target;
    target.writeFile("Same.url", "[InternetShortcut]\r\nURL=http://same/\r\n");
    target.writeFile("Clash.url", "[InternetShortcut]\r\nURL=http://mine/\r\n");
    ImportSummary summary = ImportBookmarks(
        List{makeLink("Same", "http://same/"), makeLink("Clash", "http://theirs/"), makeLink("a/b: c", "http://n/")},
        target.path());
    EXPECT_EQ(summary.bookmarksAlreadyPresent, 1);
    EXPECT_EQ(summary.bookmarksWritten, 2);
    std::string url;
    ASSERT_TRUE(ReadShortcutUrl(target.path() + "Clash.url", url));
    EXPECT_EQ(url, "http://mine/");
    ASSERT_TRUE(ReadShortcutUrl(target.path() + "Clash (2).url", url));
    EXPECT_EQ(url, "http://theirs/");
    EXPECT_TRUE(target.exists("a-b- c.url"));
}

TEST(BookmarkExchange, ImportedFolderNamesStayInsideTarget) {
    TempFolder target;
    ImportSummary summary =
        ImportBookmarks(List{folder("..", List{makeLink("x", "http://x/")}), folder("a/b", List{})}, target.path());
    EXPECT_EQ(summary.failures, 0);
    EXPECT_TRUE(target.exists("Imported folder/x.url"));
    EXPECT_TRUE(target.exists("a-b"));
}
