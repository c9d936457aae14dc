#pragma once
// Moves bookmarks between the Favorites folder and the entry tree of the
// bookmark HTML file.
#include <string>
#include <vector>

#include "core/bookmarks/bookmark_html.h"

namespace quell::bookmarks {

// The folder's bookmarks as entries, in listing order. A bookmark's title is
// its file name without a final ".url"; one whose file holds no URL is left out.
std::vector<BookmarkEntry> CollectBookmarks(const std::string& favoritesFolder);

struct ImportSummary {
    int bookmarksWritten = 0;
    int bookmarksAlreadyPresent = 0;  // same name and same URL: nothing to do
    int foldersCreated = 0;
    int failures = 0;
};

// Writes the entries into folder. Folders of the same name are merged into.
// An existing bookmark of the same name is never replaced: when it holds
// another URL the new one is saved under "<title> (2).url", "(3)", ...
ImportSummary ImportBookmarks(const std::vector<BookmarkEntry>& entries, const std::string& folder);

}  // namespace quell::bookmarks
