#include "core/bookmarks/fill_tree.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <fstream>

#include "support/bookmark_fixtures.h"

using namespace quell::bookmarks;
using bookmark_test::TempFolder;
namespace fs = std::filesystem;

namespace {

// Writes the walk as "depth:label[/]" lines, folders marked with '/'.
class RecordingSink final : public TreeSink {
public:
    std::vector<std::string> lines;
    std::vector<std::string> paths;
    void openFolder(const std::string& label, const std::string& diskPath) override {
        lines.push_back(std::to_string(m_depth) + ":" + label + "/");
        paths.push_back(diskPath);
        ++m_depth;
    }
    void closeFolder() override { --m_depth; }
    void addBookmark(const std::string& label, const std::string& diskPath) override {
        lines.push_back(std::to_string(m_depth) + ":" + label);
        paths.push_back(diskPath);
    }
    void addNote(const std::string& text) override { lines.push_back(std::to_string(m_depth) + ":! " + text); }
    int depth() const { return m_depth; }

private:
    int m_depth = 0;
};

// The entries of a folder in the order the file system lists them.
std::vector<std::string> listing(const fs::path& folder) {
    std::vector<std::string> names;
    for (auto& e : fs::directory_iterator(folder)) names.push_back(e.path().filename().string());
    return names;
}

}  // namespace

TEST(FillTree, ListsFoldersAndBookmarksInListingOrder) {
    TempFolder dir;
    dir.writeFile("News.url", "[InternetShortcut]\r\nURL=http://news/\r\n");
    dir.writeFile("Work/Mail.url", "[InternetShortcut]\r\nURL=http://mail/\r\n");
    dir.writeFile("readme.txt", "not a bookmark");
    RecordingSink sink;
    FillTree(sink, dir.path());

    std::vector<std::string> expected;
    for (const std::string& name : listing(dir.root())) {
        if (name == "News.url") expected.push_back("0:News.url");
        if (name == "Work") {
            expected.push_back("0:Work/");
            expected.push_back("1:Mail.url");
        }
    }
    EXPECT_EQ(sink.lines, expected);
    EXPECT_EQ(sink.depth(), 0);
    auto mail = std::find(sink.lines.begin(), sink.lines.end(), "1:Mail.url") - sink.lines.begin();
    EXPECT_EQ(fs::path(sink.paths[mail]), dir.root() / "Work" / "Mail.url");
}

TEST(FillTree, KeepsStoredNamesOfOddBookmarkFiles) {
    TempFolder dir;
    dir.writeFile("SHOUT.URL", "");
    dir.writeFile("b.url.txt", "");
    dir.writeFile(".hidden.url", "");
    dir.writeFile("plain.txt", "");
    RecordingSink sink;
    FillTree(sink, dir.path());
    std::sort(sink.lines.begin(), sink.lines.end());
    EXPECT_EQ(sink.lines, (std::vector<std::string>{"0:.hidden.url", "0:SHOUT.URL", "0:b.url.txt"}));
}

TEST(FillTree, DescendsIntoHiddenAndReadOnlyFolders) {
    TempFolder dir;
    dir.writeFile(".secret/In.url", "");
    dir.writeFile("Locked/Deep/In.url", "");
    fs::permissions(dir.root() / "Locked", fs::perms::owner_read | fs::perms::owner_exec);
    RecordingSink sink;
    FillTree(sink, dir.path());
    std::sort(sink.lines.begin(), sink.lines.end());
    EXPECT_EQ(sink.lines, (std::vector<std::string>{"0:.secret/", "0:Locked/", "1:Deep/", "1:In.url", "2:In.url"}));
}

TEST(FillTree, LinkLoopIsListedButNotEnteredAgain) {
    TempFolder dir;
    dir.writeFile("A/In.url", "");
    fs::create_directory_symlink(dir.root() / "A", dir.root() / "A" / "Loop");
    RecordingSink sink;
    FillTree(sink, dir.path());
    std::sort(sink.lines.begin(), sink.lines.end());
    EXPECT_EQ(sink.lines, (std::vector<std::string>{"0:A/", "1:In.url", "1:Loop/"}));
    EXPECT_EQ(sink.depth(), 0);
}

TEST(FillTree, NeverLeavesTheFolderThroughALink) {
    TempFolder dir;
    dir.writeFile("A/In.url", "");
    fs::create_directory_symlink("/", dir.root() / "Disk");
    fs::create_directory_symlink(dir.root() / "A", dir.root() / "Again");
    RecordingSink sink;
    FillTree(sink, dir.path());
    std::sort(sink.lines.begin(), sink.lines.end());
    // The link to the same folder is listed once more but entered once.
    EXPECT_EQ(sink.lines.size(), 3u);
    EXPECT_EQ(std::count(sink.lines.begin(), sink.lines.end(), "1:In.url"), 1);
    EXPECT_EQ(std::count_if(sink.lines.begin(), sink.lines.end(),
                            [](const std::string& l) { return l.find("Disk") != std::string::npos; }),
              0);
}

TEST(FillTree, StopsAtTheDepthAndEntryLimitsWithANote) {
    TempFolder dir;
    std::string deep;
    for (size_t i = 0; i <= kMaxTreeDepth; ++i) deep += "d/";
    dir.writeFile(deep + "In.url", "");
    RecordingSink depthSink;
    FillTree(depthSink, dir.path());
    const std::string depthNote = std::to_string(kMaxTreeDepth) + ":! " + kDepthLimitNote;
    EXPECT_EQ(depthSink.lines.back(), depthNote);
    EXPECT_EQ(depthSink.lines.size(), kMaxTreeDepth + 1);

    TempFolder wide;
    for (size_t i = 0; i <= kMaxTreeEntries; ++i) std::ofstream(wide.root() / (std::to_string(i) + ".url"));
    RecordingSink wideSink;
    FillTree(wideSink, wide.path());
    ASSERT_EQ(wideSink.lines.size(), kMaxTreeEntries + 1);
    EXPECT_EQ(wideSink.lines.back(), std::string("0:! ") + kEntryLimitNote);
}
