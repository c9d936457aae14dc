#pragma once
// An in-memory file system behind a CabinetIo table, recording what the
// reader does with it so tests can check handles, writes and allocations.
#include <cstdint>
#include <map>
#include <string>
#include <vector>

#include "core/cabinet/cabinet_types.h"

namespace cabtest {

struct MemoryFileSystem {
    std::map<std::string, std::vector<uint8_t>> files;
    // Bytes written to each output handle the test's notify callback made.
    std::map<quell::cabinet::FileHandle, std::vector<uint8_t>> outputs;
    int openHandles = 0;
    int liveAllocations = 0;
    int failAllocationAfter = -1;  // fail the n-th allocation from now (0 = the next)
    long writeLimit = -1;          // a write callback that stops after this many bytes per handle
};

// The file system the table's callbacks act on. reset() empties it.
MemoryFileSystem& memoryFs();
void resetMemoryFs();

// The table over memoryFs().
quell::cabinet::CabinetIo memoryIo();

// A fresh output handle for a notify callback to return from FileBegin.
quell::cabinet::FileHandle newOutputHandle();

}  // namespace cabtest
