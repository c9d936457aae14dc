#include "core/browser/shell.h"

#include <gtest/gtest.h>

using namespace quell::browser;

TEST(Shell, AddressSchemeIsLowerCasedAndNeverADriveLetter) {
    EXPECT_EQ(AddressScheme("HTTP://example.com/"), "http");
    EXPECT_EQ(AddressScheme("mailto:"), "mailto");
    EXPECT_EQ(AddressScheme("C:\\Program Files\\x.exe"), "");
    EXPECT_EQ(AddressScheme("xterm -e top"), "");
    EXPECT_EQ(AddressScheme("1abc:x"), "");
}

TEST(Shell, NewWindowsGoOutOnlyForWebMailAndLocalFiles) {
    struct Case {
        const char* target;
        const char* page;
        bool allowed;
    } cases[] = {
        {"http", "https", true},        {"https", "file", true}, {"ftp", "http", true},
        {"mailto", "http", true},       {"file", "http", false}, {"file", "file", true},
        {"javascript", "http", false},  {"data", "file", false}, {"", "http", false},
        {"ms-settings", "file", false},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(std::string(c.target) + " from " + c.page);
        EXPECT_EQ(MayOpenNewWindow(c.target, c.page), c.allowed);
    }
}
