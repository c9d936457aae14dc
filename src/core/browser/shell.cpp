#include "core/browser/shell.h"

namespace quell::browser {

std::string AddressScheme(std::string_view text) {
    const size_t colon = text.find(':');
    if (colon == std::string_view::npos || colon < 2) return {};
    std::string scheme;
    for (size_t i = 0; i < colon; ++i) {
        char c = text[i];
        if (c >= 'A' && c <= 'Z') c = static_cast<char>(c - 'A' + 'a');
        const bool ok =
            (c >= 'a' && c <= 'z') || (i > 0 && ((c >= '0' && c <= '9') || c == '+' || c == '-' || c == '.'));
        if (!ok) return {};
        scheme += c;
    }
    return scheme;
}

bool IsOpenableScheme(std::string_view scheme) {
    return scheme == "http" || scheme == "https" || scheme == "ftp" || scheme == "mailto" || scheme == "file";
}

bool MayOpenNewWindow(std::string_view targetScheme, std::string_view requestingPageScheme) {
    if (targetScheme == "file") return requestingPageScheme == "file";
    return IsOpenableScheme(targetScheme);
}

}  // namespace quell::browser
