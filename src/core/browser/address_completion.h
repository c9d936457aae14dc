#pragma once
// Inline completion of a partly typed address from the address bar's list.
// Texts are UTF-16 so that positions count characters the way the edit field does.
#include <optional>
#include <string>
#include <vector>

namespace quell::browser {

struct EditSelection {
    int start = 0;
    int end = 0;
    bool operator==(const EditSelection&) const = default;
};

struct CompletionResult {
    // The list entry that now fills the field, or -1 when none matched.
    int matchedIndex = -1;
    // The field's text afterwards: the whole entry, or the typed text unchanged.
    std::u16string text;
    // The selection to put on the field afterwards.
    EditSelection selection;
};

// True when entry begins with prefix, ignoring the case of ASCII letters.
bool StartsWithIgnoringCase(const std::u16string& entry, const std::u16string& prefix);

// One completion step for an edit update: finds the first entry from the top
// that begins with the text; keeps the user's selection when it ends inside
// the typed text, else highlights the completed tail. An empty text completes
// nothing, since every entry would "begin" with it.
CompletionResult CompleteAddress(const std::vector<std::u16string>& entries, const std::u16string& text,
                                 std::optional<EditSelection> selection);

// The completion flag's rule for one key press: Delete and Backspace clear it,
// every other key sets it.
inline constexpr int kVirtualKeyBack = 8;
inline constexpr int kVirtualKeyReturn = 13;
inline constexpr int kVirtualKeyDelete = 46;
constexpr bool CompletionAllowedAfterKey(int virtualKey) {
    return virtualKey != kVirtualKeyDelete && virtualKey != kVirtualKeyBack;
}

}  // namespace quell::browser
