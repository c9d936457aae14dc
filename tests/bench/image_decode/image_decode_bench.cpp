// Decoding a 100-image 640x480 GIF and a 4000x3000 24-bit BMP, both made
// here with our own writers, by our decoders and by the usual libraries.
// Every variant ends with 32-bit pixels for every image, so the work compared
// is the same: parse, expand LZW or rows, look up the colour table.
#include <benchmark/benchmark.h>

#include <cstring>
#include <vector>

#include "core/image/bitmap_file.h"
#include "core/image/bitmap_writer.h"
#include "core/image/gif_decoder.h"
#include "core/image/gif_encoder.h"

#ifdef QUELL_BENCH_WITH_QT
#include <QBuffer>
#include <QCoreApplication>
#include <QImage>
#include <QImageReader>
#endif
#ifdef QUELL_BENCH_WITH_GIFLIB
#include <gif_lib.h>
#endif

namespace {

using quell::image::GifFile;
using quell::image::GifFrame;
using quell::image::PixelImage;

// A moving pattern of soft gradients and noise, like a photo-ish animation:
// enough variety that the LZW table fills and clears many times per image.
const std::vector<uint8_t>& animatedGif() {
    static const std::vector<uint8_t> bytes = [] {
        GifFile file;
        file.screenWidth = 640;
        file.screenHeight = 480;
        for (int i = 0; i < 256; ++i)
            file.globalColours.push_back(static_cast<uint32_t>((i << 16) | ((255 - i) << 8) | ((i * 7) & 255)));
        uint32_t noise = 12345;
        for (int f = 0; f < 100; ++f) {
            GifFrame frame;
            frame.width = 640;
            frame.height = 480;
            frame.delay = 4;
            frame.indices.resize(640 * 480);
            for (int y = 0; y < 480; ++y) {
                for (int x = 0; x < 640; ++x) {
                    noise = noise * 1103515245u + 12345u;
                    const int base = ((x + 3 * f) / 4 + (y + f) / 6) & 255;
                    frame.indices[static_cast<size_t>(y) * 640 + x] =
                        static_cast<uint8_t>((noise >> 28) == 0 ? (noise >> 16) & 255 : base);
                }
            }
            file.frames.push_back(std::move(frame));
        }
        return quell::image::EncodeGif(file);
    }();
    return bytes;
}

const std::vector<uint8_t>& largeBitmap() {
    static const std::vector<uint8_t> bytes = [] {
        PixelImage image;
        image.width = 4000;
        image.height = 3000;
        image.pixels.resize(static_cast<size_t>(image.width) * image.height);
        for (int y = 0; y < image.height; ++y)
            for (int x = 0; x < image.width; ++x)
                image.pixels[static_cast<size_t>(y) * image.width + x] =
                    0xFF000000u | static_cast<uint32_t>(((x & 255) << 16) | ((y & 255) << 8) | ((x ^ y) & 255));
        return quell::image::EncodeBitmap24(image);
    }();
    return bytes;
}

void BM_GifQuell(benchmark::State& state) {
    const auto& bytes = animatedGif();
    for (auto _ : state) {
        quell::image::GifDecoder decoder;
        if (!decoder.LoadGif(bytes)) state.SkipWithError("decode failed");
        PixelImage frame;
        for (int i = 0; i < decoder.FrameCount(); ++i) {
            decoder.CreateFrameBitmap(i, frame);
            benchmark::DoNotOptimize(frame.pixels.data());
        }
    }
    state.SetBytesProcessed(static_cast<int64_t>(state.iterations()) * static_cast<int64_t>(bytes.size()));
}
BENCHMARK(BM_GifQuell)->Unit(benchmark::kMillisecond);

#ifdef QUELL_BENCH_WITH_GIFLIB
struct MemoryReader {
    const std::vector<uint8_t>* bytes;
    size_t at;
};

int readFromMemory(GifFileType* gif, GifByteType* buffer, int length) {
    auto* reader = static_cast<MemoryReader*>(gif->UserData);
    const size_t n = std::min(static_cast<size_t>(length), reader->bytes->size() - reader->at);
    std::memcpy(buffer, reader->bytes->data() + reader->at, n);
    reader->at += n;
    return static_cast<int>(n);
}

void BM_GifGiflibSlurp(benchmark::State& state) {
    const auto& bytes = animatedGif();
    std::vector<uint32_t> pixels;
    for (auto _ : state) {
        MemoryReader reader{&bytes, 0};
        int error = 0;
        GifFileType* gif = DGifOpen(&reader, readFromMemory, &error);
        if (!gif || DGifSlurp(gif) != GIF_OK) {
            state.SkipWithError("giflib failed");
            break;
        }
        for (int i = 0; i < gif->ImageCount; ++i) {
            const SavedImage& image = gif->SavedImages[i];
            const ColorMapObject* map = image.ImageDesc.ColorMap ? image.ImageDesc.ColorMap : gif->SColorMap;
            uint32_t lookup[256] = {};
            for (int c = 0; c < map->ColorCount && c < 256; ++c)
                lookup[c] = 0xFF000000u | (uint32_t{map->Colors[c].Red} << 16) | (uint32_t{map->Colors[c].Green} << 8) |
                            map->Colors[c].Blue;
            const size_t count = static_cast<size_t>(image.ImageDesc.Width) * image.ImageDesc.Height;
            pixels.resize(count);
            for (size_t p = 0; p < count; ++p) pixels[p] = lookup[image.RasterBits[p]];
            benchmark::DoNotOptimize(pixels.data());
        }
        DGifCloseFile(gif, &error);
    }
    state.SetBytesProcessed(static_cast<int64_t>(state.iterations()) * static_cast<int64_t>(bytes.size()));
}
BENCHMARK(BM_GifGiflibSlurp)->Unit(benchmark::kMillisecond);
#endif

#ifdef QUELL_BENCH_WITH_QT
void BM_GifQImageReader(benchmark::State& state) {
    const auto& bytes = animatedGif();
    const QByteArray data =
        QByteArray::fromRawData(reinterpret_cast<const char*>(bytes.data()), static_cast<qsizetype>(bytes.size()));
    for (auto _ : state) {
        QBuffer buffer;
        buffer.setData(data);
        buffer.open(QIODevice::ReadOnly);
        QImageReader reader(&buffer, "gif");
        int frames = 0;
        QImage image;
        while (reader.read(&image)) {
            benchmark::DoNotOptimize(image.constBits());
            ++frames;
        }
        if (frames != 100) state.SkipWithError("Qt read too few images");
    }
    state.SetBytesProcessed(static_cast<int64_t>(state.iterations()) * static_cast<int64_t>(bytes.size()));
}
BENCHMARK(BM_GifQImageReader)->Unit(benchmark::kMillisecond);
#endif

void BM_BmpQuell(benchmark::State& state) {
    const auto& bytes = largeBitmap();
    for (auto _ : state) {
        PixelImage image;
        if (!quell::image::DecodeBitmap(bytes, image)) state.SkipWithError("decode failed");
        benchmark::DoNotOptimize(image.pixels.data());
    }
    state.SetBytesProcessed(static_cast<int64_t>(state.iterations()) * static_cast<int64_t>(bytes.size()));
}
BENCHMARK(BM_BmpQuell)->Unit(benchmark::kMillisecond);

#ifdef QUELL_BENCH_WITH_QT
void BM_BmpQImage(benchmark::State& state) {
    const auto& bytes = largeBitmap();
    for (auto _ : state) {
        QImage image;
        if (!image.loadFromData(bytes.data(), static_cast<int>(bytes.size()), "BMP")) state.SkipWithError("Qt failed");
        // Qt reads 24-bit files as RGB32; both sides end with 32-bit pixels.
        benchmark::DoNotOptimize(image.constBits());
    }
    state.SetBytesProcessed(static_cast<int64_t>(state.iterations()) * static_cast<int64_t>(bytes.size()));
}
BENCHMARK(BM_BmpQImage)->Unit(benchmark::kMillisecond);
#endif

}  // namespace

int main(int argc, char** argv) {
#ifdef QUELL_BENCH_WITH_QT
    // Image-format plugins (GIF) are found through the application object.
    QCoreApplication app(argc, argv);
#endif
    // Make the inputs before any timing starts.
    animatedGif();
    largeBitmap();
    benchmark::Initialize(&argc, argv);
    if (benchmark::ReportUnrecognizedArguments(argc, argv)) return 1;
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
