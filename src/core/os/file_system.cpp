#include "core/os/file_system.h"

#include <dirent.h>
#include <fcntl.h>
#include <strings.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <new>
#include <utility>

namespace quell::os {

namespace {
std::optional<std::vector<uint8_t>> readOpenFile(int fd, size_t maxBytes) {
    struct stat st {};
    if (::fstat(fd, &st) != 0 || S_ISDIR(st.st_mode)) return std::nullopt;
    std::vector<uint8_t> bytes;
    if (S_ISREG(st.st_mode)) bytes.reserve(std::min<uint64_t>(static_cast<uint64_t>(st.st_size), maxBytes));
    uint8_t chunk[65536];
    while (bytes.size() < maxBytes) {
        size_t want = std::min(sizeof chunk, maxBytes - bytes.size());
        ssize_t got = ::read(fd, chunk, want);
        if (got < 0) {
            if (errno == EINTR) continue;
            return std::nullopt;
        }
        if (got == 0) break;
        bytes.insert(bytes.end(), chunk, chunk + got);
    }
    return bytes;
}
}  // namespace

std::optional<std::vector<uint8_t>> readFile(const std::string& path, size_t maxBytes) {
    int fd = ::open(path.c_str(), O_RDONLY | O_CLOEXEC);
    if (fd < 0) return std::nullopt;
    std::optional<std::vector<uint8_t>> bytes;
    try {
        bytes = readOpenFile(fd, maxBytes);
    } catch (const std::bad_alloc&) {
        bytes.reset();
    }
    ::close(fd);
    return bytes;
}

namespace {
long systemRead(int fd, void* buffer, size_t count) { return static_cast<long>(::read(fd, buffer, count)); }

std::optional<std::vector<uint8_t>> readOpenFileWhole(int fd, ReadCall read) {
    struct stat st {};
    if (::fstat(fd, &st) != 0 || !S_ISREG(st.st_mode) || st.st_size < 0) return std::nullopt;
    if (static_cast<uint64_t>(st.st_size) > SIZE_MAX) return std::nullopt;
    std::vector<uint8_t> bytes(static_cast<size_t>(st.st_size));
    size_t at = 0;
    while (at < bytes.size()) {
        const long got = read(fd, bytes.data() + at, bytes.size() - at);
        if (got < 0 && errno == EINTR) continue;
        if (got <= 0) return std::nullopt;
        at += static_cast<size_t>(got);
    }
    return bytes;
}
}  // namespace

std::optional<std::vector<uint8_t>> readWholeFile(const std::string& path, ReadCall read) {
    const int fd = ::open(path.c_str(), O_RDONLY | O_CLOEXEC);
    if (fd < 0) return std::nullopt;
    std::optional<std::vector<uint8_t>> bytes;
    try {
        bytes = readOpenFileWhole(fd, read ? read : systemRead);
    } catch (const std::bad_alloc&) {
        bytes.reset();
    }
    ::close(fd);
    return bytes;
}

CappedRead readFileCapped(const std::string& path, size_t maxBytes, std::vector<uint8_t>& out) {
    out.clear();
    std::optional<std::vector<uint8_t>> bytes = readFile(path, maxBytes == SIZE_MAX ? maxBytes : maxBytes + 1);
    if (!bytes) return CappedRead::CannotRead;
    if (bytes->size() > maxBytes) return CappedRead::TooLong;
    out = std::move(*bytes);
    return CappedRead::Read;
}

bool pathExists(const std::string& path) {
    struct stat st {};
    return ::stat(path.c_str(), &st) == 0;
}

bool isDirectory(const std::string& path) {
    struct stat st {};
    return ::stat(path.c_str(), &st) == 0 && S_ISDIR(st.st_mode);
}

bool isRegularFile(const std::string& path) {
    struct stat st {};
    return ::stat(path.c_str(), &st) == 0 && S_ISREG(st.st_mode);
}

CreateDirectoryResult createDirectory(const std::string& path) {
    if (::mkdir(path.c_str(), 0777) == 0) return CreateDirectoryResult::Created;
    return errno == EEXIST ? CreateDirectoryResult::AlreadyExists : CreateDirectoryResult::Failed;
}

bool createDirectories(const std::string& path) {
    std::error_code ec;
    std::filesystem::create_directories(path, ec);
    return isDirectory(path);
}

bool isWritableDirectory(const std::string& path) {
    return isDirectory(path) && ::access(path.c_str(), W_OK | X_OK) == 0;
}

bool removeFile(const std::string& path) { return ::unlink(path.c_str()) == 0; }

bool writeFile(const std::string& path, std::span<const uint8_t> bytes) {
    FILE* file = std::fopen(path.c_str(), "wb");
    if (!file) return false;
    const bool written = std::fwrite(bytes.data(), 1, bytes.size(), file) == bytes.size();
    return std::fclose(file) == 0 && written;
}

bool replaceFile(const std::string& path, std::span<const uint8_t> bytes) {
    std::string temp = path + ".XXXXXX";
    const int fd = ::mkstemp(temp.data());
    if (fd < 0) return false;
    bool ok = true;
    size_t done = 0;
    while (ok && done < bytes.size()) {
        const ssize_t n = ::write(fd, bytes.data() + done, bytes.size() - done);
        if (n < 0 && errno == EINTR) continue;
        ok = n > 0;
        if (ok) done += static_cast<size_t>(n);
    }
    ok = ::fsync(fd) == 0 && ok;
    ok = ::close(fd) == 0 && ok;
    ok = ok && ::rename(temp.c_str(), path.c_str()) == 0;
    if (!ok) ::unlink(temp.c_str());
    return ok;
}

std::optional<FileIdentity> fileIdentity(const std::string& path) {
    struct stat st {};
    if (::stat(path.c_str(), &st) != 0) return std::nullopt;
    return FileIdentity{static_cast<uint64_t>(st.st_dev), static_cast<uint64_t>(st.st_ino)};
}

std::string modulePath() {
    char buffer[4096];
    ssize_t n = ::readlink("/proc/self/exe", buffer, sizeof buffer - 1);
    if (n <= 0) return {};
    return std::string(buffer, static_cast<size_t>(n));
}

std::string environment(const char* name) {
    const char* value = std::getenv(name);
    return value ? std::string(value) : std::string();
}

namespace {
std::string xdgFolder(const char* variable, const char* fallbackBelowHome) {
    std::string value = environment(variable);
    if (!value.empty() && value.front() == '/') {
        while (value.size() > 1 && value.back() == '/') value.pop_back();
        return value;
    }
    std::string home = environment("HOME");
    if (home.empty()) home = "/tmp";
    while (home.size() > 1 && home.back() == '/') home.pop_back();
    return home + "/" + fallbackBelowHome;
}
}  // namespace

std::string userDataHome() { return xdgFolder("XDG_DATA_HOME", ".local/share"); }
std::string userConfigHome() { return xdgFolder("XDG_CONFIG_HOME", ".config"); }

namespace {
// Looks for one component in dir, exactly first, then without regard to case.
std::optional<std::string> findComponent(const std::string& dir, const std::string& name) {
    std::string exact = dir.empty() ? name : dir + "/" + name;
    if (pathExists(exact)) return name;
    DIR* d = ::opendir(dir.empty() ? "." : dir.c_str());
    if (!d) return std::nullopt;
    std::optional<std::string> found;
    while (dirent* e = ::readdir(d)) {
        if (::strcasecmp(e->d_name, name.c_str()) == 0) {
            found = e->d_name;
            break;
        }
    }
    ::closedir(d);
    return found;
}
}  // namespace

std::string resolveCaseInsensitive(const std::string& folder, const std::string& relativeName) {
    std::string name = relativeName;
    for (char& c : name)
        if (c == '\\') c = '/';
    std::string base = folder;
    while (base.size() > 1 && base.back() == '/') base.pop_back();
    std::string given = base + "/" + name;
    if (pathExists(given)) return given;

    std::string current = base;
    size_t pos = 0;
    while (pos <= name.size()) {
        size_t slash = name.find('/', pos);
        std::string part = name.substr(pos, slash == std::string::npos ? std::string::npos : slash - pos);
        if (!part.empty()) {
            auto match = findComponent(current, part);
            if (!match) return given;
            current += "/" + *match;
        }
        if (slash == std::string::npos) break;
        pos = slash + 1;
    }
    return current;
}

}  // namespace quell::os
