// quellkit bmp FILE OUT.ppm: decodes a BMP file the way skins are loaded and
// writes what came out as a binary PPM.
#include <cstdio>
#include <string>

#include "commands.h"
#include "core/image/bitmap_file.h"
#include "core/image/ppm_writer.h"
#include "core/os/file_system.h"

namespace quellkit {
namespace {

bool writeAll(const std::string& path, const std::vector<uint8_t>& bytes) {
    FILE* file = std::fopen(path.c_str(), "wb");
    if (!file) return false;
    const bool written = std::fwrite(bytes.data(), 1, bytes.size(), file) == bytes.size();
    return std::fclose(file) == 0 && written;
}

}  // namespace

int runBmp(const Args& args) {
    if (args.size() != 2) return usage("bmp FILE OUT.ppm");
    if (!quell::os::isRegularFile(args[0])) return fail("cannot read " + args[0]);
    quell::image::PixelImage image;
    if (!quell::image::LoadBitmapFile(args[0], image)) return fail("not a readable BMP file: " + args[0]);
    if (!writeAll(args[1], quell::image::EncodePpm(image))) return fail("cannot write " + args[1]);
    return 0;
}

}  // namespace quellkit
