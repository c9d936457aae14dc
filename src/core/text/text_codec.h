#pragma once
// Text decoding for files authored on Windows: skin descriptions and registry
// exports arrive as UTF-16LE, UTF-8 or the Japanese code page 932.
#include <string>
#include <string_view>

namespace quell::text {

bool isValidUtf8(std::string_view bytes);

// The bytes as UTF-8 with every ill-formed part replaced: each longest run
// that starts a sequence and cannot be completed, and each byte that starts
// none (a stray continuation byte, C0, C1, F5 to FF), becomes one U+FFFD.
// Overlong forms, surrogates and code points past U+10FFFF are ill-formed.
std::string repairUtf8(std::string_view bytes);

// UTF-8 when the bytes are valid UTF-8, otherwise read as code page 932
// (Shift-JIS); bytes that are neither are replaced by U+FFFD.
std::string decodeLegacyText(std::string_view bytes);

// The bytes read as code page 932 whatever they look like; ASCII stays as it
// is. A byte that starts no character, or a pair the code page leaves
// unassigned, becomes one U+FFFD.
std::string decodeCodePage932(std::string_view bytes);

// The byte-order mark a file's bytes start with, if any.
enum class ByteOrderMark { None, Utf8, Utf16le };
ByteOrderMark sniffByteOrderMark(std::string_view bytes);

// The bytes after their byte-order mark, as text: after a UTF-16LE mark
// converted to UTF-8, after a UTF-8 mark as they stand, without a mark
// unchanged (whatever their encoding). mark, when given, receives the mark found.
std::string textAfterByteOrderMark(std::string_view bytes, ByteOrderMark* mark = nullptr);

// Decodes UTF-7 (RFC 2152), as Windows stores Unicode text in files of its
// ANSI profile format: "+" opens base64 of UTF-16 big-endian units, closed
// by the first byte that is not base64 ("-" being absorbed), and "+-" is a
// plus sign. An unpaired surrogate becomes U+FFFD; bits left over at a
// segment's end are dropped.
std::string utf7ToUtf8(std::string_view bytes);

// Converts UTF-16LE code units (no byte-order mark) to UTF-8; an unpaired
// surrogate becomes U+FFFD.
std::string utf16leToUtf8(std::string_view bytes);

}  // namespace quell::text
