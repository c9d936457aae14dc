#include "core/bookmarks/tree_path.h"

#include <gtest/gtest.h>

#include <filesystem>

#include "support/bookmark_fixtures.h"

using namespace quell::bookmarks;
namespace fs = std::filesystem;

TEST(TreePath, DiskPathDropsRootLabelAndPrefixesFolder) {
    const std::string folder = "/home/u/Fav/";
    EXPECT_EQ(DiskPath(folder, TreePath({"Favorites", "Work", "Mail.url"})), "/home/u/Fav/Work/Mail.url");
    EXPECT_EQ(DiskPath(folder, "Favorites/"), "/home/u/Fav/");
    // The root was renamed in the tree only: the mapping ignores its label.
    EXPECT_EQ(DiskPath(folder, "Other/News.url"), "/home/u/Fav/News.url");
}

TEST(TreePath, PathWithoutSeparatorHasNoDiskPath) {
    // The root's parent path is empty and the root's own path is its label;
    // neither may turn into a name relative to the working directory.
    EXPECT_FALSE(DiskPath("/f/", "").has_value());
    EXPECT_FALSE(DiskPath("/f/", "Favorites").has_value());
}

TEST(TreePath, NothingResolvesOutsideTheFolder) {
    bookmark_test::TempFolder temp;
    const fs::path base = temp.root();
    fs::create_directories(base / "Fav" / "Work");
    fs::create_directory_symlink("/", base / "Fav" / "Root");
    fs::create_directory_symlink(base / "Fav" / "Work", base / "Fav" / "Alias");
    const std::string folder = (base / "Fav").string() + "/";
    struct Case {
        const char* treePath;
        bool inside;
    } cases[] = {{"Favorites/Work/New.url", true},  {"Favorites/Alias/New.url", true}, {"Favorites/../x", false},
                 {"Favorites/Work/../../x", false}, {"Favorites/Root/etc", false},     {"Favorites/Root", false}};
    for (const Case& c : cases) {
        SCOPED_TRACE(c.treePath);
        EXPECT_EQ(DiskPath(folder, c.treePath).has_value(), c.inside);
    }
    // A sibling whose name starts like the folder's is still outside it.
    EXPECT_FALSE(IsWithin(base / "Fav", base / "Favourites"));
}

TEST(TreePath, RenamedBookmarkKeepsItsExtension) {
    EXPECT_EQ(RenamedBookmarkName("Mail"), "Mail.url");
    EXPECT_EQ(RenamedBookmarkName("Mail.URL"), "Mail.URL");
    EXPECT_EQ(RenamedBookmarkName("b.url.txt"), "b.url.txt");
}

TEST(TreePath, BookmarkNameHoldsUrlAnywhereInAnyCase) {
    struct Case {
        const char* name;
        bool bookmark;
    } cases[] = {{"News.url", true},    {"NEWS.URL", true}, {"b.url.txt", true}, {".url", true},
                 {"readme.txt", false}, {"url", false},     {"News.ur", false},  {"a.u rl", false}};
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        EXPECT_EQ(IsBookmarkName(c.name), c.bookmark);
    }
}

TEST(TreePath, ValidItemNameRefusesSeparatorsAndDotNames) {
    EXPECT_TRUE(IsValidItemName("Work"));
    EXPECT_TRUE(IsValidItemName("a\\b"));  // a backslash is an ordinary character here
    EXPECT_FALSE(IsValidItemName(""));
    EXPECT_FALSE(IsValidItemName("."));
    EXPECT_FALSE(IsValidItemName(".."));
    EXPECT_FALSE(IsValidItemName("a/b"));
    EXPECT_FALSE(IsValidItemName(std::string("a\0b", 3)));
    EXPECT_FALSE(IsValidItemName(std::string(256, 'x')));
}
