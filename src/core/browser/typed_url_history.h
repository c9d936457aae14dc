#pragma once
// The addresses the user typed into the system browser, as the address bar
// lists them: read once from the per-user registry and cleaned up.
#include <functional>
#include <optional>
#include <string>
#include <vector>

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

}  // namespace quell::browser
