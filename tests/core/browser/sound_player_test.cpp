#include "core/browser/sound_player.h"

#include <gtest/gtest.h>

namespace quell::browser {
namespace {

TEST(SoundPlayer, NullFileNameNamesNoSoundInAnyCase) {
    struct Case {
        const char* path;
        bool none;
    } cases[] = {
        {"C:\\Skin\\Media\\NULL", true}, {"/skin/Media/null", true},       {"/skin/Media\\Null", true}, {"NULL", true},
        {"/skin/NULL.wav", false},       {"/skin/Media/click.wav", false}, {"/NULL/click.wav", false},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.path);
        EXPECT_EQ(NamesNoSound(c.path), c.none);
    }
}

}  // namespace
}  // namespace quell::browser
