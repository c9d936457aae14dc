#pragma once
// Packs a skin folder into a copy of the program: the folder's files as one
// cabinet, then its 4-byte little-endian length, appended to the program's
// bytes. Shared by skin pack and skin deb.
#include <string>
#include <vector>

namespace quellkit {

struct PackResult {
    bool ok = false;
    std::string error;                  // why it failed, when it did
    std::string path;                   // the program written
    std::string stem;                   // the name of the skin's description file up to its first '.'
    std::vector<std::string> warnings;  // things left out or named oddly
};

// Writes the packed program to out, or into out named after the skin when out
// is a folder. Its permissions are the program's, readable and writable by
// its owner.
PackResult packSkin(const std::string& skinDir, const std::string& program, std::string out);

}  // namespace quellkit
