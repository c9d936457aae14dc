#include "core/startup/prepare_media_folder.h"

#include "core/os/file_system.h"

namespace quell::startup {

bool PrepareMediaFolder(const StartupPaths& paths, MessageSink& messages, const SkinUnpacker& unpack) {
    if (os::pathExists(paths.skinIniPath)) return true;

    // The per-user base folder may not exist yet; the folder beside the
    // executable always does and is never created here.
    if (paths.baseFolder != paths.executableFolder && !os::isDirectory(paths.baseFolder))
        os::createDirectories(paths.baseFolder);

    std::string media = paths.mediaFolder;
    if (media.size() > 1 && media.back() == '/') media.pop_back();
    if (os::createDirectory(media) == os::CreateDirectoryResult::Failed) {
        messages.showMessage(kCannotCreateFolderMessage);
        return false;
    }
    return unpack ? unpack(paths) : false;
}

}  // namespace quell::startup
