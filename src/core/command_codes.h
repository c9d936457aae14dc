#pragma once
// The command codes a control hands to the main window's dispatcher. Skin
// buttons and text labels send their kind, 1 to 16, in the order a skin lists
// its button kinds; the maximized toolbar and the Go button send their own
// control ids.
#include "core/control_ids.h"

namespace quell::commands {

// Skin button kinds and text label actions.
inline constexpr int kBack = 1;
inline constexpr int kForward = 2;
inline constexpr int kHome = 3;
inline constexpr int kStop = 4;
inline constexpr int kReload = 5;
inline constexpr int kPrint = 6;
inline constexpr int kExit = 7;
inline constexpr int kMinimize = 8;
inline constexpr int kMaximize = 9;
// Opens the bookmark dialog and goes to the address chosen there.
inline constexpr int kFavorite = 10;
// Opens an empty mail message.
inline constexpr int kMail = 11;
// Navigates to the target of the skin's Direct entry, or a label's argument.
inline constexpr int kDirect = 12;
// Hands the target of the skin's Execute entry, or a label's argument, to the shell.
inline constexpr int kExecute = 13;
// The File, Edit and View popup menus.
inline constexpr int kFile = 14;
inline constexpr int kEdit = 15;
inline constexpr int kView = 16;

// The maximized toolbar's buttons.
inline constexpr int kToolbarHome = 109;
inline constexpr int kToolbarBack = 110;
inline constexpr int kToolbarForward = 111;
inline constexpr int kToolbarStop = 112;
inline constexpr int kToolbarReload = 113;
inline constexpr int kToolbarPrint = 114;
// Leaves the maximized mode, which only the toolbar can do.
inline constexpr int kToolbarRestore = 117;
inline constexpr int kToolbarMinimize = 120;
inline constexpr int kToolbarExit = 121;
inline constexpr int kToolbarFile = 122;
inline constexpr int kToolbarEdit = 123;
inline constexpr int kToolbarView = 124;

// The Go button opens the product page.
inline constexpr int kGo = ids::kGoButton;

}  // namespace quell::commands
