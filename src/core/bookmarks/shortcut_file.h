#pragma once
// Internet-shortcut files: "[InternetShortcut]" then "URL=<address>", each
// line ended by CR LF, which is what other programs expect to read.
#include <string>
#include <string_view>

namespace quell::bookmarks {

// Finds the first line holding "[InternetShortcut]" and gives the next line
// from its fifth character on (the key is not examined). False for a folder,
// a missing file, one longer than os::kMaxTextFileBytes, a file without the
// header or with nothing after it.
bool ReadShortcutUrl(const std::string& diskPath, std::string& url);

// Creates or replaces the file. The text goes to a temporary file in the same
// folder that is then renamed over the target, so the target is either the
// old file or the complete new one. False on any file error, and for a URL
// holding a line break (it would forge further lines); callers that follow
// the original behaviour simply ignore the result.
bool WriteShortcut(const std::string& diskPath, const std::string& url);

// The page title with each of : \ / * ? " < > | replaced by '-'.
std::string MakeShortcutName(std::string_view title);

// MakeShortcutName(title) + ".url", with the title cut (at a character
// boundary) so the whole name fits the file system's 255-byte limit.
std::string BookmarkFileName(std::string_view title);

}  // namespace quell::bookmarks
