#include <gtest/gtest.h>

#include <memory>

#include "core/browser/typed_url_history.h"
#include "support/browser_databases.h"

namespace quell::browser {
namespace {

registry::RegistryReader registryOf(const std::string& text) {
    const std::span<const uint8_t> bytes(reinterpret_cast<const uint8_t*>(text.data()), text.size());
    return registry::RegistryReader(std::make_shared<registry::RegistryFile>(registry::RegistryFile::Parse(bytes)), "");
}

struct FirefoxHome {
    test::ScratchFolder home{"quell-typed-url-list"};
    history::DesktopEnvironment environment;

    explicit FirefoxHome(const std::vector<test::HistoryRow>& rows) {
        environment.home = home.path();
        environment.configHome = home.file(".config");
        test::writeText(home.file(".mozilla/firefox/profiles.ini"),
                        "[Install1]\nDefault=p.default-release\n[Profile0]\nPath=p.default-release\nIsRelative=1\n");
        test::createFirefoxPlaces(home.file(".mozilla/firefox/p.default-release/places.sqlite"), rows);
    }
    std::string places() const { return home.file(".mozilla/firefox/p.default-release/places.sqlite"); }
};

TEST(TypedUrlList, TheBrowsersTypedAddressesAreCleanedAndLimitedAsTheRegistrysAre) {
    std::vector<test::HistoryRow> rows;
    for (int i = 1; i <= 25; ++i) rows.push_back({"HTTP://Site" + std::to_string(i) + ".example/Page", 1, 1000 - i});
    rows[0].url = "https://Secure.Example/Path";
    rows[2].url = "http://long.example/" + std::string(300, 'x');  // does not fit the read buffer
    rows[3].url = "ftp://files.example/";
    const FirefoxHome firefox(rows);
    const TypedUrlList list = LoadTypedUrls(registryOf("REGEDIT4\r\n"), firefox.environment);

    EXPECT_EQ(list.source, "firefox " + firefox.places());
    ASSERT_EQ(list.urls.size(), 18u) << "19 entries read, one of them too long";
    EXPECT_EQ(list.urls[0], "secure.example/path");
    EXPECT_EQ(list.urls[1], "site2.example/page");
    EXPECT_EQ(list.urls[2], "ftp://files.example/");
    EXPECT_EQ(list.urls[17], "site19.example/page");
}

TEST(TypedUrlList, ARegistryWithTheKeyIsTheSourceEvenWhenTheKeyIsEmpty) {
    const FirefoxHome firefox({{"http://browser.example/", 1, 1}});
    const std::string key = "[HKEY_CURRENT_USER\\Software\\Microsoft\\Internet Explorer\\TypedURLs]\r\n";
    const TypedUrlList withValues = LoadTypedUrls(
        registryOf("REGEDIT4\r\n\r\n" + key + "\"url1\"=\"http://Registry.Example/\"\r\n"), firefox.environment);
    EXPECT_EQ(withValues.source, "registry");
    EXPECT_EQ(withValues.urls, std::vector<std::string>{"registry.example/"});
    const TypedUrlList empty = LoadTypedUrls(registryOf("REGEDIT4\r\n\r\n" + key), firefox.environment);
    EXPECT_EQ(empty.source, "registry");
    EXPECT_TRUE(empty.urls.empty());

    history::DesktopEnvironment nowhere;
    nowhere.home = "/nonexistent";
    nowhere.configHome = "/nonexistent/.config";
    EXPECT_EQ(LoadTypedUrls(registryOf("REGEDIT4\r\n"), nowhere).source, "none");
}

}  // namespace
}  // namespace quell::browser
