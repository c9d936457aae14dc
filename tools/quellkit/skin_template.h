#pragma once
// The small working skin `quellkit skin new` writes: a 640x480 frame with its
// outline, the Back, Forward, Home, Stop, Reload, Minimize and Exit buttons in
// three states each, an address bar, the browser, the status text and a start
// page. Every file is drawn or written here, so the skin belongs to whoever
// starts from it.
#include <cstdint>
#include <string>
#include <vector>

namespace quellkit {

struct SkinFile {
    std::string name;
    std::vector<uint8_t> bytes;
};

// The files of a skin whose description is NAME.ini; the name has been checked
// with IsUsableSkinName.
std::vector<SkinFile> MakeNewSkin(const std::string& name);

// A name the program can carry: it becomes the packed program's name, the
// text up to the first '.', and the package's name in lower case, so it is
// ASCII letters and digits (a letter first), '-' and '_', at most 64 bytes.
bool IsUsableSkinName(const std::string& name);

}  // namespace quellkit
