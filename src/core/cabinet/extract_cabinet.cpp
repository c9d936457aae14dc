#include "core/cabinet/extract_cabinet.h"

#include <cstdlib>
#include <cstring>
#include <ctime>

#include "core/cabinet/cabinet_reader.h"
#include "core/os/cabinet_file_io.h"

namespace quell::cabinet {
namespace {

// The longest output path the program writes, as the 260-byte buffers of the
// format's home platform allow.
constexpr size_t kMaxOutputPath = 259;

os::RawOpenMode translateOpenFlags(int flags, int mode) {
    os::RawOpenMode m;
    switch (flags & 0x3) {
        case kOpenWriteOnly: m.access = os::RawAccess::WriteOnly; break;
        case kOpenReadWrite: m.access = os::RawAccess::ReadWrite; break;
        default: m.access = os::RawAccess::ReadOnly; break;
    }
    m.create = (flags & kOpenCreate) != 0;
    m.truncate = (flags & kOpenTruncate) != 0;
    m.exclusive = (flags & kOpenExclusive) != 0;
    m.permissions = ((mode & kPermissionRead) ? 0444u : 0u) | ((mode & kPermissionWrite) ? 0222u : 0u);
    return m;
}

void* ioAllocate(size_t bytes) { return std::malloc(bytes); }
void ioFree(void* block) { std::free(block); }
FileHandle ioOpen(const char* path, int flags, int mode) { return os::rawOpen(path, translateOpenFlags(flags, mode)); }
int ioRead(FileHandle h, void* buffer, unsigned count) { return static_cast<int>(os::rawRead(h, buffer, count)); }
int ioWrite(FileHandle h, const void* buffer, unsigned count) {
    return static_cast<int>(os::rawWrite(h, buffer, count));
}
int ioClose(FileHandle h) { return os::rawClose(h); }
long ioSeek(FileHandle h, long offset, int origin) { return static_cast<long>(os::rawSeek(h, offset, origin)); }

constexpr CabinetIo kPosixIo{ioAllocate, ioFree, ioOpen, ioRead, ioWrite, ioClose, ioSeek};

struct Destination {
    std::string folder;
};

FileHandle openOutputFile(const Destination& d, const char* storedName) {
    const std::string path = OutputPathFor(d.folder, storedName);
    if (path.empty()) return -1;
    // An existing file is replaced whole, and a symbolic link planted at the
    // name is refused rather than followed out of the destination.
    os::RawOpenMode mode = translateOpenFlags(kOpenBinary | kOpenCreate | kOpenTruncate | kOpenSequential |
                                                  kOpenWriteOnly,
                                              kPermissionRead | kPermissionWrite);
    mode.noFollow = true;
    return os::rawOpen(path.c_str(), mode);
}

void finishOutputFile(const Destination& d, const CabinetNotification& n) {
    const std::string path = OutputPathFor(d.folder, n.text1);
    os::rawClose(n.handle);
    if (path.empty()) return;
    long long seconds = 0;
    if (DosDateTimeToEpoch(n.date, n.time, &seconds)) os::setModificationTime(path, seconds);
    if (n.attributes & kAttributeReadOnly) os::clearWritePermission(path);
}

intptr_t notifyExtraction(NotificationKind kind, CabinetNotification& n) {
    const auto* d = static_cast<const Destination*>(n.user);
    switch (kind) {
        case FileBegin: return openOutputFile(*d, n.text1);
        case FileEnd: finishOutputFile(*d, n); return 1;
        default: return 0;
    }
}

}  // namespace

std::string OutputPathFor(const std::string& destinationFolder, const char* storedName) {
    if (storedName == nullptr || storedName[0] == 0) return {};
    std::string name(storedName);
    for (char& ch : name)
        if (ch == '\\') ch = '/';
    if (name[0] == '/') return {};
    if (name.size() >= 2 && name[1] == ':') return {};  // a drive letter
    size_t start = 0;
    while (start <= name.size()) {
        size_t end = name.find('/', start);
        if (end == std::string::npos) end = name.size();
        if (name.compare(start, end - start, "..") == 0 && end - start == 2) return {};
        start = end + 1;
    }
    if (name.back() == '/') return {};
    std::string path = destinationFolder + name;
    if (path.size() > kMaxOutputPath) return {};
    return path;
}

bool DosDateTimeToEpoch(uint16_t date, uint16_t time, long long* seconds) {
    const int day = date & 0x1F;
    const int month = (date >> 5) & 0x0F;
    const int year = 1980 + (date >> 9);
    const int second = (time & 0x1F) * 2;
    const int minute = (time >> 5) & 0x3F;
    const int hour = time >> 11;
    if (day < 1 || month < 1 || month > 12 || hour > 23 || minute > 59 || second > 59) return false;
    std::tm tm{};
    tm.tm_year = year - 1900;
    tm.tm_mon = month - 1;
    tm.tm_mday = day;
    tm.tm_hour = hour;
    tm.tm_min = minute;
    tm.tm_sec = second;
    tm.tm_isdst = -1;
    const std::time_t t = std::mktime(&tm);
    if (t == static_cast<std::time_t>(-1)) return false;
    // mktime normalises impossible days (31 February); a calendar has none.
    if (tm.tm_mday != day || tm.tm_mon != month - 1) return false;
    *seconds = static_cast<long long>(t);
    return true;
}

bool ExtractCabinet(const std::string& cabinetPath, const std::string& destinationFolder) {
    CabinetError error;
    return ExtractCabinet(cabinetPath, destinationFolder, &error);
}

bool ExtractCabinet(const std::string& cabinetPath, const std::string& destinationFolder, CabinetError* error) {
    Destination destination{destinationFolder};
    CabinetContext* context = Create(kPosixIo, 1, error);
    if (context == nullptr) return false;
    const FileHandle h = kPosixIo.open(cabinetPath.c_str(), kOpenBinary | kOpenSequential | kOpenReadOnly, 0);
    if (h == -1) {
        Destroy(context);
        return false;
    }
    const bool isCabinet = IsCabinet(context, h, nullptr);
    kPosixIo.close(h);
    if (!isCabinet) {
        Destroy(context);
        return false;
    }
    const size_t slash = cabinetPath.find_last_of('/');
    const std::string name = slash == std::string::npos ? cabinetPath : cabinetPath.substr(slash + 1);
    const std::string path = slash == std::string::npos ? std::string() : cabinetPath.substr(0, slash + 1);
    if (Copy(context, name.c_str(), path.c_str(), 0, notifyExtraction, nullptr, &destination))
        return Destroy(context);
    Destroy(context);
    return false;
}

}  // namespace quell::cabinet
