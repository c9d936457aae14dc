#include "image_export.h"

#include <algorithm>
#include <map>

#include "core/image/bitmap_writer.h"
#include "core/image/gif_encoder.h"
#include "core/image/pixel_image.h"

namespace quell1 {
namespace {

quell::image::PixelImage toPixelImage(const QImage& source) {
    const QImage image = source.convertToFormat(QImage::Format_ARGB32);
    quell::image::PixelImage out;
    out.width = image.width();
    out.height = image.height();
    out.pixels.reserve(static_cast<size_t>(out.width) * out.height);
    for (int y = 0; y < image.height(); ++y) {
        const auto* row = reinterpret_cast<const uint32_t*>(image.constScanLine(y));
        out.pixels.insert(out.pixels.end(), row, row + image.width());
    }
    return out;
}

uint32_t rgb(uint32_t argb) { return argb & 0x00FFFFFFu; }

int distance(uint32_t a, uint32_t b) {
    const int dr = int((a >> 16) & 0xFF) - int((b >> 16) & 0xFF);
    const int dg = int((a >> 8) & 0xFF) - int((b >> 8) & 0xFF);
    const int db = int(a & 0xFF) - int(b & 0xFF);
    return 3 * dr * dr + 4 * dg * dg + 2 * db * db;
}

// The most frequent colours first (ties by value, so the table is the same
// in every build), at most 256 of them.
std::vector<uint32_t> buildTable(const std::vector<QImage>& frames) {
    std::map<uint32_t, size_t> counts;
    for (const QImage& frame : frames) {
        const QImage image = frame.convertToFormat(QImage::Format_ARGB32);
        for (int y = 0; y < image.height(); ++y) {
            const auto* row = reinterpret_cast<const uint32_t*>(image.constScanLine(y));
            for (int x = 0; x < image.width(); ++x) ++counts[rgb(row[x])];
        }
    }
    std::vector<std::pair<uint32_t, size_t>> ranked(counts.begin(), counts.end());
    std::sort(ranked.begin(), ranked.end(), [](const auto& a, const auto& b) {
        return a.second != b.second ? a.second > b.second : a.first < b.first;
    });
    std::vector<uint32_t> table;
    for (size_t i = 0; i < ranked.size() && i < 256; ++i) table.push_back(ranked[i].first);
    return table;
}

}  // namespace

std::vector<uint8_t> encodeBmp(const QImage& image) { return quell::image::EncodeBitmap24(toPixelImage(image)); }

std::vector<uint8_t> encodeAnimation(const AnimationFrames& animation) {
    quell::image::GifFile file;
    file.globalColours = buildTable(animation.frames);
    file.loopCount = 0;
    std::map<uint32_t, uint8_t> nearest;
    for (const QImage& source : animation.frames) {
        const QImage image = source.convertToFormat(QImage::Format_ARGB32);
        quell::image::GifFrame frame;
        frame.width = image.width();
        frame.height = image.height();
        frame.delay = animation.delayHundredths;
        frame.indices.reserve(static_cast<size_t>(frame.width) * frame.height);
        for (int y = 0; y < image.height(); ++y) {
            const auto* row = reinterpret_cast<const uint32_t*>(image.constScanLine(y));
            for (int x = 0; x < image.width(); ++x) {
                const uint32_t colour = rgb(row[x]);
                auto found = nearest.find(colour);
                if (found == nearest.end()) {
                    size_t best = 0;
                    for (size_t i = 1; i < file.globalColours.size(); ++i)
                        if (distance(colour, file.globalColours[i]) < distance(colour, file.globalColours[best]))
                            best = i;
                    found = nearest.emplace(colour, static_cast<uint8_t>(best)).first;
                }
                frame.indices.push_back(found->second);
            }
        }
        file.frames.push_back(std::move(frame));
    }
    return quell::image::EncodeGif(file);
}

}  // namespace quell1
