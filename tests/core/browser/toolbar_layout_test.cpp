#include "core/browser/toolbar_layout.h"

#include <gtest/gtest.h>

#include <set>

namespace quell::browser {
namespace {

TEST(ToolbarLayout, LeftGroupAbutsAtPictureWidth) {
    // The first seven buttons are 29 pixels wide and sit side by side.
    for (size_t i = 1; i < 7; ++i) {
        SCOPED_TRACE(kToolbarButtons[i].tooltip);
        EXPECT_EQ(kToolbarButtons[i].x - kToolbarButtons[i - 1].x, 29);
    }
    std::set<int> ids;
    for (const ToolbarButtonSpec& b : kToolbarButtons) ids.insert(b.controlId);
    EXPECT_EQ(ids.size(), kToolbarButtons.size());
}

TEST(ToolbarLayout, FindsButtonsByControlId) {
    // The Go button beside the address bar is no toolbar button.
    EXPECT_EQ(FindToolbarButton(126), nullptr);
    // Every button's first picture and place, as the skin format defines them.
    const struct {
        int id, firstBitmap, x, y;
    } expected[] = {{110, 134, 10, 1},  {111, 137, 39, 1},  {112, 140, 68, 1},  {113, 143, 97, 1},
                    {109, 146, 126, 1}, {114, 149, 155, 1}, {117, 153, 184, 1}, {120, 187, 0, 0},
                    {121, 178, 0, 0},   {122, 207, 230, 1}, {123, 210, 259, 1}, {124, 213, 288, 1}};
    for (const auto& want : expected) {
        SCOPED_TRACE(want.id);
        const ToolbarButtonSpec* button = FindToolbarButton(want.id);
        ASSERT_NE(button, nullptr);
        EXPECT_EQ(button->firstBitmap, want.firstBitmap);
        EXPECT_EQ(button->x, want.x);
        EXPECT_EQ(button->y, want.y);
    }
}

}  // namespace
}  // namespace quell::browser
