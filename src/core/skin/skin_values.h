#pragma once
// The value forms of a skin description: the "FALSE" convention, comma lists,
// rectangles, colours, file names and the derived names (start page, outline).
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

#include "core/skin/profile_file.h"

namespace quell::skin {

// The text every string read defaults to, and which therefore means "missing".
inline constexpr std::string_view kMissing = "FALSE";

struct SkinRect {
    int32_t left = -1, top = -1, right = -1, bottom = -1;
    // Only (-1,-1,-1,-1) counts as unset.
    bool isSet() const { return !(left == -1 && top == -1 && right == -1 && bottom == -1); }
    int32_t width() const { return right - left; }
    int32_t height() const { return bottom - top; }
    friend bool operator==(const SkinRect&, const SkinRect&) = default;
};

// Colour value: red in the low byte, then green, then blue; top byte 0.
using ColourValue = uint32_t;
constexpr ColourValue MakeColour(uint8_t r, uint8_t g, uint8_t b) {
    return static_cast<ColourValue>(r) | (static_cast<ColourValue>(g) << 8) | (static_cast<ColourValue>(b) << 16);
}

// Takes comma-separated fields from the front. A field ends at the next ','; when
// no ',' is left the field is empty and nothing is consumed, and remainder()
// takes whatever is left, commas included.
class ListCursor {
public:
    explicit ListCursor(std::string_view text) : m_rest(text) {}
    std::string field();
    int32_t number() { return ParseLeadingInt(field()); }
    std::string remainder() const { return std::string(m_rest); }
    int32_t remainderNumber() const { return ParseLeadingInt(m_rest); }

private:
    std::string_view m_rest;
};

// String and integer reads with the skin's defaults ("FALSE" and -1).
class SkinReader {
public:
    explicit SkinReader(const ProfileFile& file) : m_file(file) {}
    std::string ReadString(std::string_view section, std::string_view key) const {
        return m_file.ReadString(section, key, kMissing);
    }
    int32_t ReadInt(std::string_view section, std::string_view key) const { return m_file.ReadInt(section, key, -1); }
    // Key "Position" of the section as left,top,right,bottom; unset when missing.
    SkinRect ReadSkinRect(std::string_view section) const;
    // An R,G,B triple, each part's low 8 bits; 0 (black) when missing.
    ColourValue ReadSkinColour(std::string_view section, std::string_view key) const;
    const ProfileFile& file() const { return m_file; }

private:
    const ProfileFile& m_file;
};

SkinRect ParseSkinRect(std::string_view text);
ColourValue ParseColourTriple(std::string_view text);

// ASCII case conversions used where keywords are compared.
std::string ToUpperAscii(std::string_view text);
std::string ToLowerAscii(std::string_view text);

// Where the skin's files live: every name is joined below the media folder and
// looked up without regard to case when the exact name does not exist.
struct SkinLocation {
    std::string mediaFolder;  // with a trailing '/'
    std::string path(std::string_view name) const;
};

// StartPage in lower case; "quellcard.htm" becomes that file's path in the media folder.
std::string ConvertStartPage(std::string_view value, const SkinLocation& location);

// The outline file's name: the four characters from the frame bitmap name's
// first '.' are removed and ".dat" appended. nullopt when the name has no '.'
// followed by at least three characters.
std::optional<std::string> OutlineNameFor(std::string_view frameFileName);

}  // namespace quell::skin
