#pragma once
// Internet-shortcut files: "[InternetShortcut]" then "URL=<address>", each
// line ended by CR LF, which is what other programs expect to read.
#include <string>
#include <string_view>

namespace quell::bookmarks {

// The URL of a shortcut as browsers write them: the value of the URL key
// (any letter case) of the [InternetShortcut] section, wherever the key
// stands in it and whatever sections come first. Where [InternetShortcut.W]
// has a URL too, that UTF-7 form is the URL; otherwise the value is decoded
// as skin descriptions are (UTF-8 when it is valid, else code page 932).
// Other keys (IDList=, a property store's sections, [DEFAULT] BASEURL=) are
// not the URL. False for a folder, a missing file, one longer than
// os::kMaxTextFileBytes, and a file without that section or key or with an
// empty URL.
bool ReadShortcutUrl(const std::string& diskPath, std::string& url);

// The same reading of a shortcut's bytes.
bool ParseShortcutUrl(std::string_view bytes, std::string& url);

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
