#pragma once
// The control ids of the main window's children. Code that creates a child
// and code that looks one up both name it from here.
namespace quell::ids {

inline constexpr int kBrowser = 101;
inline constexpr int kAddressBar = 102;
inline constexpr int kStandardProgress = 103;
inline constexpr int kGradientProgress = 104;
inline constexpr int kToolbar = 115;
inline constexpr int kToolbarAddressBar = 116;
inline constexpr int kStatusText = 125;
inline constexpr int kGoButton = 126;
inline constexpr int kMusicWindow = 128;
inline constexpr int kPhoto = 129;
// Every animated picture and the busy animation share one id.
inline constexpr int kAnimator = 2444;
// Skin buttons and text labels count up from here, the first one taking 1025.
inline constexpr int kFirstCountedId = 1024;

}  // namespace quell::ids
