#include "skin_layout.h"

namespace quell1 {

const std::vector<ButtonSpot>& buttonSpots() {
    // Navigation sits in one row above the address bar, grouped as
    // history (back, forward), page (stop, reload, home) and keeping
    // (print, favourite). Menus live in the crest, window buttons in the tab.
    // Moving through history and pages clicks; the other buttons are silent.
    static const std::vector<ButtonSpot> spots = {
        {"Back", "back", QRect(172, 36, 34, 34), ButtonStyle::Round, "Back", kClickSoundFile},
        {"Forward", "forward", QRect(210, 36, 34, 34), ButtonStyle::Round, "Forward", kClickSoundFile},
        {"Stop", "stop", QRect(258, 36, 34, 34), ButtonStyle::Round, "Stop loading", ""},
        {"Reload", "reload", QRect(296, 36, 34, 34), ButtonStyle::Round, "Reload this page", kClickSoundFile},
        {"Home", "home", QRect(334, 36, 34, 34), ButtonStyle::Round, "Home page", kClickSoundFile},
        {"Print", "print", QRect(382, 36, 34, 34), ButtonStyle::Round, "Print this page", ""},
        {"Favorite", "favorite", QRect(420, 36, 34, 34), ButtonStyle::Round, "Favorites", ""},
        {"Minimize", "minimize", QRect(648, 13, 22, 22), ButtonStyle::Small, "Minimize", ""},
        {"Maximize", "maximize", QRect(678, 13, 22, 22), ButtonStyle::Small, "Maximize", ""},
        {"Exit", "exit", QRect(708, 13, 22, 22), ButtonStyle::Small, "Close Quell1", ""},
        {"File", "file", QRect(360, 7, 46, 18), ButtonStyle::Menu, "File menu", ""},
        {"Edit", "edit", QRect(408, 7, 46, 18), ButtonStyle::Menu, "Edit menu", ""},
        {"View", "view", QRect(456, 7, 46, 18), ButtonStyle::Menu, "View menu", ""},
    };
    return spots;
}

const std::vector<LinkSpot>& linkSpots() {
    static const std::vector<LinkSpot> spots = {
        {"home", "Home page", "", QRect(38, 446, 112, 16)},
        {"favorite", "Favorites", "", QRect(38, 466, 112, 16)},
        {"direct", "Wikipedia", "https://wikipedia.org/", QRect(38, 486, 112, 16)},
        {"direct", "Web search", "https://duckduckgo.com/", QRect(38, 506, 112, 16)},
        {"execute", "Write a mail", "mailto:", QRect(38, 526, 112, 16)},
    };
    return spots;
}

}  // namespace quell1
