#include "core/history/history_database.h"

#include <gtest/gtest.h>

#include <filesystem>

#include "core/history/wal_replay.h"
#include "core/os/file_system.h"
#include "support/browser_databases.h"

namespace quell::history {
namespace {

using test::HistoryRow;
using Urls = std::vector<std::string>;

TEST(HistoryDatabase, ListsTypedAddressesMostRecentFirstUpToTheLimit) {
    const test::ScratchFolder folder("quell-history-typed");
    const std::vector<HistoryRow> rows = {
        {"http://old.example/", 1, 100},    {"http://never-typed.example/", 0, 900}, {"https://new.example/", 1, 500},
        {"http://middle.example/", 1, 300}, {"http://unvisited.example/", 1, 0},
    };
    struct Case {
        const char* name;
        BrowserKind kind;
        void (*create)(const std::string&, const std::vector<HistoryRow>&);
    };
    for (const Case& c : {Case{"firefox", BrowserKind::Firefox, test::createFirefoxPlaces},
                          Case{"chromium", BrowserKind::Chromium, test::createChromiumHistory},
                          Case{"chrome", BrowserKind::Chrome, test::createChromiumHistory}}) {
        SCOPED_TRACE(c.name);
        const std::string path = folder.file(std::string(c.name) + ".sqlite");
        c.create(path, rows);
        EXPECT_EQ(ReadTypedAddresses(path, c.kind, 19), (Urls{"https://new.example/", "http://middle.example/",
                                                              "http://old.example/", "http://unvisited.example/"}));
        EXPECT_EQ(ReadTypedAddresses(path, c.kind, 2), (Urls{"https://new.example/", "http://middle.example/"}));
    }
}

TEST(HistoryDatabase, ReadsTheNewestRowsFromTheLogOfADatabaseHeldOpen) {
    const test::ScratchFolder folder("quell-history-wal");
    const std::string path = folder.file("places.sqlite");
    test::createFirefoxPlaces(path, {{"http://checkpointed.example/", 1, 100}});
    // The browser keeps its connection open with checkpoints off, so what it
    // wrote last lives only in the -wal file.
    test::Connection browser(path);
    browser.exec("PRAGMA journal_mode = WAL; PRAGMA wal_autocheckpoint = 0;");
    browser.insert("moz_places", {"http://in-the-log.example/", 1, 200});
    browser.insert("moz_places", {"http://in-the-log-too.example/", 1, 300});
    ASSERT_GT(std::filesystem::file_size(path + "-wal"), 0u);
    // An open transaction of the browser's is not seen.
    browser.exec("BEGIN; INSERT INTO moz_places (url, typed, last_visit_date) VALUES ('http://uncommitted/', 1, 400)");

    const std::string before = test::folderFingerprint(folder.path());
    EXPECT_EQ(ReadTypedAddresses(path, BrowserKind::Firefox, 19),
              (Urls{"http://in-the-log-too.example/", "http://in-the-log.example/", "http://checkpointed.example/"}));
    EXPECT_EQ(test::folderFingerprint(folder.path()), before) << "the reader changed or added a file";
    browser.exec("COMMIT");
}

TEST(HistoryDatabase, ADatabaseLockedByItsBrowserIsReadWithoutWaitingOrWriting) {
    const test::ScratchFolder folder("quell-history-locked");
    const std::string path = folder.file("History");
    test::createChromiumHistory(path, {{"http://typed.example/", 2, 100}});
    // Chromium holds its database in exclusive locking mode: once it has
    // written, no other connection may even read it.
    test::Connection browser(path);
    browser.exec("PRAGMA locking_mode = EXCLUSIVE; BEGIN EXCLUSIVE; UPDATE urls SET visit_count = 5; COMMIT;");
    {
        sqlite3* other = nullptr;
        ASSERT_EQ(sqlite3_open(path.c_str(), &other), SQLITE_OK);
        EXPECT_EQ(sqlite3_exec(other, "SELECT count(*) FROM urls", nullptr, nullptr, nullptr), SQLITE_BUSY);
        sqlite3_close(other);
    }
    const std::string before = test::folderFingerprint(folder.path());
    EXPECT_EQ(ReadTypedAddresses(path, BrowserKind::Chromium, 19), Urls{"http://typed.example/"});
    EXPECT_EQ(test::folderFingerprint(folder.path()), before);
}

TEST(HistoryDatabase, MissingForeignOrDamagedDatabasesGiveAnEmptyList) {
    const test::ScratchFolder folder("quell-history-bad");
    test::writeText(folder.file("text.sqlite"), "this is not a database, only some text\n");
    test::writeText(folder.file("empty.sqlite"), "");
    {
        test::Connection other(folder.file("foreign.sqlite"));
        other.exec("CREATE TABLE notes (url TEXT, typed INTEGER)");
    }
    test::createFirefoxPlaces(folder.file("cut.sqlite"), {{"http://a.example/", 1, 1}});
    std::filesystem::resize_file(folder.file("cut.sqlite"), 40000);
    std::filesystem::create_directory(folder.file("folder.sqlite"));

    for (const char* name :
         {"missing.sqlite", "text.sqlite", "empty.sqlite", "foreign.sqlite", "cut.sqlite", "folder.sqlite"}) {
        SCOPED_TRACE(name);
        const std::string before = test::folderFingerprint(folder.path());
        EXPECT_EQ(ReadTypedAddresses(folder.file(name), BrowserKind::Firefox, 19), Urls{});
        EXPECT_EQ(test::folderFingerprint(folder.path()), before);
    }
    // A Firefox database asked for Chromium's table is foreign too.
    test::createFirefoxPlaces(folder.file("places.sqlite"), {{"http://a.example/", 1, 1}});
    EXPECT_EQ(ReadTypedAddresses(folder.file("places.sqlite"), BrowserKind::Chromium, 19), Urls{});
}

TEST(WalReplay, ALogCutInsideItsLastTransactionKeepsTheEarlierOnes) {
    const test::ScratchFolder folder("quell-history-cut-log");
    const std::string path = folder.file("places.sqlite");
    test::createFirefoxPlaces(path, {});
    test::Connection browser(path);
    browser.exec("PRAGMA wal_autocheckpoint = 0;");
    browser.insert("moz_places", {"http://first.example/", 1, 100});
    const auto firstCommitEnd = std::filesystem::file_size(path + "-wal");
    browser.insert("moz_places", {"http://second.example/", 1, 200});

    auto database = os::readFile(path);
    auto log = os::readFile(path + "-wal");
    ASSERT_TRUE(database && log);
    std::vector<uint8_t> whole = *database;
    EXPECT_GT(ReplayWriteAheadLog(whole, *log), 0u);
    EXPECT_EQ(whole[18], 1) << "the replayed copy opens without its log";

    struct Case {
        const char* name;
        size_t logBytes;
        bool corruptLastFrame;
    };
    for (const Case& c : {Case{"cut in the last frame", log->size() - 100, false},
                          Case{"checksum broken in the last frame", log->size(), true},
                          Case{"cut at the first commit", static_cast<size_t>(firstCommitEnd), false}}) {
        SCOPED_TRACE(c.name);
        std::vector<uint8_t> cutLog(log->begin(), log->begin() + static_cast<long>(c.logBytes));
        if (c.corruptLastFrame) cutLog[cutLog.size() - 10] ^= 0xFF;
        const std::string copy = folder.file(std::string(c.name) + ".sqlite");
        std::vector<uint8_t> image = *database;
        ReplayWriteAheadLog(image, cutLog);
        ASSERT_TRUE(os::writeFile(copy, image));
        EXPECT_EQ(ReadTypedAddresses(copy, BrowserKind::Firefox, 19), Urls{"http://first.example/"});
    }
}

}  // namespace
}  // namespace quell::history
