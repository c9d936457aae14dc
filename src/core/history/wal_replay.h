#pragma once
// Brings a copy of an SQLite database up to date with its write-ahead log,
// in memory, the way the database's next reader would see it.
#include <cstddef>
#include <cstdint>
#include <span>
#include <vector>

namespace quell::history {

// A log no longer than its header holds no pages.
inline constexpr size_t kWriteAheadLogHeaderBytes = 32;

// Copies every page of the log's committed transactions into database, in
// log order, and sets the size the last one committed. Frames after the last
// commit, and everything from the first frame whose salt or checksum does
// not match on, are ignored, as SQLite ignores them. The header is then
// marked as a rollback-journal database so that it opens without the log.
// Returns the number of frames applied; 0 leaves database as it was, apart
// from the journal mark.
size_t ReplayWriteAheadLog(std::vector<uint8_t>& database, std::span<const uint8_t> log);

}  // namespace quell::history
