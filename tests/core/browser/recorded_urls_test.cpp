#include "core/browser/recorded_urls.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace quell::browser {
namespace {

using List = std::vector<std::string>;

TEST(RecordedUrls, ReadsOnlyTheUsableLinesOfAnyFile) {
    const std::string overlong(kRecordedUrlMaxBytes + 1, 'a');
    const std::string longest(kRecordedUrlMaxBytes, 'b');
    std::string fiftyOne;
    List firstFifty;
    for (int i = 0; i < 51; ++i) {
        fiftyOne += "u" + std::to_string(i) + "\n";
        if (i < 50) firstFifty.push_back("u" + std::to_string(i));
    }
    struct Case {
        const char* name;
        std::string text;
        List expected;
    } cases[] = {
        {"in order, last line unterminated", "b.example\na.example", {"b.example", "a.example"}},
        {"empty and CR LF lines", "\r\nx\r\n\n\ny\n", {"x", "y"}},
        {"repeats keep the first", "x\ny\nx\n", {"x", "y"}},
        {"not UTF-8", "\xff\xfe\nok\n\xe3\x81\n", {"ok"}},
        {"overlong line", overlong + "\n" + longest + "\n", {longest}},
        {"control characters", std::string("\0\x01\na\tb\nok\n", 10), {"ok"}},
        {"more than the limit", fiftyOne, firstFifty},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        EXPECT_EQ(ParseRecordedUrls(c.text), c.expected);
    }
}

TEST(RecordedUrls, RecordsMostRecentFirstAndMergesAfterTheRegistry) {
    List recorded = RecordUrl({}, "a.example");
    recorded = RecordUrl(recorded, "b.example");
    recorded = RecordUrl(recorded, "a.example");
    EXPECT_EQ(recorded, (List{"a.example", "b.example"}));
    // What could not be read back is not recorded.
    for (const std::string& bad :
         {std::string(), std::string("two\nlines"), std::string(kRecordedUrlMaxBytes + 1, 'x'), std::string("\xc3")}) {
        SCOPED_TRACE(bad.size());
        EXPECT_EQ(RecordUrl(recorded, bad), recorded);
    }
    for (int i = 0; i < 60; ++i) recorded = RecordUrl(recorded, "u" + std::to_string(i));
    ASSERT_EQ(recorded.size(), kRecordedUrlLimit);
    EXPECT_EQ(recorded.front(), "u59");
    EXPECT_EQ(ParseRecordedUrls(FormatRecordedUrls(recorded)), recorded);

    EXPECT_EQ(MergeTypedUrls({"reg.example", "b.example"}, {"a.example", "b.example", "c.example"}),
              (List{"reg.example", "b.example", "a.example", "c.example"}));
}

}  // namespace
}  // namespace quell::browser
