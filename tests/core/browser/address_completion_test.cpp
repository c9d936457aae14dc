#include "core/browser/address_completion.h"

#include <gtest/gtest.h>

namespace quell::browser {
namespace {

const std::vector<std::u16string> kEntries = {u"example.com/", u"exam.org", u"Other.net", u"example.com/deep"};

TEST(AddressCompletion, CompletesFromTheFirstMatchingEntryAndSelectsWhatWasAdded) {
    struct Case {
        const char* name;
        std::vector<std::u16string> entries;
        std::u16string typed;
        std::optional<EditSelection> caret;
        int matchedIndex;
        std::u16string text;
        EditSelection selection;
    } cases[] = {
        {"typed prefix", kEntries, u"exa", EditSelection{3, 3}, 0, u"example.com/", {3, 12}},
        {"case of typed and listed text", kEntries, u"OTH", EditSelection{3, 3}, 2, u"Other.net", {3, 9}},
        {"no match puts the caret at the end", kEntries, u"zzz", EditSelection{3, 3}, -1, u"zzz", {3, 3}},
        // Typing "m" between "exa" and "ple" leaves the caret after it at 4.
        {"caret inside the typed text", kEntries, u"example", EditSelection{4, 4}, 0, u"example.com/", {4, 4}},
        {"caret inside without a match", kEntries, u"zexa", EditSelection{1, 1}, -1, u"zexa", {1, 1}},
        {"empty text", kEntries, u"", EditSelection{0, 0}, -1, u"", {0, 0}},
        {"no selection known", kEntries, u"exam.", std::nullopt, 1, u"exam.org", {5, 8}},
        {"empty list and no selection", {}, u"abc", std::nullopt, -1, u"abc", {3, 3}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        const CompletionResult r = CompleteAddress(c.entries, c.typed, c.caret);
        EXPECT_EQ(r.matchedIndex, c.matchedIndex);
        EXPECT_EQ(r.text, c.text);
        EXPECT_EQ(r.selection, c.selection);
    }
}

}  // namespace
}  // namespace quell::browser
