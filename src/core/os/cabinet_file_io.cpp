#include "core/os/cabinet_file_io.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <climits>

namespace quell::os {

intptr_t rawOpen(const char* path, const RawOpenMode& mode) {
    int flags = O_CLOEXEC;
    switch (mode.access) {
    case RawAccess::ReadOnly: flags |= O_RDONLY; break;
    case RawAccess::WriteOnly: flags |= O_WRONLY; break;
    case RawAccess::ReadWrite: flags |= O_RDWR; break;
    }
    if (mode.create) flags |= O_CREAT;
    if (mode.truncate) flags |= O_TRUNC;
    if (mode.exclusive) flags |= O_EXCL;
    if (mode.noFollow) flags |= O_NOFOLLOW;
    int fd;
    do {
        fd = ::open(path, flags, static_cast<mode_t>(mode.permissions));
    } while (fd < 0 && errno == EINTR);
    if (fd == 0) {
        // Handle 0 means "no file" to the cabinet reader's callers, so a
        // descriptor that lands there (standard input closed) is moved up.
        int moved = ::fcntl(fd, F_DUPFD_CLOEXEC, 3);
        ::close(fd);
        fd = moved;
    }
    return fd;
}

long rawRead(intptr_t handle, void* buffer, size_t count) {
    ssize_t n;
    do {
        n = ::read(static_cast<int>(handle), buffer, count);
    } while (n < 0 && errno == EINTR);
    return static_cast<long>(n);
}

long rawWrite(intptr_t handle, const void* buffer, size_t count) {
    size_t done = 0;
    const auto* p = static_cast<const uint8_t*>(buffer);
    while (done < count) {
        ssize_t n = ::write(static_cast<int>(handle), p + done, count - done);
        if (n < 0) {
            if (errno == EINTR) continue;
            return done > 0 ? static_cast<long>(done) : -1;
        }
        if (n == 0) break;
        done += static_cast<size_t>(n);
    }
    return static_cast<long>(done);
}

int rawClose(intptr_t handle) { return ::close(static_cast<int>(handle)) == 0 ? 0 : -1; }

long long rawSeek(intptr_t handle, long long offset, int origin) {
    int whence = origin == 0 ? SEEK_SET : origin == 1 ? SEEK_CUR : origin == 2 ? SEEK_END : -1;
    if (whence < 0) return -1;
    off_t r = ::lseek(static_cast<int>(handle), static_cast<off_t>(offset), whence);
    return static_cast<long long>(r);
}

bool setModificationTime(const std::string& path, long long secondsSinceEpoch) {
    struct timespec times[2];
    times[0].tv_sec = 0;
    times[0].tv_nsec = UTIME_OMIT;
    times[1].tv_sec = static_cast<time_t>(secondsSinceEpoch);
    times[1].tv_nsec = 0;
    return ::utimensat(AT_FDCWD, path.c_str(), times, AT_SYMLINK_NOFOLLOW) == 0;
}

bool clearWritePermission(const std::string& path) {
    struct stat st {};
    if (::lstat(path.c_str(), &st) != 0 || !S_ISREG(st.st_mode)) return false;
    return ::chmod(path.c_str(), st.st_mode & ~static_cast<mode_t>(S_IWUSR | S_IWGRP | S_IWOTH) & 07777) == 0;
}

bool writeNewFile(const std::string& path, std::span<const uint8_t> bytes) {
    if (::unlink(path.c_str()) != 0 && errno != ENOENT) return false;
    int fd;
    do {
        fd = ::open(path.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_NOFOLLOW | O_CLOEXEC, 0600);
    } while (fd < 0 && errno == EINTR);
    if (fd < 0) return false;
    bool ok = rawWrite(fd, bytes.data(), bytes.size()) == static_cast<long>(bytes.size());
    if (::close(fd) != 0) ok = false;
    return ok;
}

}  // namespace quell::os
