#pragma once
// The paths the program derives from its own location at start-up.
#include <string>

namespace quell::startup {

struct StartupPaths {
    std::string modulePath;        // the executable's full path
    std::string executableFolder;  // up to and including the last '/'; empty when there is none
    std::string stem;              // the file name up to its first '.'
    std::string baseFolder;        // the folder that holds Media/ and kest.tmp, with a trailing '/'
    std::string mediaFolder;       // baseFolder + "Media/"
    std::string skinIniPath;       // mediaFolder + stem + ".ini"
    std::string tempCabinetPath;   // baseFolder + "kest.tmp"
};

// Forms every path with the executable's own folder as the base folder.
StartupPaths FormStartupPaths(const std::string& modulePath);

// The same paths with the per-user folder <userDataHome>/quellcore/<stem>/ as the base.
StartupPaths RelocateToUserFolder(const StartupPaths& paths, const std::string& userDataHome);

// The paths the program uses: beside the executable when the skin is already
// there or the folder is writable, otherwise in the per-user folder. A program
// installed below /usr counts as not writable even for root, since that tree
// belongs to the package manager and is shared by every user.
StartupPaths SelectStartupPaths(const std::string& modulePath, const std::string& userDataHome);

// The folder, with its trailing '/', that holds the Photo picture: the
// executable's folder when Photo.bmp is there, else the per-user base folder
// when it is there, else the executable's folder again (whose missing file is
// then what the program reports).
std::string PhotoFolder(const StartupPaths& paths);

}  // namespace quell::startup
