#include "core/skin/layout_map.h"

#include <gtest/gtest.h>
#include <unistd.h>

#include <filesystem>
#include <fstream>
#include <string>

#include "core/image/bitmap_writer.h"
#include "core/image/gif_encoder.h"
#include "core/image/raster.h"

namespace fs = std::filesystem;
using quell::skin::LayoutMap;
using quell::skin::LayoutSizes;
using quell::skin::MapElement;
using quell::skin::OutlinePoint;
using quell::skin::SkinModel;

namespace {

// A 200x100 frame whose outline is a rectangle inset by 10 pixels, with one
// element of each kind placed inside it, clear of the others.
SkinModel insideModel() {
    SkinModel m;
    m.frameFile = "frame.bmp";
    m.browserRect = {60, 30, 190, 80};
    m.addressBarRect = {60, 12, 190, 28};
    m.hasStatusBar = true;
    m.statusRect = {60, 82, 140, 89};
    m.progressRect = {150, 82, 188, 88};
    m.navigationGifRect = {12, 12, -1, -1};
    m.pictures.push_back({"spin.gif", 12, 40});
    quell::skin::ButtonEntry back;
    back.kind = quell::commands::kBack;
    back.index = 0;
    back.x = 30;
    back.y = 12;
    back.width = 10;
    back.height = 10;
    m.buttons.push_back(back);
    quell::skin::TextEntry text;
    text.x = 12;
    text.y = 60;
    text.width = 30;
    text.height = 10;
    m.texts.push_back(text);
    return m;
}

const std::vector<OutlinePoint> kInset = {{10, 10}, {190, 10}, {190, 90}, {10, 90}};

LayoutSizes eightPixelPictures() {
    LayoutSizes sizes;
    sizes.pictureSize = [](const std::string&) { return std::optional<quell::skin::PictureSize>({8, 8}); };
    return sizes;
}

LayoutMap build(const SkinModel& m, const LayoutSizes& sizes = eightPixelPictures()) {
    return quell::skin::BuildLayoutMap(m, quell::skin::SkinLocation{"/skin/"}, 200, 100, kInset, sizes);
}

const MapElement& element(const LayoutMap& map, const std::string& key) {
    for (const MapElement& e : map.elements)
        if (e.key == key) return e;
    static const MapElement none;
    ADD_FAILURE() << "no element " << key;
    return none;
}

}  // namespace

TEST(LayoutMap, PlacesEveryElementInCreationOrder) {
    LayoutSizes sizes = eightPixelPictures();
    sizes.photo = quell::skin::PictureSize{20, 30};
    const LayoutMap map = build(insideModel(), sizes);
    std::string keys;
    for (const MapElement& e : map.elements) keys += std::to_string(e.number) + " " + e.key + "\n";
    EXPECT_EQ(keys,
              "1 browser\n2 gobutton\n3 addressbar\n4 statusbar\n5 progress\n6 navigationgif\n7 picture Gif0\n"
              "8 button Back0\n9 text Text0\n10 photo\n");
    // The Go button's picture at the bar's corner, the field 41 pixels on;
    // pictures take their first image's size; the Photo sits at 21,34.
    EXPECT_EQ(element(map, "gobutton").rect, (quell::skin::SkinRect{60, 12, 100, 30}));
    EXPECT_EQ(element(map, "addressbar").rect, (quell::skin::SkinRect{101, 12, 190, 28}));
    EXPECT_EQ(element(map, "navigationgif").rect, (quell::skin::SkinRect{12, 12, 20, 20}));
    EXPECT_EQ(element(map, "photo").rect, (quell::skin::SkinRect{21, 34, 41, 64}));
}

TEST(LayoutMap, MarksWhatLeavesTheFrameOrTheOutlineAndWhatOverlaps) {
    struct Case {
        const char* name;
        void (*change)(SkinModel&);
        const char* key;
        bool outsideFrame, outsideOutline;
        std::vector<int> overlaps;
    };
    const Case cases[] = {
        {"inside", [](SkinModel&) {}, "button Back0", false, false, {}},
        {"past the right edge", [](SkinModel& m) { m.buttons[0].x = 195; }, "button Back0", true, true, {}},
        {"left of the frame", [](SkinModel& m) { m.texts[0].x = -5; }, "text Text0", true, true, {}},
        {"in the frame, outside the outline",
         [](SkinModel& m) { m.buttons[0].y = 2; },
         "button Back0",
         false,
         true,
         {}},
        // The Go button ends at 100 and the field begins at 101; a button at
        // 95 lands on both.
        {"on the Go button and the field",
         [](SkinModel& m) { m.buttons[0].x = 95; },
         "button Back0",
         false,
         false,
         {2, 3}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        SkinModel m = insideModel();
        c.change(m);
        const LayoutMap map = build(m);
        const MapElement& e = element(map, c.key);
        EXPECT_EQ(e.outsideFrame, c.outsideFrame);
        EXPECT_EQ(e.outsideOutline, c.outsideOutline);
        EXPECT_EQ(e.overlaps, c.overlaps);
        for (const MapElement& other : map.elements) {
            if (other.key != c.key && other.key != "gobutton" && other.key != "addressbar") {
                EXPECT_FALSE(other.marked()) << other.key;
            }
        }
    }
}

TEST(LayoutMap, LegendListsEachElementAndEachFindingOnce) {
    SkinModel m = insideModel();
    m.buttons[0].x = 95;
    m.texts[0].x = 195;
    const std::string legend = quell::skin::FormatLayoutLegend(build(m));
    EXPECT_NE(legend.find("8 button Back0 95,12,105,22 overlaps:2,3\n"), std::string::npos) << legend;
    EXPECT_NE(legend.find("9 text Text0 195,60,225,70 outside-frame outside-outline\n"), std::string::npos) << legend;
    // Each overlapping pair once, from its lower number.
    EXPECT_NE(legend.find("findings: 4\n2 gobutton: overlaps 8 button Back0\n3 addressbar: overlaps 8 button Back0\n"
                          "9 text Text0: reaches outside the 200x100 frame\n9 text Text0: is not wholly inside the "
                          "outline\n"),
              std::string::npos)
        << legend;
}

TEST(LayoutMap, UnreadablePictureHasNoSizeAndIsAFinding) {
    LayoutSizes sizes;
    sizes.pictureSize = [](const std::string&) { return std::optional<quell::skin::PictureSize>(); };
    const LayoutMap map = build(insideModel(), sizes);
    EXPECT_FALSE(element(map, "picture Gif0").sizeKnown);
    const std::string legend = quell::skin::FormatLayoutLegend(map);
    EXPECT_NE(legend.find("7 picture Gif0 unknown-size\n"), std::string::npos) << legend;
    EXPECT_NE(legend.find("7 picture Gif0: its picture cannot be read, so its size is unknown\n"), std::string::npos);
}

TEST(LayoutMap, DrawsOutlineRectanglesAndNumbersOnlyWhereTheyLie) {
    SkinModel m;
    m.frameFile = "frame.bmp";
    m.browserRect = {60, 30, 190, 80};
    const LayoutMap map = build(m, LayoutSizes{});
    quell::image::PixelImage canvas = quell::image::MakeFilledImage(200, 100, 0);
    quell::skin::DrawLayoutMap(map, canvas);
    EXPECT_NE(canvas.at(100, 10), 0u) << "the outline's top edge";
    EXPECT_NE(canvas.at(120, 79), 0u) << "the browser's bottom edge";
    EXPECT_NE(canvas.at(61, 31), 0u) << "the number box at the browser's corner";
    EXPECT_EQ(canvas.at(120, 50), 0u) << "inside the browser's rectangle";
    EXPECT_EQ(canvas.at(5, 50), 0u) << "outside the outline";
}

TEST(LayoutMap, LoadsSizesFromTheSkinFolder) {
    const fs::path dir = fs::temp_directory_path() / ("quell-layout-map-" + std::to_string(::getpid()));
    fs::remove_all(dir);
    fs::create_directories(dir);
    auto write = [&dir](const std::string& name, const std::vector<uint8_t>& bytes) {
        std::ofstream out(dir / name, std::ios::binary);
        out.write(reinterpret_cast<const char*>(bytes.data()), static_cast<std::streamsize>(bytes.size()));
    };
    write("frame.bmp", quell::image::EncodeBitmap24(quell::image::MakeFilledImage(200, 100, 0xFF336699u)));
    write("frame.dat", quell::skin::EncodeOutline(kInset));
    quell::image::GifFile gif;
    gif.globalColours = {0x000000, 0xFFFFFF};
    quell::image::GifFrame frame;
    frame.width = 7;
    frame.height = 5;
    frame.indices.assign(35, 1);
    gif.frames.push_back(frame);
    write("spin.gif", quell::image::EncodeGif(gif));
    write("Photo.bmp", quell::image::EncodeBitmap24(quell::image::MakeFilledImage(20, 30, 0xFF000000u)));
    const std::string ini =
        "[FrameBitmap]\nFileName=frame.bmp\n[AnimationGif]\nNumberOfGif=2\nGif0=spin.gif,12,40\n"
        "Gif1=gone.gif,30,40\n";
    write("Test.ini", std::vector<uint8_t>(ini.begin(), ini.end()));

    const quell::skin::LoadedLayoutMap loaded =
        quell::skin::LoadLayoutMap((dir / "Test.ini").string(), dir.string() + "/");
    EXPECT_EQ(loaded.error, "");
    EXPECT_EQ(loaded.frame.width, 200);
    EXPECT_EQ(loaded.map.outline, kInset);
    const std::string legend = quell::skin::FormatLayoutLegend(loaded.map);
    EXPECT_NE(legend.find("1 picture Gif0 12,40,19,45\n2 picture Gif1 unknown-size\n3 photo 21,34,41,64\n"),
              std::string::npos)
        << legend;

    fs::remove(dir / "frame.bmp");
    EXPECT_EQ(quell::skin::LoadLayoutMap((dir / "Test.ini").string(), dir.string() + "/").error,
              "the frame bitmap frame.bmp cannot be loaded");
    fs::remove_all(dir);
}
