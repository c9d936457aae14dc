#include "core/command_codes.h"

#include <gtest/gtest.h>

#include <string_view>

#include "core/browser/toolbar_layout.h"
#include "core/skin/skin_entries.h"
#include "core/skin/skin_values.h"

namespace quell {
namespace {

struct NamedCode {
    int code;
    std::string_view name;
};

constexpr NamedCode kSkinKinds[] = {
    {commands::kBack, "Back"},         {commands::kForward, "Forward"},   {commands::kHome, "Home"},
    {commands::kStop, "Stop"},         {commands::kReload, "Reload"},     {commands::kPrint, "Print"},
    {commands::kExit, "Exit"},         {commands::kMinimize, "Minimize"}, {commands::kMaximize, "Maximize"},
    {commands::kFavorite, "Favorite"}, {commands::kMail, "Mail"},         {commands::kDirect, "Direct"},
    {commands::kExecute, "Execute"},   {commands::kFile, "File"},         {commands::kEdit, "Edit"},
    {commands::kView, "View"},
};

TEST(CommandCodes, SkinKindsAreTheirPositionInTheKindTable) {
    for (size_t i = 0; i < skin::kButtonKinds.size(); ++i)
        EXPECT_EQ(skin::kButtonKinds[i].commandCode, static_cast<int>(i) + 1);
}

TEST(CommandCodes, EachSkinKindNamesItsEntryStemAndLabelKeyword) {
    for (const NamedCode& kind : kSkinKinds) {
        SCOPED_TRACE(kind.name);
        ASSERT_GE(kind.code, 1);
        ASSERT_LE(kind.code, static_cast<int>(skin::kButtonKinds.size()));
        EXPECT_EQ(skin::kButtonKinds[kind.code - 1].keyStem, kind.name);
        EXPECT_EQ(skin::ActionCode(skin::ToLowerAscii(kind.name)), kind.code);
    }
}

TEST(CommandCodes, EachToolbarCodeIsTheButtonOfThatName) {
    constexpr NamedCode kToolbar[] = {
        {commands::kToolbarHome, "Home"},       {commands::kToolbarBack, "Back"},
        {commands::kToolbarForward, "Forward"}, {commands::kToolbarStop, "Stop"},
        {commands::kToolbarReload, "Reload"},   {commands::kToolbarPrint, "Print"},
        {commands::kToolbarRestore, "Restore"}, {commands::kToolbarMinimize, "Minimize"},
        {commands::kToolbarExit, "Exit"},       {commands::kToolbarFile, "File"},
        {commands::kToolbarEdit, "Edit"},       {commands::kToolbarView, "View"},
    };
    for (const NamedCode& button : kToolbar) {
        SCOPED_TRACE(button.name);
        const browser::ToolbarButtonSpec* entry = browser::FindToolbarButton(button.code);
        ASSERT_NE(entry, nullptr);
        EXPECT_EQ(entry->tooltip, button.name);
    }
    // The Go button sends its control id.
    EXPECT_EQ(commands::kGo, 126);
}

}  // namespace
}  // namespace quell
