#include "core/startup/unpack_appended_skin.h"

#include <cstdint>
#include <optional>
#include <span>

#include "core/cabinet/extract_cabinet.h"
#include "core/os/cabinet_file_io.h"
#include "core/os/file_system.h"
#include "core/startup/appended_package.h"

namespace quell::startup {

bool UnpackAppendedSkin(const StartupPaths& paths, os::ReadCall read) {
    const std::optional<std::vector<uint8_t>> file = os::readWholeFile(paths.modulePath, read);
    if (!file) return false;
    const std::optional<std::span<const uint8_t>> cabinet = FindAppendedCabinet(*file);
    if (!cabinet) return false;
    const bool written = os::writeNewFile(paths.tempCabinetPath, *cabinet);
    const bool extracted = written && cabinet::ExtractCabinet(paths.tempCabinetPath, paths.mediaFolder);
    // writeNewFile unlinked whatever stood at the name first, so what is there
    // now is our own file (or nothing).
    os::removeFile(paths.tempCabinetPath);
    return extracted;
}

}  // namespace quell::startup
