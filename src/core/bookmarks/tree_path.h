#pragma once
// Positions in the bookmark tree and the files and folders they stand for.
//
// A tree path is the labels from the root item down to an item, joined by
// kTreeSeparator. The separator is the platform's path separator, which no
// file name can hold, so a label taken from the disk never splits a path.
#include <filesystem>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace quell::bookmarks {

inline constexpr char kTreeSeparator = '/';
// The label of the root item, which stands for the Favorites folder itself.
inline constexpr std::string_view kRootLabel = "Favorites";

// The labels of an item's ancestors, root first, each followed by the
// separator; empty for the root itself.
std::string ParentPath(const std::vector<std::string>& ancestorLabels);

// Joins the labels from the root down to an item.
std::string TreePath(const std::vector<std::string>& labelsFromRoot);

// Drops the root label and puts the Favorites folder (which ends in '/') in
// front. A path without a separator (the root, or nothing) has no disk path of
// its own, and neither has one that resolves (after symbolic links) outside
// the folder: both give nullopt, so no caller ever acts on them.
std::optional<std::string> DiskPath(const std::string& favoritesFolder, const std::string& treePath);

// True when path, made absolute and resolved as far as it exists, is folder or
// lies below it.
bool IsWithin(const std::filesystem::path& folder, const std::filesystem::path& path);

// The name a renamed bookmark is given: what the user typed, with ".url"
// added when the tree would no longer take the name for a bookmark.
std::string RenamedBookmarkName(std::string typed);

// True when a listed file counts as a bookmark: ".url" anywhere in its
// lower-cased name (so "News.URL" and "b.url.txt" both qualify).
bool IsBookmarkName(std::string_view name);

// True when the text can name one file or folder inside a folder: not empty,
// not "." or "..", no separator and no NUL, and short enough for the file
// system (255 bytes).
bool IsValidItemName(std::string_view name);

}  // namespace quell::bookmarks
