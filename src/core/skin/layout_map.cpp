#include "core/skin/layout_map.h"

#include <algorithm>
#include <cmath>

#include "core/image/bitmap_file.h"
#include "core/image/gif_decoder.h"
#include "core/image/raster.h"
#include "core/skin/profile_file.h"

namespace quell::skin {

namespace {

// The main window's own placements: the Go button's picture sits at the
// address bar's corner and the address field starts 41 pixels to its right;
// the Photo picture sits at 21,34.
constexpr int kGoButtonWidth = 40;
constexpr int kGoButtonHeight = 18;
constexpr int kAddressFieldOffset = 41;
constexpr int kPhotoX = 21;
constexpr int kPhotoY = 34;
// The sample Photo, which the skin preview shows when there is none.
constexpr PictureSize kPlaceholderPhoto{130, 384};

SkinRect rectAt(int x, int y, int width, int height) { return SkinRect{x, y, x + width, y + height}; }

std::string rectText(const SkinRect& r) {
    return std::to_string(r.left) + "," + std::to_string(r.top) + "," + std::to_string(r.right) + "," +
           std::to_string(r.bottom);
}

bool isEmpty(const SkinRect& r) { return r.right <= r.left || r.bottom <= r.top; }

bool intersects(const SkinRect& a, const SkinRect& b) {
    return !isEmpty(a) && !isEmpty(b) && a.left < b.right && b.left < a.right && a.top < b.bottom && b.top < a.bottom;
}

// The frame pixels inside the outline, filled by the even-odd rule as the
// window's shape is: a pixel is inside when its centre is.
std::vector<uint8_t> insideMask(const std::vector<OutlinePoint>& outline, int width, int height) {
    std::vector<uint8_t> mask(static_cast<size_t>(width) * height, 0);
    std::vector<double> crossings;
    for (int y = 0; y < height; ++y) {
        const double centre = y + 0.5;
        crossings.clear();
        for (size_t i = 0; i < outline.size(); ++i) {
            const OutlinePoint& a = outline[i];
            const OutlinePoint& b = outline[(i + 1) % outline.size()];
            if ((a.y <= centre) == (b.y <= centre)) continue;
            crossings.push_back(a.x + (centre - a.y) * (b.x - a.x) / static_cast<double>(b.y - a.y));
        }
        std::sort(crossings.begin(), crossings.end());
        for (size_t i = 0; i + 1 < crossings.size(); i += 2) {
            // Pixels whose centre x + 0.5 lies in [from, to).
            const int from = std::max(0, static_cast<int>(std::ceil(crossings[i] - 0.5)));
            const int to = std::min(width, static_cast<int>(std::ceil(crossings[i + 1] - 0.5)));
            for (int x = from; x < to; ++x) mask[static_cast<size_t>(y) * width + x] = 1;
        }
    }
    return mask;
}

bool liesInside(const SkinRect& r, const std::vector<uint8_t>& mask, int width, int height) {
    if (r.left < 0 || r.top < 0 || r.right > width || r.bottom > height) return false;
    for (int y = r.top; y < r.bottom; ++y)
        for (int x = r.left; x < r.right; ++x)
            if (!mask[static_cast<size_t>(y) * width + x]) return false;
    return true;
}

void markElements(LayoutMap& map) {
    std::vector<uint8_t> mask;
    if (!map.outline.empty() && map.frameWidth > 0) mask = insideMask(map.outline, map.frameWidth, map.frameHeight);
    for (MapElement& e : map.elements) {
        if (!e.sizeKnown || isEmpty(e.rect)) continue;
        e.outsideFrame =
            e.rect.left < 0 || e.rect.top < 0 || e.rect.right > map.frameWidth || e.rect.bottom > map.frameHeight;
        // Without an outline the window has no shape of its own to leave.
        if (!mask.empty()) e.outsideOutline = !liesInside(e.rect, mask, map.frameWidth, map.frameHeight);
    }
    for (MapElement& a : map.elements)
        for (const MapElement& b : map.elements)
            if (&a != &b && a.sizeKnown && b.sizeKnown && intersects(a.rect, b.rect)) a.overlaps.push_back(b.number);
}

uint32_t kindColour(MapElementKind kind) {
    switch (kind) {
    case MapElementKind::Browser: return 0xFF3399FFu;
    case MapElementKind::GoButton:
    case MapElementKind::AddressBar: return 0xFF33DD77u;
    case MapElementKind::StatusText: return 0xFFFFCC00u;
    case MapElementKind::Progress: return 0xFFFF9933u;
    case MapElementKind::BusyAnimation:
    case MapElementKind::Picture: return 0xFFDD77FFu;
    case MapElementKind::Button: return 0xFF00FFFFu;
    case MapElementKind::Text: return 0xFFFFFFFFu;
    case MapElementKind::Photo: return 0xFFAAFF44u;
    }
    return 0xFFFFFFFFu;
}

constexpr uint32_t kMarkColour = 0xFFFF2020u;
constexpr uint32_t kOutlineColour = 0xFFFFFF00u;
constexpr uint32_t kNumberInk = 0xFF000000u;
constexpr int kNumberScale = 2;

}  // namespace

LayoutMap BuildLayoutMap(const SkinModel& m, const SkinLocation& location, int frameWidth, int frameHeight,
                         std::vector<OutlinePoint> outline, const LayoutSizes& sizes) {
    LayoutMap map;
    map.frameWidth = frameWidth;
    map.frameHeight = frameHeight;
    map.outline = std::move(outline);
    auto add = [&map](MapElementKind kind, std::string key, SkinRect rect, bool sizeKnown = true) {
        MapElement e;
        e.number = static_cast<int>(map.elements.size()) + 1;
        e.kind = kind;
        e.key = std::move(key);
        e.rect = rect;
        e.sizeKnown = sizeKnown;
        map.elements.push_back(std::move(e));
    };
    auto picture = [&](MapElementKind kind, std::string key, int x, int y, const std::string& file) {
        const std::optional<PictureSize> size =
            sizes.pictureSize ? sizes.pictureSize(location.path(file)) : std::nullopt;
        add(kind, std::move(key), rectAt(x, y, size ? size->width : 0, size ? size->height : 0), size.has_value());
    };

    // The creation order of the main window.
    if (m.browserRect.isSet()) add(MapElementKind::Browser, "browser", m.browserRect);
    if (m.addressBarRect.isSet()) {
        add(MapElementKind::GoButton, "gobutton",
            rectAt(m.addressBarRect.left, m.addressBarRect.top, kGoButtonWidth, kGoButtonHeight));
        SkinRect field = m.addressBarRect;
        field.left += kAddressFieldOffset;
        add(MapElementKind::AddressBar, "addressbar", field);
    }
    if (m.hasStatusBar) add(MapElementKind::StatusText, "statusbar", m.statusRect);
    if (m.progressRect.isSet()) add(MapElementKind::Progress, "progress", m.progressRect);
    if (m.navigationGifRect.isSet())
        picture(MapElementKind::BusyAnimation, "navigationgif", m.navigationGifRect.left, m.navigationGifRect.top,
                m.navigationGifFile);
    for (size_t i = 0; i < m.pictures.size(); ++i)
        picture(MapElementKind::Picture, "picture Gif" + std::to_string(i), m.pictures[i].x, m.pictures[i].y,
                m.pictures[i].file);
    for (const ButtonKind& kind : kButtonKinds)
        for (const ButtonEntry& b : m.buttons)
            if (b.kind == kind.commandCode)
                add(MapElementKind::Button, "button " + std::string(kind.keyStem) + std::to_string(b.index),
                    rectAt(b.x, b.y, b.width, b.height));
    for (size_t i = 0; i < m.texts.size(); ++i) {
        const TextEntry& t = m.texts[i];
        add(MapElementKind::Text, "text Text" + std::to_string(i), rectAt(t.x, t.y, t.width, t.height));
    }
    if (sizes.photo)
        add(MapElementKind::Photo, "photo", rectAt(kPhotoX, kPhotoY, sizes.photo->width, sizes.photo->height));
    markElements(map);
    return map;
}

LoadedLayoutMap LoadLayoutMap(const std::string& iniPath, const std::string& photoFolder) {
    LoadedLayoutMap out;
    const size_t slash = iniPath.rfind('/');
    const SkinLocation location{slash == std::string::npos ? std::string("./") : iniPath.substr(0, slash + 1)};
    const ProfileFile file = ProfileFile::Load(iniPath);
    const SkinModel model = ReadSkinModel(file, location);
    if (!model.hasFrame()) {
        out.error = "the description names no frame bitmap";
        return out;
    }
    if (!image::LoadBitmapFile(location.path(model.frameFile), out.frame)) {
        out.error = "the frame bitmap " + model.frameFile + " cannot be loaded";
        return out;
    }
    std::vector<OutlinePoint> outline;
    if (model.outlineName)
        if (auto points = LoadOutlineFile(location.path(*model.outlineName))) outline = std::move(*points);
    LayoutSizes sizes;
    sizes.pictureSize = [](const std::string& path) -> std::optional<PictureSize> {
        // The picture takes the size of its first image, as the program gives it.
        image::GifDecoder decoder;
        image::GifFrameInfo first;
        if (!decoder.LoadGifFile(path) || decoder.FrameCount() <= 0 || !decoder.GetFrameInfo(0, first) ||
            first.width <= 0 || first.height <= 0)
            return std::nullopt;
        return PictureSize{first.width, first.height};
    };
    image::PixelImage photo;
    sizes.photo = image::LoadBitmapFile(photoFolder + "Photo.bmp", photo) ? PictureSize{photo.width, photo.height}
                                                                          : kPlaceholderPhoto;
    out.map = BuildLayoutMap(model, location, out.frame.width, out.frame.height, std::move(outline), sizes);
    return out;
}

std::string FormatLayoutLegend(const LayoutMap& map) {
    std::string out;
    std::string findings;
    int count = 0;
    const std::string frame = std::to_string(map.frameWidth) + "x" + std::to_string(map.frameHeight);
    for (const MapElement& e : map.elements) {
        out += std::to_string(e.number) + " " + e.key + " " + (e.sizeKnown ? rectText(e.rect) : "unknown-size");
        const std::string name = std::to_string(e.number) + " " + e.key + ": ";
        if (!e.sizeKnown) {
            findings += name + "its picture cannot be read, so its size is unknown\n";
            ++count;
        }
        if (e.outsideFrame) {
            out += " outside-frame";
            findings += name + "reaches outside the " + frame + " frame\n";
            ++count;
        }
        if (e.outsideOutline) {
            out += " outside-outline";
            findings += name + "is not wholly inside the outline\n";
            ++count;
        }
        if (!e.overlaps.empty()) {
            out += " overlaps";
            for (size_t i = 0; i < e.overlaps.size(); ++i) out += (i ? "," : ":") + std::to_string(e.overlaps[i]);
            // Each pair is listed once, from its lower number.
            for (int other : e.overlaps) {
                if (other < e.number) continue;
                findings += name + "overlaps " + std::to_string(other) + " " +
                            map.elements[static_cast<size_t>(other - 1)].key + "\n";
                ++count;
            }
        }
        out += "\n";
    }
    if (map.outline.empty()) {
        findings += "the outline cannot be read\n";
        ++count;
    }
    return out + "findings: " + std::to_string(count) + "\n" + findings;
}

void DrawLayoutMap(const LayoutMap& map, image::PixelImage& canvas) {
    for (size_t i = 0; i < map.outline.size(); ++i) {
        const OutlinePoint& a = map.outline[i];
        const OutlinePoint& b = map.outline[(i + 1) % map.outline.size()];
        image::DrawLine(canvas, a.x, a.y, b.x, b.y, kOutlineColour);
    }
    for (const MapElement& e : map.elements) {
        const SkinRect& r = e.rect;
        const uint32_t colour = e.marked() ? kMarkColour : kindColour(e.kind);
        if (!isEmpty(r)) image::DrawRectOutline(canvas, r.left, r.top, r.right, r.bottom, colour, e.marked() ? 2 : 1);
    }
    // The numbers go on top of every rectangle, each in a box of its
    // rectangle's colour at the rectangle's top-left corner.
    for (const MapElement& e : map.elements) {
        const std::string number = std::to_string(e.number);
        const uint32_t colour = e.marked() ? kMarkColour : kindColour(e.kind);
        const int w = image::TextWidth(number, kNumberScale) + 2 * kNumberScale;
        const int h = image::TextHeight(kNumberScale) + 2 * kNumberScale;
        const int x = std::clamp(e.rect.left, 0, std::max(0, map.frameWidth - w));
        const int y = std::clamp(e.rect.top, 0, std::max(0, map.frameHeight - h));
        image::FillRect(canvas, x, y, x + w, y + h, colour);
        image::DrawText(canvas, x + kNumberScale, y + kNumberScale, number, kNumberInk, kNumberScale);
    }
}

}  // namespace quell::skin
