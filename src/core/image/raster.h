#pragma once
// The few drawing operations pictures made without a graphics library need:
// filled and outlined rectangles, lines, and decimal numbers in a small
// built-in bitmap font. Everything is clipped to the picture; pixels are
// written as given (no blending).
#include <cstdint>
#include <string_view>

#include "core/image/pixel_image.h"

namespace quell::image {

// A picture of the size filled with one pixel value (0 is fully transparent).
PixelImage MakeFilledImage(int width, int height, uint32_t pixel);

void FillRect(PixelImage& image, int left, int top, int right, int bottom, uint32_t pixel);
// A frame `thickness` pixels wide just inside left..right-1, top..bottom-1.
void DrawRectOutline(PixelImage& image, int left, int top, int right, int bottom, uint32_t pixel, int thickness = 1);
// Both end points included.
void DrawLine(PixelImage& image, int x0, int y0, int x1, int y1, uint32_t pixel);

// The built-in font holds the digits and ',', '-', ':' and ' '; its glyphs
// are 3x5 cells drawn `scale` pixels a cell, one cell apart.
int TextWidth(std::string_view text, int scale);
int TextHeight(int scale);
// Characters the font lacks are drawn as blanks.
void DrawText(PixelImage& image, int x, int y, std::string_view text, uint32_t pixel, int scale);

// Mixes every pixel with `pixel` by `percent` (0..100) of the latter; alpha kept.
void Tint(PixelImage& image, uint32_t pixel, int percent);

}  // namespace quell::image
