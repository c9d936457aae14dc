#pragma once
// The text of a file name as a cabinet stores it. The format keeps names as
// bytes in the code page of the machine that made the cabinet unless the
// file's attributes mark the name as UTF-8; the skins this program reads come
// from machines whose code page is 932.
#include <cstdint>
#include <optional>
#include <string>

namespace quell::cabinet {

// The stored name as UTF-8: as it stands when the attributes carry
// kAttributeNameIsUtf8, with each ill-formed part replaced by U+FFFD as a
// code page 932 name's undecodable bytes are; otherwise decoded from code
// page 932. The separator '\' is left in place.
std::optional<std::string> DecodeStoredName(const char* storedName, uint16_t attributes);

}  // namespace quell::cabinet
