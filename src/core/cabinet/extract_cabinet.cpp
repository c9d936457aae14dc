#include "core/cabinet/extract_cabinet.h"

#include <ctime>

#include "core/cabinet/cabinet_reader.h"
#include "core/cabinet/posix_cabinet_io.h"
#include "core/cabinet/stored_name.h"
#include "core/os/cabinet_file_io.h"

namespace quell::cabinet {
namespace {

// The longest output path the program writes, as the 260-byte buffers of the
// format's home platform allow.
constexpr size_t kMaxOutputPath = 259;

struct Destination {
    std::string folder;
    const CabinetIo* io = nullptr;
};

FileHandle openOutputFile(const Destination& d, const CabinetNotification& n) {
    const std::string path = OutputPathFor(d.folder, n.text1, n.attributes);
    if (path.empty()) return -1;
    // An existing file is replaced whole: without the truncation a shorter
    // file would keep the tail of the longer one it replaces.
    return d.io->open(path.c_str(), kOpenBinary | kOpenCreate | kOpenTruncate | kOpenSequential | kOpenWriteOnly,
                      kPermissionRead | kPermissionWrite);
}

void finishOutputFile(const Destination& d, const CabinetNotification& n) {
    const std::string path = OutputPathFor(d.folder, n.text1, n.attributes);
    d.io->close(n.handle);
    if (path.empty()) return;
    long long seconds = 0;
    if (DosDateTimeToEpoch(n.date, n.time, &seconds)) os::setModificationTime(path, seconds);
    if (n.attributes & kAttributeReadOnly) os::clearWritePermission(path);
}

intptr_t notifyExtraction(NotificationKind kind, CabinetNotification& n) {
    const auto* d = static_cast<const Destination*>(n.user);
    switch (kind) {
    case FileBegin: return openOutputFile(*d, n);
    case FileEnd: finishOutputFile(*d, n); return 1;
    default: return 0;
    }
}

}  // namespace

CabinetLocation SplitCabinetPath(const std::string& cabinetPath) {
    const size_t slash = cabinetPath.find_last_of('/');
    if (slash == std::string::npos) return {cabinetPath, std::string()};
    return {cabinetPath.substr(slash + 1), cabinetPath.substr(0, slash + 1)};
}

std::string OutputPathFor(const std::string& destinationFolder, const char* storedName, uint16_t attributes) {
    // The name is decoded before '\' becomes '/': the second byte of a code
    // page 932 character may be 0x5C.
    std::optional<std::string> decoded = DecodeStoredName(storedName, attributes);
    if (!decoded || decoded->empty()) return {};
    std::string& name = *decoded;
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
    return ExtractCabinet(cabinetPath, destinationFolder, error, PosixCabinetIo());
}

bool ExtractCabinet(const std::string& cabinetPath, const std::string& destinationFolder, CabinetError* error,
                    const CabinetIo& io) {
    Destination destination{destinationFolder, &io};
    ScopedCabinetContext context(io, 1, error);
    if (!context) return false;
    const FileHandle h = io.open(cabinetPath.c_str(), kOpenBinary | kOpenSequential | kOpenReadOnly, 0);
    if (h == -1) return false;
    const bool isCabinet = IsCabinet(context.get(), h, nullptr);
    io.close(h);
    if (!isCabinet) return false;
    const CabinetLocation location = SplitCabinetPath(cabinetPath);
    return Copy(context.get(), location.name.c_str(), location.folder.c_str(), 0, notifyExtraction, nullptr,
                &destination);
}

}  // namespace quell::cabinet
