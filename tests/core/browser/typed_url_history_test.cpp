#include "core/browser/typed_url_history.h"

#include <gtest/gtest.h>

#include <map>

namespace quell::browser {
namespace {

TypedUrlSource FromMap(std::map<std::string, std::string> values, std::vector<std::string>* asked = nullptr) {
    return [values = std::move(values), asked](const std::string& name) -> std::optional<std::string> {
        if (asked) asked->push_back(name);
        auto it = values.find(name);
        if (it == values.end()) return std::nullopt;
        return it->second;
    };
}

TEST(TypedUrlHistory, CleansSchemesAndLowerCasesWholeValue) {
    struct Case {
        const char* raw;
        const char* listed;
    } cases[] = {
        {"Http://Example.COM/Path", "example.com/path"},
        {"HTTPS://Secure.Example/A", "secure.example/a"},
        {"ftp://Files.Example/", "ftp://files.example/"},
        {"go to http://x.example", "x.example"},
        // "https://" goes first, then a later "http://" as well.
        {"https://a/?next=http://b/", "b/"},
        {"plain.host", "plain.host"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.raw);
        EXPECT_EQ(CleanTypedUrl(c.raw), c.listed);
    }
}

TEST(TypedUrlHistory, SkipsGapsKeepsOrderAndNeverReadsPastNineteen) {
    std::vector<std::string> asked;
    const auto history = LoadTypedUrlHistory(FromMap(
        {{"url1", "http://Mixed.Case/"}, {"url3", "HTTPS://UPPER.EXAMPLE"}, {"url19", "last"}, {"url20", "never"}},
        &asked));
    EXPECT_EQ(history, (std::vector<std::string>{"mixed.case/", "upper.example", "last"}));
    ASSERT_EQ(asked.size(), 19u);
    EXPECT_EQ(asked.front(), "url1");
    EXPECT_EQ(asked.back(), "url19");
}

TEST(TypedUrlHistory, SkipsValueTooLongForReadBuffer) {
    const std::string fits(254, 'a');
    const std::string tooLong(255, 'b');
    const auto history = LoadTypedUrlHistory(FromMap({{"url1", tooLong}, {"url2", fits}}));
    EXPECT_EQ(history, std::vector<std::string>{fits});
}

TEST(TypedUrlHistory, NoSourceGivesEmptyList) {
    EXPECT_TRUE(LoadTypedUrlHistory(TypedUrlSource()).empty());
    EXPECT_TRUE(LoadTypedUrlHistory(FromMap({})).empty());
}

}  // namespace
}  // namespace quell::browser
