#include "core/history/wal_replay.h"

#include <algorithm>

#include "core/bytes.h"

namespace quell::history {
namespace {

using bytes::readBe32;
using bytes::readLe32;

constexpr size_t kFrameHeaderBytes = 24;
constexpr uint32_t kMagicLittleEndianSums = 0x377f0682;
constexpr uint32_t kMagicBigEndianSums = 0x377f0683;
// Bytes 18 and 19 of a database header: the write and read format versions,
// 2 for a database in write-ahead-log mode, 1 for a rollback journal.
constexpr size_t kFormatVersionOffset = 18;

// The log's running checksum: pairs of 32-bit words, read in the byte order
// the magic number names, folded into two sums.
struct Checksum {
    bool bigEndian = true;
    uint32_t s0 = 0, s1 = 0;

    void add(std::span<const uint8_t> bytes) {
        for (size_t at = 0; at + 8 <= bytes.size(); at += 8) {
            const uint32_t a = bigEndian ? readBe32(bytes, at) : readLe32(bytes, at);
            const uint32_t b = bigEndian ? readBe32(bytes, at + 4) : readLe32(bytes, at + 4);
            s0 += a + s1;
            s1 += b + s0;
        }
    }
};

bool validPageSize(uint32_t size) { return size >= 512 && size <= 65536 && (size & (size - 1)) == 0; }

void markRollbackJournal(std::vector<uint8_t>& database) {
    if (database.size() < kFormatVersionOffset + 2) return;
    if (database[kFormatVersionOffset] == 2) database[kFormatVersionOffset] = 1;
    if (database[kFormatVersionOffset + 1] == 2) database[kFormatVersionOffset + 1] = 1;
}

}  // namespace

size_t ReplayWriteAheadLog(std::vector<uint8_t>& database, std::span<const uint8_t> log) {
    markRollbackJournal(database);
    if (log.size() < kWriteAheadLogHeaderBytes) return 0;
    const uint32_t magic = readBe32(log, 0);
    if (magic != kMagicLittleEndianSums && magic != kMagicBigEndianSums) return 0;
    const uint32_t pageSize = readBe32(log, 8);
    if (!validPageSize(pageSize)) return 0;
    Checksum sum{.bigEndian = magic == kMagicBigEndianSums};
    sum.add(log.subspan(0, 24));
    if (sum.s0 != readBe32(log, 24) || sum.s1 != readBe32(log, 28)) return 0;
    const uint32_t salt1 = readBe32(log, 16), salt2 = readBe32(log, 20);

    // Pages are gathered per transaction and written only once its commit
    // frame has been checked, so a transaction cut off in the log is not seen.
    struct Frame {
        uint32_t page;
        size_t dataAt;
    };
    std::vector<Frame> pending;
    size_t applied = 0;
    const size_t frameBytes = kFrameHeaderBytes + pageSize;
    for (size_t at = kWriteAheadLogHeaderBytes; at + frameBytes <= log.size(); at += frameBytes) {
        const std::span<const uint8_t> frame = log.subspan(at, frameBytes);
        const uint32_t page = readBe32(frame, 0);
        const uint32_t pagesAfterCommit = readBe32(frame, 4);
        if (page == 0 || readBe32(frame, 8) != salt1 || readBe32(frame, 12) != salt2) break;
        sum.add(frame.subspan(0, 8));
        sum.add(frame.subspan(kFrameHeaderBytes));
        if (sum.s0 != readBe32(frame, 16) || sum.s1 != readBe32(frame, 20)) break;
        pending.push_back({page, at + kFrameHeaderBytes});
        if (pagesAfterCommit == 0) continue;

        const size_t newSize = size_t{pagesAfterCommit} * pageSize;
        database.resize(newSize, 0);
        for (const Frame& f : pending) {
            const size_t offset = size_t{f.page - 1} * pageSize;
            if (offset + pageSize > database.size()) continue;
            std::copy_n(log.begin() + static_cast<std::ptrdiff_t>(f.dataAt), pageSize,
                        database.begin() + static_cast<std::ptrdiff_t>(offset));
        }
        applied += pending.size();
        pending.clear();
    }
    // Page 1 may have come from the log with its mode bytes set again.
    markRollbackJournal(database);
    return applied;
}

}  // namespace quell::history
