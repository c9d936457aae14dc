#include "core/image/gif_decoder.h"

namespace quell::image {
struct GifDecoder::State {};
GifDecoder::GifDecoder() : m_state(std::make_unique<State>()) {}
GifDecoder::~GifDecoder() = default;
bool GifDecoder::LoadGif(std::span<const uint8_t>) { return false; }
bool GifDecoder::LoadGifFile(const std::string&) { return false; }
int GifDecoder::FrameCount() const { return 0; }
bool GifDecoder::GetFrameInfo(int, GifFrameInfo&) const { return false; }
bool GifDecoder::CreateFrameBitmap(int, PixelImage&) const { return false; }
bool GifDecoder::CreateFrameBitmap(int, PixelImage&, uint32_t) const { return false; }
bool GifDecoder::GetStoredImage(int, GifStoredImage&) const { return false; }
void GifDecoder::ResetDecoder() {}
}  // namespace quell::image
