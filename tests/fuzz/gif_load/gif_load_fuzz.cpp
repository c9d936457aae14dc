// Feeds arbitrary bytes to the GIF decoder and turns every image into pixels.
#include <cstdint>
#include <span>

#include "core/image/gif_decoder.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    quell::image::GifDecoder decoder;
    if (!decoder.LoadGif(std::span<const uint8_t>(data, size))) {
        if (decoder.FrameCount() != 0) __builtin_trap();  // a failed load keeps nothing
        return 0;
    }
    for (int i = 0; i < decoder.FrameCount(); ++i) {
        quell::image::GifFrameInfo info;
        quell::image::PixelImage image;
        if (!decoder.GetFrameInfo(i, info) || !decoder.CreateFrameBitmap(i, image)) __builtin_trap();
        if (image.width != info.width || image.height != info.height) __builtin_trap();
    }
    return 0;
}
