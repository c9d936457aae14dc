#include "core/browser/toolbar_layout.h"

#include <gtest/gtest.h>

#include <set>

#include "core/browser/sound_player.h"

namespace quell::browser {
namespace {

TEST(ToolbarLayout, RightGroupAtWidth1024) {
    const ToolbarRightGroup g = LayoutToolbarRightGroup(1024);
    EXPECT_EQ(g.minimize, (Point{984, 9}));
    EXPECT_EQ(g.exit, (Point{1002, 9}));
    EXPECT_EQ(g.combo, (Point{574, 2}));
}

TEST(ToolbarLayout, LeftGroupAbutsAtPictureWidth) {
    // The first seven buttons are 29 pixels wide and sit side by side.
    for (size_t i = 1; i < 7; ++i) {
        SCOPED_TRACE(kToolbarButtons[i].tooltip);
        EXPECT_EQ(kToolbarButtons[i].x - kToolbarButtons[i - 1].x, 29);
    }
    std::set<int> ids;
    for (const ToolbarButtonSpec& b : kToolbarButtons)
        ids.insert(b.controlId);
    EXPECT_EQ(ids.size(), kToolbarButtons.size());
}

TEST(ToolbarLayout, FindsButtonsByControlId) {
    ASSERT_NE(FindToolbarButton(109), nullptr);
    EXPECT_EQ(FindToolbarButton(109)->tooltip, "Home");
    EXPECT_EQ(FindToolbarButton(109)->firstBitmap, 146);
    EXPECT_EQ(FindToolbarButton(117)->tooltip, "Restore");
    EXPECT_EQ(FindToolbarButton(121)->firstBitmap, 178);
    EXPECT_EQ(FindToolbarButton(126), nullptr);
}

TEST(SoundPlayer, NullFileNameNamesNoSoundInAnyCase) {
    struct Case {
        const char* path;
        bool none;
    } cases[] = {
        {"C:\\Skin\\Media\\NULL", true}, {"/skin/Media/null", true}, {"/skin/Media\\Null", true},
        {"NULL", true},                  {"/skin/NULL.wav", false},  {"/skin/Media/click.wav", false},
        {"/NULL/click.wav", false},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.path);
        EXPECT_EQ(NamesNoSound(c.path), c.none);
    }
}

}  // namespace
}  // namespace quell::browser
