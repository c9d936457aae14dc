#pragma once
// History databases laid out as Firefox and Chromium create them (the tables
// and indexes of the columns the address bar reads), for tests to fill.
#include <sqlite3.h>

#include <cstdint>
#include <filesystem>
#include <string>
#include <vector>

namespace quell::test {

// A folder of its own below the temporary folder, removed with the test.
class ScratchFolder {
public:
    explicit ScratchFolder(const std::string& name);
    ~ScratchFolder();
    std::string path() const { return m_path.string(); }
    std::string file(const std::string& name) const { return (m_path / name).string(); }

private:
    std::filesystem::path m_path;
};

struct HistoryRow {
    std::string url;
    int typed = 1;          // moz_places.typed, urls.typed_count
    int64_t lastVisit = 0;  // microseconds: last_visit_date, last_visit_time
};

// An open connection that fails the test when a statement fails.
class Connection {
public:
    explicit Connection(const std::string& path);
    ~Connection();
    Connection(const Connection&) = delete;
    Connection& operator=(const Connection&) = delete;
    void exec(const std::string& sql);
    void insert(const char* table, const HistoryRow& row);  // "moz_places" or "urls"

private:
    sqlite3* m_db = nullptr;
};

// Firefox's places.sqlite: 32 KiB pages, write-ahead log, moz_places.
void createFirefoxPlaces(const std::string& path, const std::vector<HistoryRow>& rows);
// Chromium's History: 4 KiB pages, rollback journal, urls.
void createChromiumHistory(const std::string& path, const std::vector<HistoryRow>& rows);

// Every file of the folder with its size, modification time and bytes, to
// show that a reader changed nothing.
std::string folderFingerprint(const std::string& folder);

void writeText(const std::string& path, const std::string& text);

}  // namespace quell::test
