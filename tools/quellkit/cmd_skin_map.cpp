// quellkit skin map SKINDIR OUT.png: the frame with the outline and every
// element's rectangle drawn over it, each numbered; the legend (number, key,
// rectangle, marks) and the findings go to standard output.
#include <cstdio>

#include "commands.h"
#include "core/image/raster.h"
#include "core/os/file_system.h"
#include "core/skin/layout_map.h"
#include "core/skin/skin_check.h"
#include "png_writer.h"

namespace quellkit {

namespace {

// The frame is darkened under the map so that its lines and numbers stand out
// on any frame.
constexpr uint32_t kShade = 0xFF000000u;
constexpr int kShadePercent = 45;

}  // namespace

int runSkinMap(const Args& args) {
    if (args.size() != 2) return usage("skin map SKINDIR OUT.png");
    const std::string& folder = args[0];
    // The check finds the one description file the folder must hold.
    const quell::skin::SkinCheckReport report = quell::skin::CheckSkinFolder(folder);
    if (report.descriptionPath.empty())
        return fail(report.findings.empty() ? folder + ": no description file"
                                            : report.findings.front().key + ": " + report.findings.front().problem);
    // A Photo.bmp in the skin folder is the one the preview shows.
    quell::skin::LoadedLayoutMap loaded = quell::skin::LoadLayoutMap(report.descriptionPath, folder + "/");
    if (!loaded.error.empty()) return fail(loaded.error);
    quell::image::PixelImage picture = std::move(loaded.frame);
    quell::image::Tint(picture, kShade, kShadePercent);
    quell::skin::DrawLayoutMap(loaded.map, picture);
    const std::vector<uint8_t> png = EncodePng(picture);
    if (png.empty() || !quell::os::writeFile(args[1], png)) return fail("cannot write " + args[1]);
    std::fputs(quell::skin::FormatLayoutLegend(loaded.map).c_str(), stdout);
    return 0;
}

}  // namespace quellkit
