#pragma once
// The whole skin description as the main window reads it, in reading order.
#include <string>
#include <vector>

#include "core/skin/skin_entries.h"
#include "core/skin/skin_values.h"

namespace quell::skin {

inline constexpr std::string_view kTextEntryMessage = "Failure in getting information of Text control.";

// A list entry that was missing within its count: the message shown for it,
// after which that list is not read further.
struct MissingEntry {
    std::string key;      // "Gif2", "Back1", "Text0"
    std::string message;  // what the user is shown (possibly empty)
};

struct SkinModel {
    // [FrameBitmap]
    std::string frameFile;  // "FALSE" when missing
    bool hasFrame() const { return frameFile != kMissing; }
    std::optional<std::string> outlineName;
    // [WebBrowser]
    SkinRect browserRect;
    std::string startPage;  // converted; empty or "FALSE" opens the home page
    bool opensHomePage() const { return startPage.empty() || startPage == kMissing; }
    // [AddressBar]
    SkinRect addressBarRect;
    std::string addressFont;  // "FALSE" itself when missing
    int32_t addressFontSize = -1;
    // [StatusBar]
    bool hasStatusBar = false;
    SkinRect statusRect;
    std::string statusFont;  // empty when missing
    int32_t statusFontSize = -1;
    ColourValue statusColour = 0;
    // [ProgressBar]
    SkinRect progressRect;
    bool progressVertical = false, progressSmooth = false, progressGradient = false;
    ColourValue progressStart = 0, progressEnd = 0, progressBack = 0;
    // [NavigationGif]
    SkinRect navigationGifRect;
    std::string navigationGifFile;  // "FALSE" when missing
    // Lists
    std::vector<PictureEntry> pictures;
    std::vector<ButtonEntry> buttons;  // kinds in reading order
    std::vector<TextEntry> texts;
    std::vector<MissingEntry> missingPictures;  // at most one each: reading stops there
    std::vector<MissingEntry> missingButtons;   // at most one per kind
    std::vector<MissingEntry> missingTexts;
    // [Sound]
    std::string soundFile;  // empty when there is no music
    bool soundRepeat = false;
};

SkinModel ReadSkinModel(const ProfileFile& file, const SkinLocation& location);

// The [Sound] keys alone, as the music player reads them when the window is created.
struct SkinMusic {
    std::string file;  // empty: no music
    bool repeat = false;
};
SkinMusic ReadSkinMusic(const ProfileFile& file);

// One element a line, in reading order; the format quellkit prints.
std::string DescribeSkinModel(const SkinModel& model);

}  // namespace quell::skin
