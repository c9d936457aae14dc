#pragma once
// Walks the Favorites folder into any tree-like receiver, depth first, in the
// order the file system lists each folder (nothing is sorted).
#include <cstddef>
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
    // A line of text, not a file, appended as the last child of the current
    // item: it tells why the walk left something out.
    virtual void addNote(const std::string& text) = 0;
};

inline constexpr size_t kMaxTreeDepth = 32;
inline constexpr size_t kMaxTreeEntries = 20000;
inline constexpr const char* kDepthLimitNote = "(Folders nested deeper than this are not shown.)";
inline constexpr const char* kEntryLimitNote = "(Only the first 20000 items are shown.)";

// Adds the content of folder below the sink's current item: sub-folders
// (hidden and read-only ones included) and every file whose lower-cased name
// holds ".url". The walk never leaves the folder: an entry whose real path
// (after symbolic links) lies outside it is left out. A folder reached again
// (the same device and inode) is listed but not entered a second time, so a
// link loop cannot recurse. Folders below kMaxTreeDepth levels are not
// entered and the walk stops after kMaxTreeEntries entries, each with a note.
void FillTree(TreeSink& sink, const std::string& folder);

}  // namespace quell::bookmarks
