#pragma once
// Where every element of a skin lands on its frame: the rectangles the main
// window gives its browser, address bar and Go button, status text, progress
// bar, busy animation, Photo picture, pictures, buttons and text labels, each
// numbered in creation order, with the rectangles that leave the frame or the
// outline and the controls that overlap marked. Both the layout map quellkit
// draws and the skin preview's overlay are made from it.
#include <cstdint>
#include <functional>
#include <optional>
#include <string>
#include <vector>

#include "core/image/pixel_image.h"
#include "core/skin/outline_file.h"
#include "core/skin/skin_model.h"

namespace quell::skin {

enum class MapElementKind {
    Browser,
    GoButton,
    AddressBar,
    StatusText,
    Progress,
    BusyAnimation,
    Picture,
    Button,
    Text,
    Photo
};

struct MapElement {
    int number = 0;  // from 1
    MapElementKind kind = MapElementKind::Browser;
    // The element as `skin describe` names it: "browser", "addressbar",
    // "picture Gif0", "button Back0", "text Text0"; the Go button is
    // "gobutton" and the Photo picture "photo".
    std::string key;
    SkinRect rect;
    // A picture whose file cannot be read has no known size; its rectangle
    // is then empty at its place.
    bool sizeKnown = true;
    bool outsideFrame = false;
    bool outsideOutline = false;
    std::vector<int> overlaps;  // the numbers of the elements it overlaps
    bool marked() const { return outsideFrame || outsideOutline || !overlaps.empty(); }
};

struct LayoutMap {
    int frameWidth = 0, frameHeight = 0;
    std::vector<OutlinePoint> outline;  // empty when the outline cannot be read
    std::vector<MapElement> elements;
};

struct PictureSize {
    int width = 0, height = 0;
};

// What the map needs from files besides the description: the size a GIF
// file's first image gives a picture (nullopt when it cannot be read) and the
// Photo picture's size (nullopt: the program shows no Photo).
struct LayoutSizes {
    std::function<std::optional<PictureSize>(const std::string& path)> pictureSize;
    std::optional<PictureSize> photo;
};

// Places every element of the model on a frame of the size, then marks them.
LayoutMap BuildLayoutMap(const SkinModel& model, const SkinLocation& location, int frameWidth, int frameHeight,
                         std::vector<OutlinePoint> outline, const LayoutSizes& sizes);

// The map of the description at iniPath with its frame, read as the main
// window reads them; the Photo.bmp in photoFolder (trailing '/') gives the
// Photo picture's size, and without one the sample Photo's 130x384 stands in.
struct LoadedLayoutMap {
    LayoutMap map;
    image::PixelImage frame;
    std::string error;  // empty on success
};
LoadedLayoutMap LoadLayoutMap(const std::string& iniPath, const std::string& photoFolder);

// The legend: one line an element, "<number> <key> <left,top,right,bottom>"
// followed by its marks, then one line a finding after "findings: <count>".
std::string FormatLayoutLegend(const LayoutMap& map);

// Draws the outline and every element's rectangle and number onto `canvas`
// (the frame, or a transparent picture of the frame's size for an overlay).
void DrawLayoutMap(const LayoutMap& map, image::PixelImage& canvas);

}  // namespace quell::skin
