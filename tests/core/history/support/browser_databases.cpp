#include "support/browser_databases.h"

#include <gtest/gtest.h>
#include <unistd.h>

#include <fstream>
#include <sstream>

namespace quell::test {

ScratchFolder::ScratchFolder(const std::string& name)
    : m_path(std::filesystem::temp_directory_path() / (name + "-" + std::to_string(getpid()))) {
    std::filesystem::remove_all(m_path);
    std::filesystem::create_directories(m_path);
}

ScratchFolder::~ScratchFolder() {
    std::error_code ec;
    std::filesystem::remove_all(m_path, ec);
}

Connection::Connection(const std::string& path) {
    std::filesystem::create_directories(std::filesystem::path(path).parent_path());
    EXPECT_EQ(sqlite3_open(path.c_str(), &m_db), SQLITE_OK) << path;
}

Connection::~Connection() { sqlite3_close(m_db); }

void Connection::exec(const std::string& sql) {
    char* message = nullptr;
    EXPECT_EQ(sqlite3_exec(m_db, sql.c_str(), nullptr, nullptr, &message), SQLITE_OK)
        << sql << ": " << (message ? message : "");
    sqlite3_free(message);
}

void Connection::insert(const char* table, const HistoryRow& row) {
    const bool firefox = std::string(table) == "moz_places";
    const std::string sql =
        firefox ? "INSERT INTO moz_places (url, typed, visit_count, last_visit_date) VALUES (?1, ?2, 1, ?3)"
                : "INSERT INTO urls (url, typed_count, visit_count, last_visit_time) VALUES (?1, ?2, 1, ?3)";
    sqlite3_stmt* statement = nullptr;
    ASSERT_EQ(sqlite3_prepare_v2(m_db, sql.c_str(), -1, &statement, nullptr), SQLITE_OK);
    sqlite3_bind_text(statement, 1, row.url.c_str(), -1, SQLITE_TRANSIENT);
    sqlite3_bind_int(statement, 2, row.typed);
    sqlite3_bind_int64(statement, 3, row.lastVisit);
    EXPECT_EQ(sqlite3_step(statement), SQLITE_DONE);
    sqlite3_finalize(statement);
}

void createFirefoxPlaces(const std::string& path, const std::vector<HistoryRow>& rows) {
    Connection db(path);
    db.exec("PRAGMA page_size = 32768; PRAGMA journal_mode = WAL;");
    db.exec(
        "CREATE TABLE moz_places (id INTEGER PRIMARY KEY, url LONGVARCHAR, title LONGVARCHAR, rev_host LONGVARCHAR, "
        "visit_count INTEGER DEFAULT 0, hidden INTEGER DEFAULT 0 NOT NULL, typed INTEGER DEFAULT 0 NOT NULL, "
        "frecency INTEGER DEFAULT -1 NOT NULL, last_visit_date INTEGER , guid TEXT, foreign_count INTEGER DEFAULT 0 "
        "NOT NULL, url_hash INTEGER DEFAULT 0 NOT NULL , description TEXT, preview_image_url TEXT, site_name TEXT, "
        "origin_id INTEGER, recalc_frecency INTEGER NOT NULL DEFAULT 0, alt_frecency INTEGER, recalc_alt_frecency "
        "INTEGER NOT NULL DEFAULT 0)");
    db.exec("CREATE INDEX moz_places_url_hashindex ON moz_places (url_hash)");
    db.exec("CREATE INDEX moz_places_hostindex ON moz_places (rev_host)");
    db.exec("CREATE INDEX moz_places_visitcount ON moz_places (visit_count)");
    db.exec("CREATE INDEX moz_places_frecencyindex ON moz_places (frecency)");
    db.exec("CREATE INDEX moz_places_lastvisitdateindex ON moz_places (last_visit_date)");
    db.exec("CREATE UNIQUE INDEX moz_places_guid_uniqueindex ON moz_places (guid)");
    for (const HistoryRow& row : rows) db.insert("moz_places", row);
}

void createChromiumHistory(const std::string& path, const std::vector<HistoryRow>& rows) {
    Connection db(path);
    db.exec("PRAGMA page_size = 4096; PRAGMA journal_mode = TRUNCATE;");
    db.exec(
        "CREATE TABLE urls(id INTEGER PRIMARY KEY AUTOINCREMENT,url LONGVARCHAR,title LONGVARCHAR,visit_count "
        "INTEGER DEFAULT 0 NOT NULL,typed_count INTEGER DEFAULT 0 NOT NULL,last_visit_time INTEGER NOT NULL,hidden "
        "INTEGER DEFAULT 0 NOT NULL)");
    db.exec("CREATE INDEX urls_url_index ON urls (url)");
    for (const HistoryRow& row : rows) db.insert("urls", row);
}

std::string folderFingerprint(const std::string& folder) {
    std::ostringstream out;
    for (const auto& entry : std::filesystem::recursive_directory_iterator(folder)) {
        out << entry.path().string();
        if (entry.is_regular_file()) {
            std::ifstream in(entry.path(), std::ios::binary);
            std::ostringstream bytes;
            bytes << in.rdbuf();
            out << " " << entry.file_size() << " " << entry.last_write_time().time_since_epoch().count() << " "
                << std::hash<std::string>{}(bytes.str());
        }
        out << "\n";
    }
    return out.str();
}

void writeText(const std::string& path, const std::string& text) {
    std::filesystem::create_directories(std::filesystem::path(path).parent_path());
    std::ofstream(path, std::ios::binary) << text;
}

}  // namespace quell::test
