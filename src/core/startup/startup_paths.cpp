#include "core/startup/startup_paths.h"

#include "core/os/file_system.h"

namespace quell::startup {

namespace {
void formBelow(StartupPaths& p, const std::string& baseFolder) {
    p.baseFolder = baseFolder;
    p.mediaFolder = baseFolder + "Media/";
    p.skinIniPath = p.mediaFolder + p.stem + ".ini";
    p.tempCabinetPath = baseFolder + "kest.tmp";
}
}  // namespace

StartupPaths FormStartupPaths(const std::string& modulePath) {
    StartupPaths p;
    p.modulePath = modulePath;
    size_t slash = modulePath.rfind('/');
    p.executableFolder = slash == std::string::npos ? std::string() : modulePath.substr(0, slash + 1);
    std::string fileName = slash == std::string::npos ? modulePath : modulePath.substr(slash + 1);
    p.stem = fileName.substr(0, fileName.find('.'));
    formBelow(p, p.executableFolder);
    return p;
}

StartupPaths RelocateToUserFolder(const StartupPaths& paths, const std::string& userDataHome) {
    StartupPaths p = paths;
    formBelow(p, userDataHome + "/quellcore/" + p.stem + "/");
    return p;
}

StartupPaths SelectStartupPaths(const std::string& modulePath, const std::string& userDataHome) {
    StartupPaths beside = FormStartupPaths(modulePath);
    std::string folder = beside.executableFolder.empty() ? std::string(".") : beside.executableFolder;
    const bool installed = folder.starts_with("/usr/");
    if (os::pathExists(beside.skinIniPath) || (!installed && os::isWritableDirectory(folder))) return beside;
    return RelocateToUserFolder(beside, userDataHome);
}

std::string PhotoFolder(const StartupPaths& paths) {
    static constexpr const char* kPhotoFile = "Photo.bmp";
    if (!os::pathExists(paths.executableFolder + kPhotoFile) && paths.baseFolder != paths.executableFolder &&
        os::pathExists(paths.baseFolder + kPhotoFile))
        return paths.baseFolder;
    return paths.executableFolder;
}

}  // namespace quell::startup
