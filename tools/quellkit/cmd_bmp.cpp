// quellkit bmp FILE OUT.ppm: decodes a BMP file the way skins are loaded and
// writes what came out as a binary PPM.
#include <string>

#include "commands.h"
#include "core/image/bitmap_file.h"
#include "core/image/ppm_writer.h"
#include "core/os/file_system.h"

namespace quellkit {

int runBmp(const Args& args) {
    if (args.size() != 2) return usage("bmp FILE OUT.ppm");
    if (!quell::os::isRegularFile(args[0])) return fail("cannot read " + args[0]);
    quell::image::PixelImage image;
    quell::image::BitmapError error = quell::image::BitmapError::None;
    if (!quell::image::LoadBitmapFile(args[0], image, error)) return fail(quell::image::BitmapErrorName(error));
    if (!quell::os::writeFile(args[1], quell::image::EncodePpm(image))) return fail("cannot write " + args[1]);
    return 0;
}

}  // namespace quellkit
