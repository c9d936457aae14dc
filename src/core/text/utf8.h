#pragma once
// Small UTF-8 building blocks shared by every module that writes or shortens
// text: appending one code point, and cutting a string to a byte budget
// without splitting a character.
#include <cstddef>
#include <cstdint>
#include <string>

namespace quell::utf8 {

// Appends the UTF-8 form of codePoint. A surrogate or a value above U+10FFFF
// is no character and is written as U+FFFD.
void append(std::string& out, uint32_t codePoint);

// The text cut to at most maxBytes bytes; when the cut would fall inside a
// multi-byte character, that whole character goes too.
std::string cutAtBoundary(std::string text, size_t maxBytes);

}  // namespace quell::utf8
