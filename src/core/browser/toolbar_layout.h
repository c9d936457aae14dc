#pragma once
// The maximized-mode toolbar's buttons: ids, pictures, places and tooltips,
// and where the right-hand group moves when the toolbar is resized.
#include <array>
#include <string_view>

#include "core/command_codes.h"
#include "core/control_ids.h"

namespace quell::browser {

struct ToolbarButtonSpec {
    int controlId;
    int firstBitmap;  // normal picture; hover and pressed are +1 and +2
    int x, y;         // position at creation
    std::string_view tooltip;
};

inline constexpr int kToolbarId = ids::kToolbar;
inline constexpr int kToolbarHeight = 28;
inline constexpr int kToolbarComboId = 116;
inline constexpr int kGoButtonId = ids::kGoButton;
inline constexpr int kGoButtonFirstBitmap = 216;
inline constexpr std::string_view kGoButtonTooltip = "Go Orlune";
// The toolbar's background, 0x00BBGGRR.
inline constexpr unsigned kToolbarGrey = 12566463;

// Creation order of the toolbar's twelve buttons.
inline constexpr std::array<ToolbarButtonSpec, 12> kToolbarButtons = {{
    {commands::kToolbarBack, 134, 10, 1, "Back"},
    {commands::kToolbarForward, 137, 39, 1, "Forward"},
    {commands::kToolbarStop, 140, 68, 1, "Stop"},
    {commands::kToolbarReload, 143, 97, 1, "Reload"},
    {commands::kToolbarHome, 146, 126, 1, "Home"},
    {commands::kToolbarPrint, 149, 155, 1, "Print"},
    {commands::kToolbarRestore, 153, 184, 1, "Restore"},
    {commands::kToolbarMinimize, 187, 0, 0, "Minimize"},
    {commands::kToolbarExit, 178, 0, 0, "Exit"},
    {commands::kToolbarFile, 207, 230, 1, "File"},
    {commands::kToolbarEdit, 210, 259, 1, "Edit"},
    {commands::kToolbarView, 213, 288, 1, "View"},
}};

// The combo's rectangle at creation (left, top, right, bottom).
inline constexpr int kToolbarComboLeft = 200, kToolbarComboTop = 2, kToolbarComboRight = 600, kToolbarComboBottom = 300;

struct Point {
    int x = 0, y = 0;
    bool operator==(const Point&) const = default;
};

struct ToolbarRightGroup {
    Point minimize;
    Point exit;
    Point combo;
    bool operator==(const ToolbarRightGroup&) const = default;
};

// Positions after the toolbar's client width became width; sizes are kept.
ToolbarRightGroup LayoutToolbarRightGroup(int width);

// The table entry of a control id, or nullptr.
const ToolbarButtonSpec* FindToolbarButton(int controlId);

}  // namespace quell::browser
