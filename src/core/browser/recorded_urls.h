#pragma once
// The addresses the user entered in the address bar, remembered per user in a
// text file of one address a line, most recent first. Everything here is pure:
// the caller reads and writes the file.
#include <cstddef>
#include <string>
#include <string_view>
#include <vector>

namespace quell::browser {

// At most this many addresses are kept; the oldest go first.
inline constexpr size_t kRecordedUrlLimit = 50;
// A longer address is neither recorded nor read back.
inline constexpr size_t kRecordedUrlMaxBytes = 2048;
// No file this program writes is larger (every line at its longest, plus its
// line feed); a larger one is not read.
inline constexpr size_t kRecordedUrlFileMaxBytes = kRecordedUrlLimit * (kRecordedUrlMaxBytes + 1);

// The addresses of the file's text in order. Empty, overlong and non-UTF-8
// lines, lines with control characters and repeats are skipped, a carriage return before a line feed is
// dropped, and reading stops at the limit.
std::vector<std::string> ParseRecordedUrls(std::string_view text);

// The list with url first and any earlier copy of it removed, cut to the
// limit. An address that could not be read back (empty, overlong, not UTF-8
// or holding a control character) leaves the list as it is.
std::vector<std::string> RecordUrl(std::vector<std::string> recorded, const std::string& url);

// The file's text for the list: every address followed by a line feed.
std::string FormatRecordedUrls(const std::vector<std::string>& recorded);

// The address bar's list: the registry's entries in their order, then the
// recorded addresses that are not already among them.
std::vector<std::string> MergeTypedUrls(std::vector<std::string> registryEntries,
                                        const std::vector<std::string>& recorded);

}  // namespace quell::browser
