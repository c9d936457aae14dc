#pragma once
// Low-level file calls for the cabinet extraction and the start-up unpack:
// numbered handles, reads and writes that may be short, and the two pieces
// of metadata an extracted file receives.
#include <cstddef>
#include <cstdint>
#include <span>
#include <string>

namespace quell::os {

enum class RawAccess { ReadOnly, WriteOnly, ReadWrite };

struct RawOpenMode {
    RawAccess access = RawAccess::ReadOnly;
    bool create = false;
    bool truncate = false;
    bool exclusive = false;
    bool noFollow = false;     // refuse a symbolic link as the last path component
    unsigned permissions = 0;  // for a created file, before the umask
};

// A descriptor (never 0), or -1.
intptr_t rawOpen(const char* path, const RawOpenMode& mode);
// Bytes transferred, 0 at end of file, or -1. Interrupted calls are retried.
long rawRead(intptr_t handle, void* buffer, size_t count);
long rawWrite(intptr_t handle, const void* buffer, size_t count);
int rawClose(intptr_t handle);
// origin: 0 from the start, 1 from the current position, 2 from the end.
long long rawSeek(intptr_t handle, long long offset, int origin);

// Sets the last-modification time (seconds since the epoch) and leaves the
// access time alone.
bool setModificationTime(const std::string& path, long long secondsSinceEpoch);
// Takes away every write permission bit.
bool clearWritePermission(const std::string& path);

// Removes whatever is at path (a planted symbolic link included, never its
// target), then creates the file anew, refusing to follow a link that appears
// in between, and writes bytes to it. False on any failure; the caller removes
// a partly written file.
bool writeNewFile(const std::string& path, std::span<const uint8_t> bytes);

}  // namespace quell::os
