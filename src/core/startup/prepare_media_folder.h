#pragma once
// Decides at start-up whether the skin must be unpacked, and unpacks it.
#include <functional>
#include <string>

#include "core/message_sink.h"
#include "core/startup/startup_paths.h"

namespace quell::startup {

// "The directory cannot be created", shown when the media folder cannot be made.
inline constexpr const char* kCannotCreateFolderMessage = "ﾃﾞｨﾚｸﾄﾘを作ることができません｡";

using SkinUnpacker = std::function<bool(const StartupPaths&)>;

// True when the main window may be created: the description file exists, or
// the media folder exists or was created and unpack succeeded.
bool PrepareMediaFolder(const StartupPaths& paths, MessageSink& messages, const SkinUnpacker& unpack);

}  // namespace quell::startup
