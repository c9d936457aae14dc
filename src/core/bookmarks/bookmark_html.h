#pragma once
// The bookmark HTML file that browsers export and import
// ("<!DOCTYPE NETSCAPE-Bookmark-file-1>": nested <DL> lists of <DT><H3>
// folders and <DT><A HREF> links).
#include <string>
#include <string_view>
#include <vector>

namespace quell::bookmarks {

struct BookmarkEntry {
    bool isFolder = false;
    std::string title;                    // the folder name or the link text, plain UTF-8
    std::string url;                      // links only
    std::vector<BookmarkEntry> children;  // folders only
};

std::string WriteBookmarkHtml(const std::vector<BookmarkEntry>& entries);

// Reads the entries of the outermost list. The parser is forgiving the way
// browsers are: tag names in any case, <p> and unclosed <DT> ignored, a
// missing </DL> closes at the end. Text is entity-decoded.
std::vector<BookmarkEntry> ParseBookmarkHtml(std::string_view html);

}  // namespace quell::bookmarks
