#include "core/skin/skin_entries.h"
#include "core/skin/skin_values.h"

#include <gtest/gtest.h>

using namespace quell::skin;

TEST(SkinValues, RectanglesFollowTheListRule) {
    struct Case {
        const char* text;
        SkinRect expected;
    } cases[] = {
        {"1,2,3,4", {1, 2, 3, 4}},
        {"10,20,30", {10, 20, 0, 30}},     // the missing field is 0 and the last takes the remainder
        {"1,2,3,4,5", {1, 2, 3, 4}},       // the remainder "4,5" reads as 4
        {" 5, -6 ,+7,8x", {5, -6, 7, 8}},  // blanks, signs and trailing text
        {"a,b,c,d", {0, 0, 0, 0}},
        {"", {0, 0, 0, 0}},
        {"-1,-1,-1,-1", {-1, -1, -1, -1}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.text);
        EXPECT_EQ(ParseSkinRect(c.text), c.expected);
    }
    EXPECT_FALSE(ParseSkinRect("-1,-1,-1,-1").isSet());
    EXPECT_TRUE(ParseSkinRect("-1,-1,-1,0").isSet());
}

TEST(SkinValues, ColourTriples) {
    EXPECT_EQ(ParseColourTriple("255,128,0"), MakeColour(255, 128, 0));
    EXPECT_EQ(ParseColourTriple("255,128"), MakeColour(255, 0, 128));
    EXPECT_EQ(ParseColourTriple("256,257,-1"), MakeColour(0, 1, 255));  // only the low 8 bits count
    EXPECT_EQ(MakeColour(255, 0, 255), 16711935u);
}

TEST(SkinValues, MissingKeysGiveTheirDefaults) {
    auto file = ProfileFile::Parse(std::string_view("[WebBrowser]\nPosition=FALSE\n[StatusBar]\nFontColor=FALSE\n"));
    SkinReader reader(file);
    EXPECT_FALSE(reader.ReadSkinRect("WebBrowser").isSet());
    EXPECT_FALSE(reader.ReadSkinRect("AddressBar").isSet());
    EXPECT_EQ(reader.ReadSkinColour("StatusBar", "FontColor"), 0u);
    EXPECT_EQ(reader.ReadString("Sound", "FileName"), "FALSE");
    EXPECT_EQ(reader.ReadInt("Text", "TextNo"), -1);
}

TEST(SkinValues, LowerCaseFalseIsAValue) {
    auto file = ProfileFile::Parse(std::string_view("[WebBrowser]\nPosition=false\n"));
    EXPECT_EQ(SkinReader(file).ReadSkinRect("WebBrowser"), (SkinRect{0, 0, 0, 0}));
}

TEST(SkinValues, OutlineNameRemovesFourCharactersFromTheFirstDot) {
    EXPECT_EQ(OutlineNameFor("Quell1.bmp"), "Quell1.dat");
    EXPECT_EQ(OutlineNameFor("sub\\frame.bmp"), "sub\\frame.dat");
    EXPECT_EQ(OutlineNameFor("a.b.bmp"), "amp.dat");
    EXPECT_EQ(OutlineNameFor("frame.bmpx"), "framex.dat");
    EXPECT_EQ(OutlineNameFor("frame.bm"), std::nullopt);
    EXPECT_EQ(OutlineNameFor("frame"), std::nullopt);
}

TEST(SkinValues, StartPageConversion) {
    SkinLocation location{"/app/Media/"};
    EXPECT_EQ(ConvertStartPage("QUELLCARD.HTM", location), "/app/Media/quellcard.htm");
    EXPECT_EQ(ConvertStartPage("http://Example.COM/Page", location), "http://example.com/page");
}

TEST(SkinEntries, ButtonEntryFields) {
    ButtonEntry b = ParseButtonEntry("Back0", "bt1-1.bmp,bt1-3.bmp,bt1-2.bmp,555,51,30,30,16711935,Go back,NULL", 1, 0);
    EXPECT_EQ(b.normalImage, "bt1-1.bmp");
    EXPECT_EQ(b.pressedImage, "bt1-3.bmp");
    EXPECT_EQ(b.hoverImage, "bt1-2.bmp");
    EXPECT_EQ(b.x, 555);
    EXPECT_EQ(b.y, 51);
    EXPECT_EQ(b.width, 30);
    EXPECT_EQ(b.height, 30);
    EXPECT_EQ(b.keyColour, 16711935);
    EXPECT_EQ(b.tooltip, "Go back");
    EXPECT_EQ(b.sound, "NULL");
    EXPECT_EQ(b.target, "");
}

TEST(SkinEntries, OnlyDirectAndExecuteKeysCarryATarget) {
    const char* value = "a.bmp,b.bmp,c.bmp,1,2,3,4,-1,,snd.wav,http://example.com/a,b";
    ButtonEntry direct = ParseButtonEntry("direct2", value, 12, 2);
    EXPECT_EQ(direct.sound, "snd.wav");
    EXPECT_EQ(direct.target, "http://example.com/a,b");
    EXPECT_EQ(direct.keyColour, -1);
    EXPECT_EQ(direct.tooltip, "");
    ButtonEntry execute = ParseButtonEntry("Execute0", value, 13, 0);
    EXPECT_EQ(execute.target, "http://example.com/a,b");
    ButtonEntry home = ParseButtonEntry("Home0", value, 3, 0);
    EXPECT_EQ(home.sound, "snd.wav,http://example.com/a,b");
    EXPECT_EQ(home.target, "");
    EXPECT_EQ(TargetAfterLastComma(value), "b");
}

TEST(SkinEntries, TextEntryActionDecidesTheCaption) {
    const char* tail = ",0,255,0,10,1,0,1,5,6,70,20,";
    TextEntry direct = ParseTextEntry(std::string("Arial") + tail + "Direct,Home page,http://example.com/");
    EXPECT_EQ(direct.face, "Arial");
    EXPECT_EQ(direct.hoverColour, 255u);
    EXPECT_EQ(direct.size, 10);
    EXPECT_TRUE(direct.bold);
    EXPECT_FALSE(direct.italic);
    EXPECT_TRUE(direct.underline);
    EXPECT_EQ(direct.x, 5);
    EXPECT_EQ(direct.height, 20);
    EXPECT_EQ(direct.action, 12);
    EXPECT_EQ(direct.caption, "Home page");
    EXPECT_EQ(direct.argument, "http://example.com/");

    TextEntry back = ParseTextEntry(std::string("Arial") + tail + "back,Home page,http://example.com/");
    EXPECT_EQ(back.action, 1);
    EXPECT_EQ(back.caption, "Home page,http://example.com/");
    EXPECT_EQ(back.argument, "");

    // Without a comma after it the keyword is no action: it becomes the caption.
    TextEntry bare = ParseTextEntry(std::string("Arial") + tail + "home");
    EXPECT_EQ(bare.action, -1);
    EXPECT_EQ(bare.caption, "home");

    TextEntry unknown = ParseTextEntry(std::string("") + tail + "jump,Caption");
    EXPECT_EQ(unknown.action, -1);
    EXPECT_EQ(unknown.caption, "Caption");
    EXPECT_EQ(unknown.face, "");
}

TEST(SkinEntries, ActionKeywordsIgnoreCase) {
    EXPECT_EQ(ActionCode("BACK"), 1);
    EXPECT_EQ(ActionCode("View"), 16);
    EXPECT_EQ(ActionCode("favorite"), 10);
    EXPECT_EQ(ActionCode(""), -1);
    EXPECT_EQ(ActionCode("back "), -1);
}

TEST(SkinEntries, PictureEntry) {
    PictureEntry p = ParsePictureEntry("anim.gif,12,34");
    EXPECT_EQ(p.file, "anim.gif");
    EXPECT_EQ(p.x, 12);
    EXPECT_EQ(p.y, 34);
}
