#include "core/startup/unpack_appended_skin.h"

#include <cstdint>
#include <optional>
#include <span>

#include "core/cabinet/extract_cabinet.h"
#include "core/os/cabinet_file_io.h"
#include "core/os/file_system.h"

namespace quell::startup {
namespace {

// The cabinet bytes in front of the 4-byte little-endian length trailer, or
// nothing when the trailer points before the start of the file.
std::optional<std::span<const uint8_t>> appendedCabinet(std::span<const uint8_t> file) {
    if (file.size() < 4) return std::nullopt;
    const uint8_t* t = file.data() + file.size() - 4;
    const uint64_t length = static_cast<uint64_t>(t[0]) | static_cast<uint64_t>(t[1]) << 8 |
                            static_cast<uint64_t>(t[2]) << 16 | static_cast<uint64_t>(t[3]) << 24;
    if (length > file.size() - 4) return std::nullopt;
    return file.subspan(file.size() - 4 - length, length);
}

}  // namespace

bool UnpackAppendedSkin(const StartupPaths& paths) {
    const std::optional<std::vector<uint8_t>> file = os::readFile(paths.modulePath);
    if (!file) return false;
    const std::optional<std::span<const uint8_t>> cabinet = appendedCabinet(*file);
    if (!cabinet) return false;
    const bool written = os::writeNewFile(paths.tempCabinetPath, *cabinet);
    const bool extracted = written && cabinet::ExtractCabinet(paths.tempCabinetPath, paths.mediaFolder);
    // writeNewFile unlinked whatever stood at the name first, so what is there
    // now is our own file (or nothing).
    os::removeFile(paths.tempCabinetPath);
    return extracted;
}

}  // namespace quell::startup
