#include "core/bookmarks/favorites_folder.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>

#include "support/bookmark_fixtures.h"

using namespace quell::bookmarks;
using bookmark_test::TempFolder;
using quell::registry::RegistryFile;
using quell::registry::RegistryReader;

namespace {

RegistryReader readerOf(const std::string& favoritesLine) {
    std::string text =
        "REGEDIT4\n\n[HKEY_CURRENT_USER\\Software\\Microsoft\\Windows\\CurrentVersion\\Explorer\\Shell Folders]\n" +
        favoritesLine + "\n";
    std::vector<uint8_t> bytes(text.begin(), text.end());
    return RegistryReader(std::make_shared<RegistryFile>(RegistryFile::Parse(bytes)), "Microsoft");
}

// Points the per-user data folder at a temporary folder for one test.
class FavoritesFolderTest : public ::testing::Test {
protected:
    void SetUp() override {
        const char* old = std::getenv("XDG_DATA_HOME");
        m_hadOld = old != nullptr;
        if (old) m_old = old;
        ::setenv("XDG_DATA_HOME", m_data.root().c_str(), 1);
    }
    void TearDown() override {
        if (m_hadOld) ::setenv("XDG_DATA_HOME", m_old.c_str(), 1);
        else ::unsetenv("XDG_DATA_HOME");
    }
    std::string fallback() const { return m_data.root().string() + "/quellcore/Favorites/"; }

    TempFolder m_data;

private:
    bool m_hadOld = false;
    std::string m_old;
};

}  // namespace

TEST_F(FavoritesFolderTest, UsesRegistryValueWithSeparatorAppended) {
    EXPECT_EQ(FavoritesFolder(readerOf("\"Favorites\"=\"/srv/me/Favorites\"")), "/srv/me/Favorites/");
    EXPECT_EQ(FavoritesFolder(readerOf("\"Favorites\"=\"/srv/me/Favorites/\"")), "/srv/me/Favorites/");
    EXPECT_FALSE(std::filesystem::exists(fallback()));
}

TEST_F(FavoritesFolderTest, FallsBackToCreatedDataFolderWhenValueIsUnusable) {
    struct Case {
        const char* name;
        const char* line;
    } cases[] = {
        {"missing", "\"Other\"=\"/x\""},
        {"binary", "\"Favorites\"=hex:01,02"},
        {"windows path", "\"Favorites\"=\"C:\\\\Users\\\\me\\\\Favorites\""},
        {"unexpanded", "\"Favorites\"=hex(2):25,00,55,00,00,00"},
        {"empty", "\"Favorites\"=\"\""},
        {"file-system root", "\"Favorites\"=\"/\""},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        std::filesystem::remove_all(m_data.root() / "quellcore");
        EXPECT_EQ(FavoritesFolder(readerOf(c.line)), fallback());
        EXPECT_TRUE(std::filesystem::is_directory(fallback()));
    }
}
