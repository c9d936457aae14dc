#include "core/browser/typed_url_history.h"

#include <charconv>

#include "core/history/history_database.h"

namespace quell::browser {
namespace {

// ASCII lower-casing only: bytes of multi-byte UTF-8 sequences pass unchanged,
// where a locale-dependent conversion could split a character.
std::string ToLowerAscii(std::string text) {
    for (char& c : text) {
        if (c >= 'A' && c <= 'Z') c = static_cast<char>(c - 'A' + 'a');
    }
    return text;
}

void DropThrough(std::string& text, const std::string& marker) {
    const size_t at = text.find(marker);
    if (at != std::string::npos) text.erase(0, at + marker.size());
}

}  // namespace

std::string CleanTypedUrl(const std::string& value) {
    std::string text = ToLowerAscii(value);
    DropThrough(text, "https://");
    DropThrough(text, "http://");
    return text;
}

std::vector<std::string> LoadTypedUrlHistory(const TypedUrlSource& source) {
    std::vector<std::string> history;
    if (!source) return history;
    for (int i = 1; i <= kTypedUrlLimit; ++i) {
        std::optional<std::string> value = source("url" + std::to_string(i));
        if (!value) continue;
        // The value plus its NUL must fit the buffer; a longer one fails to read.
        if (value->size() + 1 > kTypedUrlBufferBytes) continue;
        history.push_back(CleanTypedUrl(*value));
    }
    return history;
}

TypedUrlList LoadTypedUrls(const registry::RegistryReader& reader, const history::DesktopEnvironment& desktop) {
    if (reader.HasKey(registry::kRootCurrentUser, kTypedUrlsKey)) return {"registry", LoadTypedUrlHistory(reader)};
    const history::HistoryLocation location = history::FindTypedHistory(desktop);
    if (location.kind == history::BrowserKind::None) return {"none", {}};
    const std::vector<std::string> rows = history::ReadTypedAddresses(location.path, location.kind, kTypedUrlLimit);
    TypedUrlList list{std::string(history::BrowserKindName(location.kind)) + " " + location.path, {}};
    list.urls = LoadTypedUrlHistory([&rows](const std::string& name) -> std::optional<std::string> {
        size_t index = 0;
        std::from_chars(name.data() + 3, name.data() + name.size(), index);
        if (index == 0 || index > rows.size()) return std::nullopt;
        return rows[index - 1];
    });
    return list;
}

}  // namespace quell::browser
