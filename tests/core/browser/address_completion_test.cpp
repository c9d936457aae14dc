#include "core/browser/address_completion.h"

#include <gtest/gtest.h>

namespace quell::browser {
namespace {

const std::vector<std::u16string> kEntries = {u"example.com/", u"exam.org", u"Other.net", u"example.com/deep"};

TEST(AddressCompletion, TypedPrefixTakesFirstEntryAndSelectsTail) {
    const CompletionResult r = CompleteAddress(kEntries, u"exa", EditSelection{3, 3});
    EXPECT_EQ(r.matchedIndex, 0);
    EXPECT_EQ(r.text, u"example.com/");
    EXPECT_EQ(r.selection, (EditSelection{3, 12}));
}

TEST(AddressCompletion, MatchIgnoresCaseOfTypedAndListedText) {
    const CompletionResult r = CompleteAddress(kEntries, u"OTH", EditSelection{3, 3});
    EXPECT_EQ(r.matchedIndex, 2);
    EXPECT_EQ(r.text, u"Other.net");
    EXPECT_EQ(r.selection, (EditSelection{3, 9}));
}

TEST(AddressCompletion, NoMatchKeepsTextAndPutsCaretAtEnd) {
    const CompletionResult r = CompleteAddress(kEntries, u"zzz", EditSelection{3, 3});
    EXPECT_EQ(r.matchedIndex, -1);
    EXPECT_EQ(r.text, u"zzz");
    EXPECT_EQ(r.selection, (EditSelection{3, 3}));
}

TEST(AddressCompletion, CaretInsideTypedTextStaysWhereItWas) {
    // Typing "m" between "exa" and "ple" with the caret after it at 4.
    CompletionResult r = CompleteAddress(kEntries, u"example", EditSelection{4, 4});
    EXPECT_EQ(r.matchedIndex, 0);
    EXPECT_EQ(r.selection, (EditSelection{4, 4}));
    r = CompleteAddress(kEntries, u"zexa", EditSelection{1, 1});
    EXPECT_EQ(r.matchedIndex, -1);
    EXPECT_EQ(r.text, u"zexa");
    EXPECT_EQ(r.selection, (EditSelection{1, 1}));
}

TEST(AddressCompletion, EmptyTextAndMissingSelectionCases) {
    CompletionResult r = CompleteAddress(kEntries, u"", EditSelection{0, 0});
    EXPECT_EQ(r.matchedIndex, -1);
    EXPECT_EQ(r.text, u"");
    r = CompleteAddress(kEntries, u"exam.", std::nullopt);
    EXPECT_EQ(r.matchedIndex, 1);
    EXPECT_EQ(r.selection, (EditSelection{5, 8}));
    r = CompleteAddress({}, u"abc", std::nullopt);
    EXPECT_EQ(r.selection, (EditSelection{3, 3}));
}

TEST(AddressCompletion, FlagRuleForKeys) {
    EXPECT_FALSE(CompletionAllowedAfterKey(kVirtualKeyBack));
    EXPECT_FALSE(CompletionAllowedAfterKey(kVirtualKeyDelete));
    EXPECT_TRUE(CompletionAllowedAfterKey('A'));
    EXPECT_TRUE(CompletionAllowedAfterKey(kVirtualKeyReturn));
}

}  // namespace
}  // namespace quell::browser
