#pragma once
// Walks the Favorites folder into any tree-like receiver, depth first, in the
// order the file system lists each folder (nothing is sorted).
#include <string>

namespace quell::bookmarks {

// Image numbers of the dialog's image list: folders (and the root) use 0,
// bookmarks 2.
inline constexpr int kFolderImage = 0;
inline constexpr int kBookmarkImage = 2;

class TreeSink {
public:
    virtual ~TreeSink() = default;
    // A folder appended as the last child of the current item; it becomes the
    // current item until the matching closeFolder().
    virtual void openFolder(const std::string& label, const std::string& diskPath) = 0;
    virtual void closeFolder() = 0;
    // A bookmark appended as the last child of the current item.
    virtual void addBookmark(const std::string& label, const std::string& diskPath) = 0;
};

// Adds the content of folder below the sink's current item: sub-folders
// (hidden and read-only ones included) and every file whose lower-cased name
// holds ".url". A folder reached again through a symbolic link is listed but
// not entered a second time, so a link loop cannot recurse forever.
void FillTree(TreeSink& sink, const std::string& folder);

}  // namespace quell::bookmarks
