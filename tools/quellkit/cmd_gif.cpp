// quellkit gif info FILE | gif frames FILE PREFIX: shows what the GIF decoder
// makes of a file, image by image.
#include <cstdio>
#include <string>

#include "commands.h"
#include "core/image/gif_decoder.h"
#include "core/image/ppm_writer.h"
#include "core/os/file_system.h"

namespace quellkit {
namespace {

constexpr const char* kUsage = "gif info FILE | gif frames FILE PREFIX";

int load(const std::string& path, quell::image::GifDecoder& decoder) {
    if (!quell::os::isRegularFile(path)) return fail("cannot read " + path);
    if (!decoder.LoadGifFile(path)) return fail(quell::image::GifErrorName(decoder.lastError()));
    return 0;
}

int info(const std::string& path) {
    quell::image::GifDecoder decoder;
    if (int status = load(path, decoder)) return status;
    std::printf("frames %d\n", decoder.FrameCount());
    for (int i = 0; i < decoder.FrameCount(); ++i) {
        quell::image::GifFrameInfo frame;
        if (!decoder.GetFrameInfo(i, frame)) return fail("no description for image " + std::to_string(i));
        std::printf("%d %d %d %d %d %d %d %d\n", i, frame.left, frame.top, frame.width, frame.height, frame.delay,
                    frame.transparent, frame.disposal);
    }
    return std::fflush(stdout) == 0 ? 0 : fail("cannot write the standard output");
}

int frames(const std::string& path, const std::string& prefix) {
    quell::image::GifDecoder decoder;
    if (int status = load(path, decoder)) return status;
    for (int i = 0; i < decoder.FrameCount(); ++i) {
        quell::image::PixelImage image;
        if (!decoder.CreateFrameBitmap(i, image)) return fail("no picture for image " + std::to_string(i));
        const std::string target = prefix + "-" + std::to_string(i) + ".ppm";
        if (!quell::os::writeFile(target, quell::image::EncodePpm(image))) return fail("cannot write " + target);
    }
    return 0;
}

}  // namespace

int runGif(const Args& args) {
    if (args.size() == 2 && args[0] == "info") return info(args[1]);
    if (args.size() == 3 && args[0] == "frames") return frames(args[1], args[2]);
    return usage(kUsage);
}

}  // namespace quellkit
