#pragma once
// The few file-system calls the core needs, on POSIX. Everything here reports
// failure as a value; nothing throws.
#include <cstddef>
#include <cstdint>
#include <optional>
#include <span>
#include <string>
#include <vector>

namespace quell::os {

// Reads at most maxBytes from the start of the file; nullopt when it cannot be
// opened or read, or its bytes cannot be held in memory.
std::optional<std::vector<uint8_t>> readFile(const std::string& path, size_t maxBytes = SIZE_MAX);

// The longest skin description, shortcut or registry export file read: far
// more than any real one holds, little enough to keep in memory.
inline constexpr size_t kMaxTextFileBytes = size_t{16} << 20;
// The longest MIDI file the music plays, held in memory while it plays.
inline constexpr size_t kMaxMusicFileBytes = size_t{16} << 20;

// The read call a whole-file read makes; ::read unless a test stands in for it.
using ReadCall = long (*)(int fd, void* buffer, size_t count);

// Reads a regular file whole: as many bytes as its length when it was
// opened. nullopt when it cannot be opened or read, is not a regular file, or
// fewer bytes arrive than that length, as when the file is cut short while it
// is read. Bytes added after the open are not read.
std::optional<std::vector<uint8_t>> readWholeFile(const std::string& path, ReadCall read = nullptr);

enum class CappedRead { Read, CannotRead, TooLong };

// Reads the whole file into out when it holds at most maxBytes, and says
// TooLong when it holds more. The size the file system reports is not relied
// on (a device such as /dev/zero reports none): at most maxBytes + 1 bytes are
// read. out is empty unless the result is Read.
CappedRead readFileCapped(const std::string& path, size_t maxBytes, std::vector<uint8_t>& out);

// Creates or truncates the file and writes all of bytes; false when any step fails.
bool writeFile(const std::string& path, std::span<const uint8_t> bytes);

// Writes bytes to a new file beside path, then renames it over path, so that
// a reader sees either the old content or the new, never a part of it. The
// new file is readable and writable by its owner only. False when any step
// fails; path is then unchanged and no temporary file is left.
bool replaceFile(const std::string& path, std::span<const uint8_t> bytes);

// True when anything (file or folder) exists at exactly this path.
bool pathExists(const std::string& path);
bool isDirectory(const std::string& path);
bool isRegularFile(const std::string& path);

enum class CreateDirectoryResult { Created, AlreadyExists, Failed };
CreateDirectoryResult createDirectory(const std::string& path);
// Creates the folder and any missing parents; true when it exists afterwards.
bool createDirectories(const std::string& path);

// True when the current user may create files in the folder.
bool isWritableDirectory(const std::string& path);

bool removeFile(const std::string& path);

// What tells two paths to the same file or folder apart from two copies: the
// device and the inode, after symbolic links.
struct FileIdentity {
    uint64_t device = 0;
    uint64_t inode = 0;
    auto operator<=>(const FileIdentity&) const = default;
};
std::optional<FileIdentity> fileIdentity(const std::string& path);

// The running executable's full path (/proc/self/exe), empty when unknown.
std::string modulePath();

// The value of an environment variable, empty when unset.
std::string environment(const char* name);
// $XDG_DATA_HOME, else $HOME/.local/share; no trailing slash.
std::string userDataHome();
// $XDG_CONFIG_HOME, else $HOME/.config; no trailing slash.
std::string userConfigHome();

// Finds relativeName below folder, matching each path component without
// regard to case when the exact name does not exist. '\' in the name is a
// separator. Returns folder + the name as found, or folder + the name as given
// (with '/' separators) when nothing matches.
std::string resolveCaseInsensitive(const std::string& folder, const std::string& relativeName);

}  // namespace quell::os
