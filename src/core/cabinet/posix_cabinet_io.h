#pragma once
// The callback table that lets the cabinet reader use the process heap and
// POSIX files, shared by the extraction and quellkit's cabinet commands.
#include "core/cabinet/cabinet_types.h"
#include "core/os/cabinet_file_io.h"

namespace quell::cabinet {

// malloc and free for memory, the raw file calls of core/os for files.
const CabinetIo& PosixCabinetIo();

// The open flags and permission bits of CabinetIo::open as a raw open mode.
// A file opened to be created is never reached through a symbolic link, so a
// link planted at an output name cannot lead a write out of its folder.
os::RawOpenMode TranslateOpenFlags(int flags, int mode);

}  // namespace quell::cabinet
