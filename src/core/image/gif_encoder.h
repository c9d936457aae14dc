#pragma once
// A GIF writer: several images, each with its own delay, transparent index,
// disposal, optional local colour table and interlace, LZW-coded with clear
// codes. The sample skin's pictures are made with it, and tests use its
// options to produce streams that ordinary files do not contain.
#include <cstdint>
#include <span>
#include <vector>

namespace quell::image {

// What the LZW coder does once its code table is full (4096 codes).
enum class GifTablePolicy {
    ClearWhenFull,     // send a clear code as soon as the table fills (what ordinary writers do)
    ClearOneCodeLate,  // send one more code with the full table, then a clear code
    NeverClear,        // keep coding with the full table (a "deferred clear")
};

struct GifLzwOptions {
    GifTablePolicy policy = GifTablePolicy::ClearWhenFull;
    bool leadingClear = true;  // start the stream with a clear code
    bool endCode = true;       // finish it with an end code
};

// LZW-codes pixel indices (each below 2^minCodeSize) into a packed byte
// stream, without the sub-block framing.
std::vector<uint8_t> EncodeGifLzw(std::span<const uint8_t> indices, int minCodeSize, const GifLzwOptions& options = {});

struct GifFrame {
    int left = 0, top = 0, width = 0, height = 0;
    std::vector<uint8_t> indices;        // width * height colour indices, top row first
    std::vector<uint32_t> localColours;  // 0x00RRGGBB; empty: the image uses the global table
    int delay = 0;                       // hundredths of a second
    int transparent = -1;                // colour index, -1 for none
    int disposal = 0;                    // disposal method 0..7
    bool interlaced = false;
    bool controlBlock = true;  // write a graphic control extension before the image
    int minCodeSize = 0;       // 0: chosen from the colour table size
    GifLzwOptions lzw;
};

struct GifFile {
    int screenWidth = 0, screenHeight = 0;  // 0: the largest extent of the frames
    std::vector<uint32_t> globalColours;    // 0x00RRGGBB; empty: no global table
    int loopCount = -1;                     // >= 0 writes a looping application extension
    bool trailer = true;                    // write the ';' that ends the file
    std::vector<GifFrame> frames;
};

// Colour tables are padded to the next power of two (2 to 256 entries).
std::vector<uint8_t> EncodeGif(const GifFile& file);

}  // namespace quell::image
