#include "core/history/history_database.h"

#include <sqlite3.h>
#include <sys/stat.h>

#include <chrono>
#include <memory>

#include "core/history/wal_replay.h"
#include "core/os/file_system.h"

namespace quell::history {
namespace {

// A query over a real profile takes milliseconds; this bounds a damaged one.
constexpr auto kQueryDeadline = std::chrono::seconds(2);
// The progress callback runs after this many virtual machine steps.
constexpr int kProgressSteps = 1000;

const char* typedQuery(BrowserKind kind) {
    switch (kind) {
    case BrowserKind::Firefox:
        return "SELECT url FROM moz_places WHERE typed = 1 ORDER BY last_visit_date DESC LIMIT ?1";
    case BrowserKind::Chromium:
    case BrowserKind::Chrome:
        return "SELECT url FROM urls WHERE typed_count > 0 ORDER BY last_visit_time DESC LIMIT ?1";
    case BrowserKind::None: break;
    }
    return nullptr;
}

struct CloseDatabase {
    void operator()(sqlite3* db) const { sqlite3_close(db); }
};
using Database = std::unique_ptr<sqlite3, CloseDatabase>;

// The database and its log as bytes in memory, the log replayed into it, so
// that the browser's files are only ever read.
Database openInMemory(std::vector<uint8_t>& image, const std::string& path) {
    // A log that cannot be read whole leaves log empty: the file's own pages are used.
    std::vector<uint8_t> log;
    os::readFileCapped(path + "-wal", kMaxInMemoryDatabaseBytes - image.size(), log);
    ReplayWriteAheadLog(image, log);
    sqlite3* raw = nullptr;
    if (sqlite3_open_v2(":memory:", &raw, SQLITE_OPEN_READWRITE, nullptr) != SQLITE_OK) {
        sqlite3_close(raw);
        return nullptr;
    }
    Database db(raw);
    const int loaded = sqlite3_deserialize(db.get(), "main", image.data(), static_cast<sqlite3_int64>(image.size()),
                                           static_cast<sqlite3_int64>(image.size()), SQLITE_DESERIALIZE_READONLY);
    return loaded == SQLITE_OK ? std::move(db) : nullptr;
}

// A URI that names the file as one nobody changes: SQLite then neither locks
// it nor looks for its log.
std::string immutableUri(const std::string& path) {
    std::string uri = "file:";
    static constexpr char kHex[] = "0123456789ABCDEF";
    for (const char c : path) {
        if (c == '%' || c == '?' || c == '#') {
            uri += '%';
            uri += kHex[static_cast<unsigned char>(c) >> 4];
            uri += kHex[static_cast<unsigned char>(c) & 15];
        } else {
            uri += c;
        }
    }
    return uri + "?immutable=1";
}

Database openInPlace(const std::string& path) {
    sqlite3* raw = nullptr;
    const int opened =
        sqlite3_open_v2(immutableUri(path).c_str(), &raw, SQLITE_OPEN_READONLY | SQLITE_OPEN_URI, nullptr);
    Database db(raw);
    return opened == SQLITE_OK ? std::move(db) : nullptr;
}

// A log holds committed pages the database file may not have yet.
bool hasLog(const std::string& path) {
    struct stat st {};
    return ::stat((path + "-wal").c_str(), &st) == 0 && S_ISREG(st.st_mode) &&
           static_cast<size_t>(st.st_size) > kWriteAheadLogHeaderBytes;
}

int pastDeadline(void* deadline) {
    return std::chrono::steady_clock::now() > *static_cast<std::chrono::steady_clock::time_point*>(deadline);
}

}  // namespace

std::vector<std::string> ReadTypedAddresses(const std::string& databasePath, BrowserKind kind, size_t limit) {
    std::vector<std::string> addresses;
    const char* query = typedQuery(kind);
    if (!query || limit == 0 || !os::isRegularFile(databasePath)) return addresses;

    // A database with a log is read into memory and brought up to date
    // there (held until the connection closes, as SQLite reads it in place);
    // one without is read where it lies, only the pages the query needs.
    std::vector<uint8_t> image;
    Database db;
    if (hasLog(databasePath) &&
        os::readFileCapped(databasePath, kMaxInMemoryDatabaseBytes, image) == os::CappedRead::Read)
        db = openInMemory(image, databasePath);
    else db = openInPlace(databasePath);
    if (!db) return addresses;

    auto deadline = std::chrono::steady_clock::now() + kQueryDeadline;
    sqlite3_progress_handler(db.get(), kProgressSteps, pastDeadline, &deadline);
    sqlite3_stmt* statement = nullptr;
    if (sqlite3_prepare_v2(db.get(), query, -1, &statement, nullptr) != SQLITE_OK) {
        sqlite3_finalize(statement);
        return addresses;
    }
    sqlite3_bind_int64(statement, 1, static_cast<sqlite3_int64>(limit));
    int step = SQLITE_ROW;
    while ((step = sqlite3_step(statement)) == SQLITE_ROW) {
        const unsigned char* text = sqlite3_column_text(statement, 0);
        if (text) addresses.emplace_back(reinterpret_cast<const char*>(text));
    }
    sqlite3_finalize(statement);
    // A query cut short by damage or the deadline may have listed rows out
    // of their order; none of them is offered.
    if (step != SQLITE_DONE) addresses.clear();
    return addresses;
}

}  // namespace quell::history
