#include "core/browser/address_completion.h"

namespace quell::browser {
namespace {

char16_t FoldAscii(char16_t c) { return (c >= u'A' && c <= u'Z') ? static_cast<char16_t>(c - u'A' + u'a') : c; }

}  // namespace

bool StartsWithIgnoringCase(const std::u16string& entry, const std::u16string& prefix) {
    if (prefix.size() > entry.size()) return false;
    for (size_t i = 0; i < prefix.size(); ++i) {
        if (FoldAscii(entry[i]) != FoldAscii(prefix[i])) return false;
    }
    return true;
}

CompletionResult CompleteAddress(const std::vector<std::u16string>& entries, const std::u16string& text,
                                 std::optional<EditSelection> selection) {
    const int len = static_cast<int>(text.size());
    CompletionResult result;
    result.text = text;
    if (!text.empty()) {
        for (size_t i = 0; i < entries.size(); ++i) {
            if (StartsWithIgnoringCase(entries[i], text)) {
                result.matchedIndex = static_cast<int>(i);
                result.text = entries[i];
                break;
            }
        }
    }
    if (selection && selection->end < len) result.selection = *selection;
    else result.selection = {len, static_cast<int>(result.text.size())};
    return result;
}

}  // namespace quell::browser
