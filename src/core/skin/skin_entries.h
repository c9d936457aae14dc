#pragma once
// The entries of a skin's lists: buttons, text labels and pictures.
#include <array>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

#include "core/command_codes.h"
#include "core/skin/skin_values.h"

namespace quell::skin {

// The sixteen button kinds in reading order; a kind's command code is its position + 1.
struct ButtonKind {
    std::string_view keyStem;         // "Back": count key "BackNo", entries "Back0", "Back1", ...
    int32_t commandCode;              // commands::kBack .. commands::kView
    std::string_view defaultTooltip;  // used when an entry leaves its tooltip empty
};
extern const std::array<ButtonKind, 16> kButtonKinds;

struct ButtonEntry {
    int32_t kind = 0;  // command code
    int32_t index = 0;
    std::string normalImage, pressedImage, hoverImage;  // file names as written
    int32_t x = 0, y = 0, width = 0, height = 0;
    int32_t keyColour = -1;  // -1: no transparent colour
    std::string tooltip;     // as written; empty means the kind's default
    std::string sound;       // file name as written ("NULL" in any case means none)
    std::string target;      // Direct and Execute entries only
};

struct TextEntry {
    std::string face;  // empty: the label's default face
    ColourValue normalColour = 0, hoverColour = 0, thirdColour = 0;
    int32_t size = -1;
    bool bold = false, italic = false, underline = false;
    int32_t x = 0, y = 0, width = 0, height = 0;
    std::string keyword;  // the action field as written
    int32_t action = -1;  // command code, -1 for none
    std::string caption;
    std::string argument;  // "direct" and "execute" only
};

struct PictureEntry {
    std::string file;
    int32_t x = 0, y = 0;
};

// key is the entry's key ("Back0", "Direct3"): keys holding DIRECT or EXECUTE
// (after upper-casing) carry a target after the sound field.
ButtonEntry ParseButtonEntry(std::string_view key, std::string_view value, int32_t kind, int32_t index);
TextEntry ParseTextEntry(std::string_view value);
PictureEntry ParsePictureEntry(std::string_view value);

// The command code of a text entry's action keyword (after lower-casing), -1 for anything else.
int32_t ActionCode(std::string_view keyword);

// The text after the last ',' of an entry: the target a Direct or Execute
// button opens. The whole value when it holds no comma.
std::string TargetAfterLastComma(std::string_view value);

}  // namespace quell::skin
