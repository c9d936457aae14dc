#include "core/cabinet/posix_cabinet_io.h"

#include <cstdlib>

namespace quell::cabinet {
namespace {

void* ioAllocate(size_t bytes) { return std::malloc(bytes); }
void ioFree(void* block) { std::free(block); }
FileHandle ioOpen(const char* path, int flags, int mode) { return os::rawOpen(path, TranslateOpenFlags(flags, mode)); }
int ioRead(FileHandle h, void* buffer, unsigned count) { return static_cast<int>(os::rawRead(h, buffer, count)); }
int ioWrite(FileHandle h, const void* buffer, unsigned count) {
    return static_cast<int>(os::rawWrite(h, buffer, count));
}
int ioClose(FileHandle h) { return os::rawClose(h); }
long ioSeek(FileHandle h, long offset, int origin) { return static_cast<long>(os::rawSeek(h, offset, origin)); }

constexpr CabinetIo kPosixIo{ioAllocate, ioFree, ioOpen, ioRead, ioWrite, ioClose, ioSeek};

}  // namespace

const CabinetIo& PosixCabinetIo() { return kPosixIo; }

os::RawOpenMode TranslateOpenFlags(int flags, int mode) {
    os::RawOpenMode m;
    switch (flags & kOpenAccessMask) {
    case kOpenWriteOnly: m.access = os::RawAccess::WriteOnly; break;
    case kOpenReadWrite: m.access = os::RawAccess::ReadWrite; break;
    default: m.access = os::RawAccess::ReadOnly; break;
    }
    m.create = (flags & kOpenCreate) != 0;
    m.truncate = (flags & kOpenTruncate) != 0;
    m.exclusive = (flags & kOpenExclusive) != 0;
    m.noFollow = m.create;
    m.permissions = ((mode & kPermissionRead) ? 0444u : 0u) | ((mode & kPermissionWrite) ? 0222u : 0u);
    return m;
}

}  // namespace quell::cabinet
