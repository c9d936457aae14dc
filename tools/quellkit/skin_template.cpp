#include "skin_template.h"

#include <algorithm>
#include <array>
#include <cctype>
#include <cmath>
#include <numbers>
#include <string_view>

#include "core/image/bitmap_writer.h"
#include "core/image/raster.h"
#include "core/skin/outline_file.h"

namespace quellkit {

namespace {

using quell::image::PixelImage;

constexpr int kWidth = 640;
constexpr int kHeight = 480;
constexpr int kCorner = 24;
constexpr int kButtonWidth = 32;
constexpr int kButtonHeight = 24;
constexpr int kButtonTop = 10;

// The places every element of the description takes; the frame is painted
// from the same numbers, so the wells lie under what the program puts there.
struct Box {
    int left, top, right, bottom;
};
constexpr Box kBrowser{168, 48, 628, 448};
constexpr Box kAddress{352, 12, 540, 34};
constexpr Box kStatus{168, 454, 500, 472};
// The program puts the end user's Photo.bmp at 21,34 on every skin; the
// sample's picture is 130x384, so the left column is kept free for it.
constexpr Box kPhoto{21, 34, 151, 418};

enum class Glyph { Back, Forward, Home, Stop, Reload, Minimize, Exit };

struct ButtonPlace {
    std::string_view kind;  // the key stem, also the file stem in lower case
    Glyph glyph;
    int x;
    std::string_view tooltip;
};

constexpr std::array<ButtonPlace, 7> kButtons = {{
    {"Back", Glyph::Back, 168, "Back"},
    {"Forward", Glyph::Forward, 204, "Forward"},
    {"Home", Glyph::Home, 240, "Home page"},
    {"Stop", Glyph::Stop, 276, "Stop loading"},
    {"Reload", Glyph::Reload, 312, "Reload the page"},
    {"Minimize", Glyph::Minimize, 556, "Minimize"},
    {"Exit", Glyph::Exit, 592, "Close"},
}};

constexpr uint32_t kRim = 0xFF141820u;
constexpr uint32_t kBodyTop = 0xFF3C4A66u;
constexpr uint32_t kBodyBottom = 0xFF1E2434u;
constexpr uint32_t kWell = 0xFF0E121Au;
constexpr uint32_t kInk = 0xFFE6ECF5u;

uint32_t mix(uint32_t a, uint32_t b, int percentOfB) {
    uint32_t out = 0xFF000000u;
    for (int shift = 0; shift <= 16; shift += 8) {
        const int ca = static_cast<int>((a >> shift) & 0xFF), cb = static_cast<int>((b >> shift) & 0xFF);
        out |= static_cast<uint32_t>(ca + (cb - ca) * percentOfB / 100) << shift;
    }
    return out;
}

// The outline: a rectangle with quarter circles at the corners, one point a
// degree-step of each arc, clockwise from the top-left corner's arc.
std::vector<quell::skin::OutlinePoint> outlinePoints() {
    std::vector<quell::skin::OutlinePoint> points;
    struct Corner {
        double cx, cy, startDegrees;
    };
    const std::array<Corner, 4> corners = {{{kCorner, kCorner, 180},
                                            {kWidth - kCorner, kCorner, 270},
                                            {kWidth - kCorner, kHeight - kCorner, 0},
                                            {kCorner, kHeight - kCorner, 90}}};
    constexpr int kSteps = 12;
    for (const Corner& c : corners) {
        for (int i = 0; i <= kSteps; ++i) {
            const double a = (c.startDegrees + 90.0 * i / kSteps) * std::numbers::pi / 180.0;
            points.push_back({static_cast<int32_t>(std::lround(c.cx + kCorner * std::cos(a))),
                              static_cast<int32_t>(std::lround(c.cy + kCorner * std::sin(a)))});
        }
    }
    return points;
}

void sunkenWell(PixelImage& image, const Box& b) {
    quell::image::FillRect(image, b.left - 3, b.top - 3, b.right + 3, b.bottom + 3, kRim);
    quell::image::FillRect(image, b.left - 2, b.top - 2, b.right + 2, b.bottom + 2, kWell);
}

PixelImage paintFrame() {
    PixelImage frame = quell::image::MakeFilledImage(kWidth, kHeight, kRim);
    // The body darkens from top to bottom; a three-pixel rim lies all round,
    // wider than the outline's rounding so the window's hard edge shows rim.
    for (int y = 3; y < kHeight - 3; ++y)
        quell::image::FillRect(frame, 3, y, kWidth - 3, y + 1, mix(kBodyTop, kBodyBottom, y * 100 / kHeight));
    sunkenWell(frame, kBrowser);
    sunkenWell(frame, kPhoto);
    sunkenWell(frame, kAddress);
    for (const ButtonPlace& b : kButtons)
        sunkenWell(frame, Box{b.x, kButtonTop, b.x + kButtonWidth, kButtonTop + kButtonHeight});
    quell::image::FillRect(frame, kStatus.left, kStatus.bottom, kStatus.right, kStatus.bottom + 1, kWell);
    return frame;
}

// The glyph drawn into a button picture, about 14 pixels square round its centre.
void drawGlyph(PixelImage& image, Glyph glyph, int cx, int cy, uint32_t ink) {
    using quell::image::DrawLine;
    using quell::image::FillRect;
    switch (glyph) {
    case Glyph::Back:
    case Glyph::Forward: {
        const int dir = glyph == Glyph::Back ? -1 : 1;
        // A solid arrow head: one column a step, shrinking towards the tip.
        for (int i = 0; i <= 7; ++i)
            DrawLine(image, cx + dir * (i - 3), cy - (7 - i), cx + dir * (i - 3), cy + (7 - i), ink);
        FillRect(image, dir < 0 ? cx + 4 : cx - 8, cy - 2, dir < 0 ? cx + 9 : cx - 3, cy + 3, ink);
        break;
    }
    case Glyph::Home:
        for (int i = 0; i <= 7; ++i) DrawLine(image, cx - i, cy - 7 + i, cx + i, cy - 7 + i, ink);
        FillRect(image, cx - 5, cy, cx + 6, cy + 7, ink);
        break;
    case Glyph::Stop: FillRect(image, cx - 6, cy - 6, cx + 7, cy + 7, ink); break;
    case Glyph::Reload:
        for (int degrees = 40; degrees <= 330; degrees += 5) {
            const double a = degrees * std::numbers::pi / 180.0;
            const int x = cx + static_cast<int>(std::lround(6 * std::cos(a)));
            const int y = cy - static_cast<int>(std::lround(6 * std::sin(a)));
            FillRect(image, x - 1, y - 1, x + 1, y + 1, ink);
        }
        for (int i = 0; i <= 4; ++i) DrawLine(image, cx + 2 + i, cy - 8 + i, cx + 10 - i, cy - 8 + i, ink);
        break;
    case Glyph::Minimize: FillRect(image, cx - 6, cy + 3, cx + 7, cy + 6, ink); break;
    case Glyph::Exit:
        for (int d = -1; d <= 1; ++d) {
            DrawLine(image, cx - 6 + d, cy - 6, cx + 6 + d, cy + 6, ink);
            DrawLine(image, cx + 6 + d, cy - 6, cx - 6 + d, cy + 6, ink);
        }
        break;
    }
}

// States: 0 normal, 1 pressed (darker, the glyph one pixel down and right),
// 2 hover (lighter). The pictures are opaque: the button covers its well.
PixelImage paintButton(Glyph glyph, int state) {
    const uint32_t face = state == 1 ? 0xFF27324Au : state == 2 ? 0xFF5A6E96u : 0xFF43536Fu;
    PixelImage image = quell::image::MakeFilledImage(kButtonWidth, kButtonHeight, kRim);
    quell::image::FillRect(image, 1, 1, kButtonWidth - 1, kButtonHeight - 1, face);
    quell::image::FillRect(image, 1, 1, kButtonWidth - 1, 2, mix(face, 0xFFFFFFFFu, state == 1 ? 5 : 30));
    const int shift = state == 1 ? 1 : 0;
    drawGlyph(image, glyph, kButtonWidth / 2 + shift, kButtonHeight / 2 + shift, state == 2 ? 0xFFFFFFFFu : kInk);
    return image;
}

std::string lower(std::string_view text) {
    std::string out(text);
    std::transform(out.begin(), out.end(), out.begin(), [](unsigned char c) { return std::tolower(c); });
    return out;
}

std::string boxText(const Box& b) {
    return std::to_string(b.left) + "," + std::to_string(b.top) + "," + std::to_string(b.right) + "," +
           std::to_string(b.bottom);
}

std::vector<uint8_t> bytesOf(const std::string& text) { return std::vector<uint8_t>(text.begin(), text.end()); }

std::string description(const std::string& name) {
    std::string ini = name + " skin, made by quellkit skin new\n";
    ini +=
        "; Rectangles are left,top,right,bottom in frame pixels, right and bottom one past\n"
        "; the last pixel. quellkit skin map draws where each one lands.\n\n";
    ini += "[FrameBitmap]\nFileName=frame.bmp\n\n";
    ini += "[WebBrowser]\nPosition=" + boxText(kBrowser) + "\nStartPage=quellcard.htm\n\n";
    ini += "[AddressBar]\n; The Go button sits at the left edge, the address field 41 pixels to its right.\n";
    ini += "Position=" + boxText(kAddress) + "\nFont=DejaVu Sans\nFontSize=9\n\n";
    ini += "[StatusBar]\nPosition=" + boxText(kStatus) + "\nFont=DejaVu Sans\nFontSize=8\nFontColor=200,210,228\n\n";
    ini += "[Button]\n; normal,pressed,hover,x,y,width,height,key colour (-1: opaque),tooltip,sound\n";
    for (const ButtonPlace& b : kButtons) ini += std::string(b.kind) + "No=1\n";
    for (const ButtonPlace& b : kButtons) {
        const std::string stem = lower(b.kind);
        ini += std::string(b.kind) + "0=" + stem + "-n.bmp," + stem + "-p.bmp," + stem + "-h.bmp," +
               std::to_string(b.x) + "," + std::to_string(kButtonTop) + "," + std::to_string(kButtonWidth) + "," +
               std::to_string(kButtonHeight) + ",-1," + std::string(b.tooltip) + ",NULL\n";
    }
    return ini;
}

std::string startPage(const std::string& name) {
    return "<!DOCTYPE html>\n<html><head><meta charset=\"utf-8\"><title>" + name +
           "</title>\n<style>body{font-family:sans-serif;background:#f4f6fa;color:#1e2434;margin:2em}"
           "code{background:#e4e8f0;padding:0 .2em}</style></head>\n<body>\n<h1>" +
           name +
           "</h1>\n<p>This page is the skin's start page, <code>quellcard.htm</code> in the skin folder.</p>\n"
           "<p>Edit <code>" +
           name +
           ".ini</code> and the pictures while the preview runs; each saved change shows in place.</p>\n"
           "</body></html>\n";
}

}  // namespace

bool IsUsableSkinName(const std::string& name) {
    if (name.empty() || name.size() > 64 || !std::isalpha(static_cast<unsigned char>(name[0]))) return false;
    return std::all_of(name.begin(), name.end(),
                       [](unsigned char c) { return (c < 0x80 && std::isalnum(c)) || c == '-' || c == '_'; });
}

std::vector<SkinFile> MakeNewSkin(const std::string& name) {
    std::vector<SkinFile> files;
    files.push_back({name + ".ini", bytesOf(description(name))});
    files.push_back({"frame.bmp", quell::image::EncodeBitmap24(paintFrame())});
    files.push_back({"frame.dat", quell::skin::EncodeOutline(outlinePoints())});
    constexpr std::array<std::string_view, 3> kSuffixes = {"-n.bmp", "-p.bmp", "-h.bmp"};
    for (const ButtonPlace& b : kButtons)
        for (int state = 0; state < 3; ++state)
            files.push_back({lower(b.kind) + std::string(kSuffixes[static_cast<size_t>(state)]),
                             quell::image::EncodeBitmap24(paintButton(b.glyph, state))});
    files.push_back({"quellcard.htm", bytesOf(startPage(name))});
    return files;
}

}  // namespace quellkit
