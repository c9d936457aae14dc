#pragma once
// GIF87a/GIF89a decoding: every image of the file is decoded at load time and
// kept as an 8-bit picture with its own colour table.
#include <cstdint>
#include <memory>
#include <span>
#include <string>
#include <vector>

#include "core/image/pixel_image.h"

namespace quell::image {

// Why a load failed.
enum class GifError {
    None,
    CannotRead,         // the file could not be read, or is too large to read
    NotGif,             // no GIF87a or GIF89a signature
    Truncated,          // the data ends inside a block or before the trailer
    UnknownBlock,       // a byte that starts no known block
    BadGraphicControl,  // a graphic control extension of the wrong size
    TooLarge,           // an image or the whole file is beyond the decoder's budget
    BadImageData,       // the compressed pixel data cannot be expanded
    OutOfMemory,        // the images could not be allocated
};

// The short name of an error as messages print it ("bad-image-data").
const char* GifErrorName(GifError error);

struct GifFrameInfo {
    int left = 0, top = 0, width = 0, height = 0;
    int delay = 0;            // hundredths of a second
    int transparent = 65535;  // colour index, 65535 when the image has none
    int disposal = 0;         // the packed flags AND 0x1C, not shifted
};

// A read-only view of one stored image: rows bottom-up (the image's top row
// is the last one), each `stride` bytes, and its colour table as 0x00RRGGBB.
struct GifStoredImage {
    int width = 0, height = 0, stride = 0;
    std::span<const uint8_t> rows;
    std::span<const uint32_t> colours;
};

class GifDecoder {
public:
    GifDecoder();
    ~GifDecoder();
    GifDecoder(const GifDecoder&) = delete;
    GifDecoder& operator=(const GifDecoder&) = delete;

    // Resets, then parses the whole file; on false nothing of the file remains.
    bool LoadGif(std::span<const uint8_t> bytes);
    bool LoadGifFile(const std::string& path);
    // Why the last load failed; None after a successful load or a reset.
    GifError lastError() const;
    int FrameCount() const;
    bool GetFrameInfo(int index, GifFrameInfo& info) const;
    // The stored image, top row first, with its transparent colour replaced by
    // white; false (and `out` empty) also when its pixels cannot be allocated.
    bool CreateFrameBitmap(int index, PixelImage& out) const;
    // The same with a replacement given as a skin colour value (0x00BBGGRR).
    bool CreateFrameBitmap(int index, PixelImage& out, uint32_t replacementColour) const;
    bool GetStoredImage(int index, GifStoredImage& out) const;
    void ResetDecoder();

private:
    bool createFrameBitmap(int index, PixelImage& out, uint32_t replacementColour) const;

    struct State;
    std::unique_ptr<State> m_state;
};

}  // namespace quell::image
