#include "core/skin/skin_entries.h"

namespace quell::skin {

const std::array<ButtonKind, 16> kButtonKinds = {{
    {"Back", commands::kBack, "Back"},
    {"Forward", commands::kForward, "Forward"},
    {"Home", commands::kHome, "Home"},
    {"Stop", commands::kStop, "Stop"},
    {"Reload", commands::kReload, "Reload"},
    {"Print", commands::kPrint, "Print"},
    {"Exit", commands::kExit, "Exit"},
    {"Minimize", commands::kMinimize, "Minimize"},
    {"Maximize", commands::kMaximize, "Maximize"},
    {"Favorite", commands::kFavorite, "Favorite"},
    {"Mail", commands::kMail, "Mail"},
    {"Direct", commands::kDirect, "Direct Jump"},
    {"Execute", commands::kExecute, "Execute"},
    {"File", commands::kFile, "File"},
    {"Edit", commands::kEdit, "Edit"},
    {"View", commands::kView, "View"},
}};

ButtonEntry ParseButtonEntry(std::string_view key, std::string_view value, int32_t kind, int32_t index) {
    ListCursor list(value);
    ButtonEntry e;
    e.kind = kind;
    e.index = index;
    e.normalImage = list.field();
    e.pressedImage = list.field();
    e.hoverImage = list.field();
    e.x = list.number();
    e.y = list.number();
    e.width = list.number();
    e.height = list.number();
    e.keyColour = list.number();
    e.tooltip = list.field();
    std::string upperKey = ToUpperAscii(key);
    if (upperKey.find("DIRECT") != std::string::npos || upperKey.find("EXECUTE") != std::string::npos) {
        e.sound = list.field();
        e.target = list.remainder();
    } else {
        e.sound = list.remainder();
    }
    return e;
}

int32_t ActionCode(std::string_view keyword) {
    static constexpr std::array<std::string_view, 16> kActions = {
        "back",     "forward",  "home", "stop",   "reload",  "print", "exit", "minimize",
        "maximize", "favorite", "mail", "direct", "execute", "file",  "edit", "view"};
    std::string lower = ToLowerAscii(keyword);
    for (size_t i = 0; i < kActions.size(); ++i) {
        if (lower == kActions[i]) return static_cast<int32_t>(i + 1);
    }
    return -1;
}

TextEntry ParseTextEntry(std::string_view value) {
    ListCursor list(value);
    TextEntry e;
    e.face = list.field();
    e.normalColour = static_cast<ColourValue>(list.number());
    e.hoverColour = static_cast<ColourValue>(list.number());
    e.thirdColour = static_cast<ColourValue>(list.number());
    e.size = list.number();
    e.bold = list.number() != 0;
    e.italic = list.number() != 0;
    e.underline = list.number() != 0;
    e.x = list.number();
    e.y = list.number();
    e.width = list.number();
    e.height = list.number();
    e.keyword = list.field();
    e.action = ActionCode(e.keyword);
    if (e.action == commands::kDirect || e.action == commands::kExecute) {
        e.caption = list.field();
        e.argument = list.remainder();
    } else {
        e.caption = list.remainder();
    }
    return e;
}

PictureEntry ParsePictureEntry(std::string_view value) {
    ListCursor list(value);
    PictureEntry e;
    e.file = list.field();
    e.x = list.number();
    e.y = list.remainderNumber();
    return e;
}

std::string TargetAfterLastComma(std::string_view value) {
    size_t comma = value.rfind(',');
    if (comma == std::string_view::npos) return std::string(value);
    return std::string(value.substr(comma + 1));
}

}  // namespace quell::skin
