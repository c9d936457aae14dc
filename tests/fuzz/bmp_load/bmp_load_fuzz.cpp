// Feeds arbitrary bytes to the BMP loader through a file, the way skins are read.
#include <cstdint>
#include <cstdio>
#include <string>
#include <unistd.h>

#include "core/image/bitmap_file.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    static const std::string path = "/tmp/quell-bmp-fuzz-" + std::to_string(getpid()) + ".bmp";
    FILE* file = std::fopen(path.c_str(), "wb");
    if (!file) return 0;
    if (size > 0) std::fwrite(data, 1, size, file);
    std::fclose(file);

    quell::image::PixelImage image;
    if (quell::image::LoadBitmapFile(path, image)) {
        // A decoded picture must be exactly as large as it says.
        if (image.pixels.size() != static_cast<size_t>(image.width) * static_cast<size_t>(image.height))
            __builtin_trap();
    }
    std::remove(path.c_str());
    return 0;
}
