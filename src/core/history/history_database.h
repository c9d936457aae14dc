#pragma once
// Reads the typed addresses out of a browser's history database without
// writing to it or taking any lock a running browser could notice.
#include <cstddef>
#include <string>
#include <vector>

#include "core/history/browser_kind.h"

namespace quell::history {

// Firefox's places.sqlite or Chromium's History, with its "-wal" file when one
// lies beside it: the addresses typed at least once, most recently visited
// first, at most limit of them. A missing, unreadable, corrupt or foreign
// database gives an empty list, and so does one whose query runs past a
// bounded time.
std::vector<std::string> ReadTypedAddresses(const std::string& databasePath, BrowserKind kind, size_t limit);

// A database is read in place, as a file nobody changes, unless a "-wal" log
// beside it holds pages: it is then read into memory with the log, up to
// this size in all; a larger one is read in place without its log.
inline constexpr size_t kMaxInMemoryDatabaseBytes = size_t{256} << 20;

}  // namespace quell::history
