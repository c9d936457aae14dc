#pragma once
// The addresses the user typed into the system browser, as the address bar
// lists them: read once, from the per-user registry or the default web
// browser's own history, and cleaned up. Nothing here writes anything.
#include <functional>
#include <optional>
#include <string>
#include <vector>

#include "core/history/default_browser.h"
#include "core/registry/registry_reader.h"

namespace quell::browser {

// The key, under the current user, whose "url1".."url19" values hold the history.
inline constexpr const char* kTypedUrlsKey = "Software\\Microsoft\\Internet Explorer\\TypedURLs";
inline constexpr int kTypedUrlLimit = 19;
// Values that would not fit the program's read buffer (with its terminating
// NUL) are skipped, as the registry read fails for them.
inline constexpr size_t kTypedUrlBufferBytes = 255;

// Lower-cases the whole text, then drops everything up to and including the
// first "https://", then likewise up to the first "http://".
std::string CleanTypedUrl(const std::string& value);

// Reads one value by name ("url1"); nullopt when it is missing or unreadable.
using TypedUrlSource = std::function<std::optional<std::string>(const std::string& valueName)>;

// Values 1..19 in order; a missing one is skipped and the loop goes on.
std::vector<std::string> LoadTypedUrlHistory(const TypedUrlSource& source);

// The same, from the registry file.
inline std::vector<std::string> LoadTypedUrlHistory(const registry::RegistryReader& reader) {
    return LoadTypedUrlHistory([&reader](const std::string& name) -> std::optional<std::string> {
        std::string text;
        if (!reader.ReadValue(registry::kRootCurrentUser, std::string(kTypedUrlsKey) + "\\" + name, text))
            return std::nullopt;
        return text;
    });
}

// The address bar's list and where it came from.
struct TypedUrlList {
    // "registry", or the browser's name and its database's path
    // ("firefox /home/me/.mozilla/firefox/x.default/places.sqlite"), or
    // "none" when neither has a history.
    std::string source;
    std::vector<std::string> urls;
};

// The registry's TypedURLs key when the file has that key; otherwise the
// default browser's typed addresses, taken as the values url1, url2, ... in
// their order, so that both are cleaned and limited alike.
TypedUrlList LoadTypedUrls(const registry::RegistryReader& reader, const history::DesktopEnvironment& desktop);

}  // namespace quell::browser
