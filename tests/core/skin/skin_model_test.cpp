#include "core/skin/skin_model.h"

#include <gtest/gtest.h>

using namespace quell::skin;

namespace {
SkinModel modelOf(const std::string& text) {
    return ReadSkinModel(ProfileFile::Parse(std::string_view(text)), SkinLocation{"/app/Media/"});
}
}  // namespace

TEST(SkinModel, AKeyWrittenFalseIsAbsent) {
    SkinModel written = modelOf(
        "[FrameBitmap]\nFileName=FALSE\n[WebBrowser]\nStartPage=FALSE\n[AddressBar]\nPosition=FALSE\n"
        "[StatusBar]\nPosition=FALSE\n[Sound]\nFileName=FALSE\n");
    SkinModel absent = modelOf("");
    EXPECT_FALSE(written.hasFrame());
    EXPECT_FALSE(absent.hasFrame());
    EXPECT_TRUE(written.opensHomePage());
    EXPECT_TRUE(absent.opensHomePage());
    EXPECT_EQ(DescribeSkinModel(written), DescribeSkinModel(absent));
}

TEST(SkinModel, CountsOfZeroOrLessGiveEmptyListsWithoutMessages) {
    for (const char* count : {"0", "-3", "none"}) {
        SCOPED_TRACE(count);
        SkinModel m = modelOf(std::string("[Text]\nTextNo=") + count + "\n[Button]\nBackNo=" + count +
                              "\n[AnimationGif]\nNumberOfGif=" + count + "\n");
        EXPECT_TRUE(m.texts.empty());
        EXPECT_TRUE(m.buttons.empty());
        EXPECT_TRUE(m.pictures.empty());
        EXPECT_TRUE(m.missingTexts.empty());
        EXPECT_TRUE(m.missingButtons.empty());
        EXPECT_TRUE(m.missingPictures.empty());
    }
}

TEST(SkinModel, AMissingEntryStopsOnlyItsOwnList) {
    SkinModel m = modelOf(
        "[Button]\nBackNo=2\nBack0=a,b,c,1,2,3,4,-1,,NULL\nHomeNo=1\nHome0=a,b,c,1,2,3,4,-1,,NULL\n"
        "[AnimationGif]\nNumberOfGif=3\nGif0=x.gif,1,2\nGif2=z.gif,5,6\n"
        "[Text]\nTextNo=2\n");
    ASSERT_EQ(m.buttons.size(), 2u);
    EXPECT_EQ(m.buttons[0].kind, 1);
    EXPECT_EQ(m.buttons[1].kind, 3);
    ASSERT_EQ(m.missingButtons.size(), 1u);
    EXPECT_EQ(m.missingButtons[0].key, "Back1");
    EXPECT_EQ(m.missingButtons[0].message, "");

    ASSERT_EQ(m.pictures.size(), 1u);  // Gif2 is never read once Gif1 is missing
    ASSERT_EQ(m.missingPictures.size(), 1u);
    EXPECT_EQ(m.missingPictures[0].key, "Gif1");

    ASSERT_EQ(m.missingTexts.size(), 1u);
    EXPECT_EQ(m.missingTexts[0].key, "Text0");
    EXPECT_EQ(m.missingTexts[0].message, "Failure in getting information of Text control.");
}

TEST(SkinModel, LongEntriesAreCutBeforeParsing) {
    // 120 characters: the last 21 are lost, so the sound name is cut short.
    std::string entry = "n.bmp,p.bmp,h.bmp,1,2,3,4,-1,tip,";
    entry += std::string(120 - entry.size(), 's');
    ASSERT_EQ(entry.size(), 120u);
    SkinModel m = modelOf("[Button]\nBackNo=1\nBack0=" + entry + "\n");
    ASSERT_EQ(m.buttons.size(), 1u);
    EXPECT_EQ(m.buttons[0].sound.size(), 99u - 33u);
}

TEST(SkinModel, ElementsAndTheirKeywords) {
    SkinModel m = modelOf(
        "[FrameBitmap]\nFileName=Quell1.bmp\n"
        "[WebBrowser]\nPosition=10,20,790,500\nStartPage=QuellCard.htm\n"
        "[AddressBar]\nPosition=5,5,300,25\n"
        "[StatusBar]\nPosition=1,2,3,4\nFontColor=255,0,0\n"
        "[ProgressBar]\nPosition=1,1,101,11\nGradient=true\nDirection=vertical\nSmooth=yes\nStartColor=255,128\n"
        "[NavigationGif]\nPosition=7,8,-1,-1\n"
        "[Sound]\nFileName=tune.mid\nRepeat=on\n");
    EXPECT_EQ(m.outlineName, "Quell1.dat");
    EXPECT_EQ(m.browserRect, (SkinRect{10, 20, 790, 500}));
    EXPECT_EQ(m.startPage, "/app/Media/quellcard.htm");
    EXPECT_EQ(m.addressFont, "FALSE");  // a missing address font is the face "FALSE" itself
    EXPECT_EQ(m.addressFontSize, -1);
    EXPECT_TRUE(m.hasStatusBar);
    EXPECT_EQ(m.statusFont, "");  // a missing status font is the default face
    EXPECT_EQ(m.statusColour, MakeColour(255, 0, 0));
    EXPECT_TRUE(m.progressGradient);
    EXPECT_TRUE(m.progressVertical);
    EXPECT_FALSE(m.progressSmooth);
    EXPECT_EQ(m.progressStart, MakeColour(255, 0, 128));
    EXPECT_EQ(m.navigationGifFile, "FALSE");
    EXPECT_EQ(m.soundFile, "tune.mid");
    EXPECT_TRUE(m.soundRepeat);
}

TEST(SkinModel, EmptyMusicNameMeansNoMusic) {
    EXPECT_EQ(ReadSkinMusic(ProfileFile::Parse(std::string_view("[Sound]\nFileName=\n"))).file, "");
    EXPECT_FALSE(ReadSkinMusic(ProfileFile::Parse(std::string_view("[Sound]\nFileName=a.mid\nRepeat=once\n"))).repeat);
}

TEST(SkinModel, DescriptionListsElementsInReadingOrder) {
    SkinModel m = modelOf(
        "[FrameBitmap]\nFileName=f.bmp\n[Button]\nHomeNo=1\nHome0=a,b,c,1,2,3,4,-1,,NULL\nBackNo=1\n"
        "Back0=a,b,c,1,2,3,4,255,,NULL\n[Text]\nTextNo=1\nText0=,0,0,0,-1,0,0,0,1,2,3,4,,Hello\n");
    std::string d = DescribeSkinModel(m);
    size_t back = d.find("button Back0");
    size_t home = d.find("button Home0");
    size_t text = d.find("text Text0");
    ASSERT_NE(back, std::string::npos);
    ASSERT_NE(home, std::string::npos);
    ASSERT_NE(text, std::string::npos);
    EXPECT_LT(back, home);
    EXPECT_LT(home, text);
    EXPECT_NE(d.find("tooltip \"Home\""), std::string::npos);
    EXPECT_NE(d.find("caption \"Hello\""), std::string::npos);
}
