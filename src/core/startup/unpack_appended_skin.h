#pragma once
// Copies the cabinet appended to the executable into the temporary cabinet
// file and unpacks it into the MediaFolder.
#include "core/os/file_system.h"
#include "core/startup/startup_paths.h"

namespace quell::startup {

// Reads paths.modulePath whole (a read that ends short of the length the
// file had when opened fails the unpack), writes paths.tempCabinetPath (never through a
// symbolic link planted at that name), extracts into paths.mediaFolder and
// deletes the temporary file on every path. True when the extraction succeeded.
bool UnpackAppendedSkin(const StartupPaths& paths, os::ReadCall read = nullptr);

}  // namespace quell::startup
