#include "core/image/bitmap_file.h"

#include <algorithm>
#include <array>
#include <bit>
#include <cstring>
#include <iterator>
#include <new>

#include "core/bytes.h"
#include "core/error_names.h"
#include "core/os/file_system.h"

namespace quell::image {
namespace {

// Pictures larger than this are refused outright (1 GiB of pixels in
// memory); everything smaller must still find its pixel data in the file.
constexpr uint64_t kMaxPixels = uint64_t{1} << 28;
constexpr size_t kMaxFileSize = size_t{1} << 31;
// An RLE run codes at most 255 pixels in two bytes; a stream cut off before
// its end-of-picture code that even such runs could not fill from the bytes
// present is not believed.
constexpr uint64_t kMaxRlePixelsPerByte = 128;

enum Compression : uint32_t { kRgb = 0, kRle8 = 1, kRle4 = 2, kBitFields = 3, kAlphaBitFields = 6 };

constexpr size_t kFileHeaderSize = 14;

using bytes::readLe16;
using bytes::readLe32;

// Pixel rows are read through raw pointers whose extent the caller has checked.
uint16_t pixel16(const uint8_t* p) { return readLe16({p, 2}, 0); }
uint32_t pixel32(const uint8_t* p) { return readLe32({p, 4}, 0); }

// One colour channel described by a bit mask: where it sits and how to
// widen its value to eight bits.
struct Channel {
    uint32_t mask = 0;
    int shift = 0;
    uint32_t maximum = 0;  // the largest value the channel can hold

    static bool make(uint32_t mask, Channel& out) {
        out = {};
        out.mask = mask;
        if (mask == 0) return true;  // an absent channel reads as zero
        out.shift = std::countr_zero(mask);
        const uint32_t value = mask >> out.shift;
        if ((value & (value + 1)) != 0) return false;  // the bits must be contiguous
        out.maximum = value;
        return true;
    }
    uint32_t eightBit(uint32_t pixel) const {
        if (maximum == 0) return 0;
        const uint32_t value = (pixel & mask) >> shift;
        if (maximum == 255) return value;
        return static_cast<uint32_t>((static_cast<uint64_t>(value) * 255 + maximum / 2) / maximum);
    }
};

// The fields of whichever information header the file has, in the terms of
// the 40-byte one.
struct Header {
    uint32_t size = 0;
    int64_t width = 0, height = 0;
    bool topDown = false;
    uint16_t planes = 0, bitCount = 0;
    uint32_t compression = kRgb;
    uint32_t coloursUsed = 0;
    uint32_t masks[3] = {0, 0, 0};
    bool masksInHeader = false;
    int paletteEntrySize = 4;
};

BitmapError readHeader(std::span<const uint8_t> block, Header& h) {
    if (block.size() < 4) return BitmapError::TruncatedHeader;
    h.size = readLe32(block, 0);
    if (h.size == 12) {
        // The old core header: 16-bit sizes, no compression, 3-byte palette entries.
        if (block.size() < 12) return BitmapError::TruncatedHeader;
        h.width = readLe16(block, 4);
        h.height = readLe16(block, 6);
        h.planes = readLe16(block, 8);
        h.bitCount = readLe16(block, 10);
        h.paletteEntrySize = 3;
        return BitmapError::None;
    }
    // 40 is the information header; 52 and 56 add the colour masks, 108 and
    // 124 colour-space data after them.
    if (h.size != 40 && h.size != 52 && h.size != 56 && h.size != 108 && h.size != 124)
        return BitmapError::UnknownHeader;
    if (block.size() < h.size) return BitmapError::TruncatedHeader;
    h.width = static_cast<int32_t>(readLe32(block, 4));
    const int32_t height = static_cast<int32_t>(readLe32(block, 8));
    h.topDown = height < 0;
    h.height = h.topDown ? -static_cast<int64_t>(height) : height;
    h.planes = readLe16(block, 12);
    h.bitCount = readLe16(block, 14);
    h.compression = readLe32(block, 16);
    h.coloursUsed = readLe32(block, 32);
    if (h.size >= 52) {
        h.masks[0] = readLe32(block, 40);
        h.masks[1] = readLe32(block, 44);
        h.masks[2] = readLe32(block, 48);
        h.masksInHeader = true;
    }
    return BitmapError::None;
}

struct Layout {
    std::array<uint32_t, 256> palette{};  // opaque pixels; entries the file lacks are black
    Channel channels[3];
    uint64_t pixelOffset = 0;  // from the start of the block after the file header
};

// Whether the compression is one the decoder knows and the bit count one
// that compression allows.
BitmapError checkFormat(const Header& h) {
    bool valid;
    switch (h.compression) {
    case kRgb:
        valid = h.bitCount == 1 || h.bitCount == 2 || h.bitCount == 4 || h.bitCount == 8 || h.bitCount == 16 ||
                h.bitCount == 24 || h.bitCount == 32;
        break;
    case kRle8: valid = h.bitCount == 8 && h.paletteEntrySize == 4; break;
    case kRle4: valid = h.bitCount == 4 && h.paletteEntrySize == 4; break;
    case kBitFields:
    case kAlphaBitFields: valid = (h.bitCount == 16 || h.bitCount == 32) && h.paletteEntrySize == 4; break;
    default: return BitmapError::UnsupportedCompression;
    }
    return valid ? BitmapError::None : BitmapError::BadBitCount;
}

BitmapError makeLayout(std::span<const uint8_t> block, const Header& h, Layout& layout) {
    // Where the pixels start follows from the headers alone: the information
    // header, then the bit masks when a 40-byte header has them, then the
    // colour table. The file header's data offset is not consulted.
    uint64_t colourCount;
    if (h.bitCount <= 8) colourCount = h.coloursUsed != 0 ? h.coloursUsed : (uint64_t{1} << h.bitCount);
    else colourCount = h.coloursUsed;
    uint64_t maskBytes = 0;
    if (h.size == 40 && h.compression == kBitFields) maskBytes = 12;
    if (h.size == 40 && h.compression == kAlphaBitFields) maskBytes = 16;
    const uint64_t paletteStart = h.size + maskBytes;
    layout.pixelOffset = paletteStart + colourCount * static_cast<uint64_t>(h.paletteEntrySize);
    if (layout.pixelOffset > block.size()) return BitmapError::TruncatedPalette;

    if (h.bitCount <= 8) {
        const uint64_t usable = colourCount < 256 ? colourCount : 256;
        layout.palette.fill(0xFF000000u);
        for (uint64_t i = 0; i < usable; ++i) {
            const uint8_t* entry = block.data() + paletteStart + i * static_cast<uint64_t>(h.paletteEntrySize);
            layout.palette[i] = 0xFF000000u | (uint32_t{entry[2]} << 16) | (uint32_t{entry[1]} << 8) | entry[0];
        }
        return BitmapError::None;
    }

    uint32_t masks[3];
    if (h.compression == kBitFields || h.compression == kAlphaBitFields) {
        if (h.masksInHeader) {
            std::memcpy(masks, h.masks, sizeof masks);
        } else {
            for (size_t i = 0; i < 3; ++i) masks[i] = readLe32(block, 40 + 4 * i);
        }
        const uint64_t limit = h.bitCount == 16 ? 0xFFFFu : 0xFFFFFFFFu;
        if ((masks[0] | masks[1] | masks[2]) == 0 || (masks[0] | masks[1] | masks[2]) > limit)
            return BitmapError::BadBitMasks;
        if ((masks[0] & masks[1]) || (masks[0] & masks[2]) || (masks[1] & masks[2])) return BitmapError::BadBitMasks;
    } else if (h.bitCount == 16) {
        masks[0] = 0x7C00;
        masks[1] = 0x03E0;
        masks[2] = 0x001F;
    } else {
        masks[0] = 0x00FF0000;
        masks[1] = 0x0000FF00;
        masks[2] = 0x000000FF;
    }
    for (int i = 0; i < 3; ++i)
        if (!Channel::make(masks[i], layout.channels[i])) return BitmapError::BadBitMasks;
    return BitmapError::None;
}

// Where picture row y (top row 0) lies in the stored rows.
size_t storedRow(const Header& h, int y) {
    return h.topDown ? static_cast<size_t>(y) : static_cast<size_t>(h.height - 1 - y);
}

void decodeIndexedRow(const uint8_t* row, int width, int bits, const Layout& layout, uint32_t* out) {
    switch (bits) {
    case 8:
        for (int x = 0; x < width; ++x) out[x] = layout.palette[row[x]];
        break;
    case 4:
        for (int x = 0; x < width; ++x) out[x] = layout.palette[(row[x >> 1] >> ((x & 1) ? 0 : 4)) & 0x0F];
        break;
    case 2:
        for (int x = 0; x < width; ++x) out[x] = layout.palette[(row[x >> 2] >> (6 - 2 * (x & 3))) & 0x03];
        break;
    default:
        for (int x = 0; x < width; ++x) out[x] = layout.palette[(row[x >> 3] >> (7 - (x & 7))) & 0x01];
        break;
    }
}

void decodeMaskedRow(const uint8_t* row, int width, int bits, const Layout& layout, uint32_t* out) {
    const Channel& r = layout.channels[0];
    const Channel& g = layout.channels[1];
    const Channel& b = layout.channels[2];
    for (int x = 0; x < width; ++x) {
        const uint32_t value = bits == 16 ? pixel16(row + 2 * x) : pixel32(row + 4 * x);
        out[x] = 0xFF000000u | (r.eightBit(value) << 16) | (g.eightBit(value) << 8) | b.eightBit(value);
    }
}

BitmapError decodeUncompressed(std::span<const uint8_t> pixels, const Header& h, const Layout& layout,
                               PixelImage& out) {
    const int width = static_cast<int>(h.width);
    const int height = static_cast<int>(h.height);
    const uint64_t stride = ((static_cast<uint64_t>(h.width) * h.bitCount + 31) / 32) * 4;
    if (stride * static_cast<uint64_t>(h.height) > pixels.size()) return BitmapError::TruncatedPixels;

    out.width = width;
    out.height = height;
    out.pixels.resize(static_cast<size_t>(width) * static_cast<size_t>(height));
    const bool plain24 = h.bitCount == 24;
    const bool plain32 = h.bitCount == 32 && layout.channels[0].mask == 0x00FF0000 &&
                         layout.channels[1].mask == 0x0000FF00 && layout.channels[2].mask == 0x000000FF;
    for (int y = 0; y < height; ++y) {
        const uint8_t* row = pixels.data() + storedRow(h, y) * stride;
        uint32_t* target = out.pixels.data() + static_cast<size_t>(y) * static_cast<size_t>(width);
        if (plain24) {
            for (int x = 0; x < width; ++x, row += 3)
                target[x] = 0xFF000000u | (uint32_t{row[2]} << 16) | (uint32_t{row[1]} << 8) | row[0];
        } else if (plain32) {
            for (int x = 0; x < width; ++x) target[x] = 0xFF000000u | pixel32(row + 4 * x);
        } else if (h.bitCount <= 8) {
            decodeIndexedRow(row, width, h.bitCount, layout, target);
        } else {
            decodeMaskedRow(row, width, h.bitCount, layout, target);
        }
    }
    return BitmapError::None;
}

// Run-length coded 8- and 4-bit pictures. Pixels the stream never sets
// (skipped by a delta, or left when it ends early) take colour-table entry 0,
// as in a freshly cleared bitmap. Writers commonly code every row to its
// padded length, so runs that pass the end of a row are cut there; a delta or
// line end that leaves the picture ends it. A stream that stops without its
// end-of-picture code keeps what it decoded once the first row is complete;
// before that there is nothing to show and the file is refused.
BitmapError decodeRle(std::span<const uint8_t> data, const Header& h, const Layout& layout, PixelImage& out) {
    const int64_t width = h.width;
    const int64_t height = h.height;
    const bool four = h.compression == kRle4;
    out.width = static_cast<int>(width);
    out.height = static_cast<int>(height);
    out.pixels.assign(static_cast<size_t>(width) * static_cast<size_t>(height), layout.palette[0]);

    int64_t x = 0, y = 0;  // y counts stored rows, bottom row first
    size_t at = 0;
    // Writes a run of `count` pixels at the cursor, pixel i taking the colour
    // of table entry index(i). What passes the row end is dropped; the cursor
    // still moves past the whole run.
    auto putRun = [&](int64_t count, auto index) {
        uint32_t* row = out.pixels.data() + static_cast<size_t>(height - 1 - y) * static_cast<size_t>(width);
        const int64_t shown = std::clamp<int64_t>(width - x, 0, count);
        for (int64_t i = 0; i < shown; ++i) row[x + i] = layout.palette[index(i)];
        x += count;
    };
    auto streamEnded = [&] { return y > 0 || x >= width ? BitmapError::None : BitmapError::TruncatedPixels; };
    while (y < height) {
        if (at + 1 >= data.size()) return streamEnded();
        const uint8_t count = data[at];
        const uint8_t value = data[at + 1];
        at += 2;
        if (count > 0) {
            putRun(count,
                   [&](int64_t i) -> uint8_t { return four ? ((i & 1) ? (value & 0x0F) : (value >> 4)) : value; });
            continue;
        }
        if (value == 0) {  // end of line
            x = 0;
            ++y;
        } else if (value == 1) {  // end of picture
            return BitmapError::None;
        } else if (value == 2) {  // delta: move right and up
            if (at + 1 >= data.size()) return streamEnded();
            x += data[at];
            y += data[at + 1];
            at += 2;
            if (x > width) return BitmapError::None;
        } else {  // a literal run of `value` pixels, padded to a 16-bit boundary
            const size_t bytes = four ? (static_cast<size_t>(value) + 1) / 2 : value;
            const size_t present = std::min(bytes, data.size() - at);
            const int64_t pixels = std::min<int64_t>(value, static_cast<int64_t>(four ? 2 * present : present));
            const uint8_t* literal = data.data() + at;
            putRun(pixels, [&](int64_t i) -> uint8_t {
                return four ? ((i & 1) ? (literal[i / 2] & 0x0F) : (literal[i / 2] >> 4)) : literal[i];
            });
            if (present < bytes) return streamEnded();
            at += (bytes + 1) & ~size_t{1};
        }
    }
    return BitmapError::None;
}

// Walks the run-length codes without drawing anything: true when the stream
// reaches its end-of-picture code before its bytes run out.
bool reachesEndOfPicture(std::span<const uint8_t> data, bool four) {
    size_t at = 0;
    while (at + 1 < data.size()) {
        const uint8_t count = data[at];
        const uint8_t value = data[at + 1];
        at += 2;
        if (count > 0 || value == 0) continue;
        if (value == 1) return true;
        if (value == 2) {
            at += 2;
        } else {
            const size_t bytes = four ? (static_cast<size_t>(value) + 1) / 2 : value;
            at += (bytes + 1) & ~size_t{1};
        }
    }
    return false;
}

BitmapError decode(std::span<const uint8_t> bytes, PixelImage& out) {
    if (bytes.size() < kFileHeaderSize || bytes[0] != 'B' || bytes[1] != 'M') return BitmapError::NotBitmap;
    const std::span<const uint8_t> block = bytes.subspan(kFileHeaderSize);

    Header h;
    if (const BitmapError e = readHeader(block, h); e != BitmapError::None) return e;
    if (h.width <= 0 || h.height <= 0) return BitmapError::BadDimensions;
    if (h.planes != 1) return BitmapError::BadPlanes;
    if (const BitmapError e = checkFormat(h); e != BitmapError::None) return e;
    // Run-length pictures are always stored bottom-up.
    if (h.topDown && (h.compression == kRle8 || h.compression == kRle4)) return BitmapError::TopDownRunLength;
    const uint64_t pixelCount = static_cast<uint64_t>(h.width) * static_cast<uint64_t>(h.height);
    if (pixelCount > kMaxPixels) return BitmapError::TooLarge;

    Layout layout;
    if (const BitmapError e = makeLayout(block, h, layout); e != BitmapError::None) return e;
    const std::span<const uint8_t> pixels = block.subspan(static_cast<size_t>(layout.pixelOffset));

    // A complete run-length stream may be as short as its end-of-picture
    // code, which leaves every pixel at colour-table entry 0, so only a
    // stream cut off before that code is measured against the picture.
    if (h.compression == kRle8 || h.compression == kRle4) {
        if (pixelCount > static_cast<uint64_t>(pixels.size()) * kMaxRlePixelsPerByte &&
            !reachesEndOfPicture(pixels, h.compression == kRle4))
            return BitmapError::TruncatedPixels;
        return decodeRle(pixels, h, layout, out);
    }
    return decodeUncompressed(pixels, h, layout, out);
}

}  // namespace

const char* BitmapErrorName(BitmapError error) {
    static constexpr const char* kNames[] = {
        "none",           "cannot-read",         "not-a-bitmap",  "truncated-header",
        "unknown-header", "bad-dimensions",      "bad-planes",    "unsupported-compression",
        "bad-bit-count",  "top-down-run-length", "too-large",     "truncated-palette",
        "bad-bit-masks",  "truncated-pixels",    "out-of-memory",
    };
    static_assert(std::size(kNames) == static_cast<size_t>(BitmapError::OutOfMemory) + 1, "a name for every error");
    return errorNameFromTable(error, kNames);
}

bool DecodeBitmap(std::span<const uint8_t> bytes, PixelImage& out, BitmapError& error) {
    out = {};
    // The sizes come from the file, so the allocation of the picture may
    // fail; that is reported like any other reason the file cannot be shown.
    try {
        error = decode(bytes, out);
    } catch (const std::bad_alloc&) {
        error = BitmapError::OutOfMemory;
    }
    if (error != BitmapError::None) out = {};
    return error == BitmapError::None;
}

bool DecodeBitmap(std::span<const uint8_t> bytes, PixelImage& out) {
    BitmapError error;
    return DecodeBitmap(bytes, out, error);
}

bool LoadBitmapFile(const std::string& path, PixelImage& out, BitmapError& error) {
    out = {};
    const auto bytes = os::readFile(path, kMaxFileSize);
    if (!bytes) {
        error = BitmapError::CannotRead;
        return false;
    }
    return DecodeBitmap(*bytes, out, error);
}

bool LoadBitmapFile(const std::string& path, PixelImage& out) {
    BitmapError error;
    return LoadBitmapFile(path, out, error);
}

}  // namespace quell::image
