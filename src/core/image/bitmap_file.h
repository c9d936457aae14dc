#pragma once
// BMP loading into a PixelImage. Every failure returns false and leaves `out`
// empty; nothing throws. The overloads with a BitmapError also say why.
#include <cstdint>
#include <span>
#include <string>

#include "core/image/pixel_image.h"

namespace quell::image {

enum class BitmapError {
    None,
    CannotRead,              // the file could not be read, or is too large to read
    NotBitmap,               // no 14-byte file header starting with "BM"
    TruncatedHeader,         // the information header runs past the end
    UnknownHeader,           // an information header of a size the decoder does not read
    BadDimensions,           // a width or height of zero or less
    BadPlanes,               // a plane count other than 1
    UnsupportedCompression,  // a compression method the decoder does not know
    BadBitCount,             // a bit count the compression method does not allow
    TopDownRunLength,        // run-length data stored top-down
    TooLarge,                // more pixels than the decoder accepts
    TruncatedPalette,        // the colour masks or table run past the end
    BadBitMasks,             // colour masks that are empty, overlap or are not contiguous
    TruncatedPixels,         // too few bytes for the pixels the headers promise
    OutOfMemory,             // the pixels could not be allocated
};

// The short name of an error as messages print it ("truncated-pixels").
const char* BitmapErrorName(BitmapError error);

// Reads the whole file and decodes it with DecodeBitmap.
bool LoadBitmapFile(const std::string& path, PixelImage& out);
bool LoadBitmapFile(const std::string& path, PixelImage& out, BitmapError& error);

// Decodes a complete BMP file image (starting with the 14-byte "BM" header).
bool DecodeBitmap(std::span<const uint8_t> bytes, PixelImage& out);
bool DecodeBitmap(std::span<const uint8_t> bytes, PixelImage& out, BitmapError& error);

}  // namespace quell::image
