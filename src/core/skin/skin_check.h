#pragma once
// Finds what would go wrong when a skin folder is loaded: files that are
// missing or unreadable, an outline that is missing, malformed or leaves the
// frame, list entries missing within their count, rectangles that are unset
// or leave the frame, and values the reader cuts at 99 bytes. Everything is
// read the way the main window reads it.
#include <string>
#include <vector>

namespace quell::skin {

enum class CheckSeverity { Error, Warning };

struct CheckFinding {
    CheckSeverity severity = CheckSeverity::Error;
    std::string key;      // "[Button] Back0", "[FrameBitmap] FileName", or the file for folder-level findings
    std::string problem;  // one sentence, without a trailing full stop
};

struct SkinCheckReport {
    std::string descriptionPath;  // the .ini that was checked, empty when none was found
    std::vector<CheckFinding> findings;
    int errorCount() const;
    int warningCount() const;
};

// Checks the one description file (*.ini) in folder and every file it names,
// then the folder's own entries: sub-folders, names that differ only in case
// and paths too long to unpack are errors, names that are not ASCII warnings.
SkinCheckReport CheckSkinFolder(const std::string& folder);

// Checks the description at iniPath; its folder is the media folder.
SkinCheckReport CheckSkinDescription(const std::string& iniPath);

// "error: [Button] Back0: the pressed image bt-p.bmp is missing"
std::string FormatFinding(const CheckFinding& finding);

}  // namespace quell::skin
