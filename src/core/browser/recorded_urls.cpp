#include "core/browser/recorded_urls.h"

#include <algorithm>

#include "core/text/text_codec.h"

namespace quell::browser {
namespace {

bool contains(const std::vector<std::string>& list, std::string_view entry) {
    return std::find(list.begin(), list.end(), entry) != list.end();
}

// What a line of the file may hold; the same rule decides what is recorded,
// so that everything written is read back. No address holds a control
// character, so a line with one is damage, not an address.
bool isStorable(std::string_view url) {
    if (url.empty() || url.size() > kRecordedUrlMaxBytes || !text::isValidUtf8(url)) return false;
    return std::none_of(url.begin(), url.end(),
                        [](char c) { return static_cast<unsigned char>(c) < 0x20 || c == 0x7F; });
}

}  // namespace

std::vector<std::string> ParseRecordedUrls(std::string_view text) {
    std::vector<std::string> recorded;
    while (!text.empty() && recorded.size() < kRecordedUrlLimit) {
        const size_t end = text.find('\n');
        std::string_view line = text.substr(0, end);
        text = end == std::string_view::npos ? std::string_view() : text.substr(end + 1);
        if (!line.empty() && line.back() == '\r') line.remove_suffix(1);
        if (isStorable(line) && !contains(recorded, line)) recorded.emplace_back(line);
    }
    return recorded;
}

std::vector<std::string> RecordUrl(std::vector<std::string> recorded, const std::string& url) {
    if (!isStorable(url)) return recorded;
    std::erase(recorded, url);
    recorded.insert(recorded.begin(), url);
    if (recorded.size() > kRecordedUrlLimit) recorded.resize(kRecordedUrlLimit);
    return recorded;
}

std::string FormatRecordedUrls(const std::vector<std::string>& recorded) {
    std::string text;
    for (const std::string& url : recorded) {
        text += url;
        text += '\n';
    }
    return text;
}

std::vector<std::string> MergeTypedUrls(std::vector<std::string> registryEntries,
                                        const std::vector<std::string>& recorded) {
    for (const std::string& url : recorded) {
        if (!contains(registryEntries, url)) registryEntries.push_back(url);
    }
    return registryEntries;
}

}  // namespace quell::browser
