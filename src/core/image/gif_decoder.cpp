#include "core/image/gif_decoder.h"

#include <array>
#include <cstring>
#include <iterator>
#include <new>

#include "core/bytes.h"
#include "core/error_names.h"
#include "core/image/gif_lzw.h"
#include "core/os/file_system.h"

namespace quell::image {
namespace {

// No single image may claim more pixels than this, nor a whole file more
// stored bytes than the budget below. An image of 65535 x 65535 is 4 GiB;
// treating such a claim as an allocation failure keeps a small hostile file
// from exhausting memory.
constexpr uint64_t kMaxImagePixels = uint64_t{1} << 26;
constexpr uint64_t kMaxFileBytes = uint64_t{1} << 28;
// GIF files for skins are small; this bounds what LoadGifFile reads.
constexpr size_t kMaxFileSize = size_t{1} << 28;

struct Descriptor {
    uint16_t left = 0, top = 0, width = 0, height = 0;
};

struct StoredImage {
    int width = 0, height = 0, stride = 0;
    std::vector<uint32_t> colours;  // 0x00RRGGBB, the bytes blue, green, red, 0 in memory
    std::vector<uint8_t> rows;      // bottom-up, stride bytes each
};

// Block introducers, extension labels and packed-field bits of the format.
constexpr uint8_t kExtensionIntroducer = 0x21;
constexpr uint8_t kImageSeparator = 0x2C;
constexpr uint8_t kTrailer = 0x3B;
constexpr uint8_t kGraphicControlLabel = 0xF9;
constexpr uint8_t kColourTableFlag = 0x80;
constexpr uint8_t kInterlaceFlag = 0x40;
constexpr uint8_t kColourTableSizeBits = 0x07;

constexpr size_t kSignatureSize = 6;
constexpr size_t kScreenDescriptorSize = 7;
constexpr size_t kImageDescriptorSize = 10;
constexpr size_t kGraphicControlSize = 4;

}  // namespace

const char* GifErrorName(GifError error) {
    static constexpr const char* kNames[] = {
        "none",      "cannot-read",    "not-a-gif",     "truncated", "unknown-block", "bad-graphic-control",
        "too-large", "bad-image-data", "out-of-memory",
    };
    static_assert(std::size(kNames) == static_cast<size_t>(GifError::OutOfMemory) + 1, "a name for every error");
    return errorNameFromTable(error, kNames);
}

struct GifDecoder::State {
    // Of the logical screen descriptor only the colour-table bits of the
    // flags are used.
    uint8_t screenFlags = 0;
    std::array<uint8_t, 768> globalColours{};

    std::vector<Descriptor> descriptors;
    std::vector<uint32_t> controls;  // the graphic control value of each image
    std::vector<StoredImage> images;

    std::span<const uint8_t> data;
    size_t position = 0;
    uint64_t storedBytes = 0;
    std::vector<uint8_t> subBlocks;
    std::vector<uint8_t> pixels;
    std::vector<int> streamRowOf;  // for each picture row, the stream row that fills it
    GifLzwDecoder lzw;
    GifError error = GifError::None;

    size_t remaining() const { return data.size() - position; }
    bool inside() const { return position < data.size(); }

    void reset() {
        screenFlags = 0;
        globalColours.fill(0);
        descriptors.clear();
        controls.clear();
        images.clear();
        data = {};
        position = 0;
        storedBytes = 0;
        subBlocks.clear();
        pixels.clear();
        pixels.shrink_to_fit();
        error = GifError::None;
    }

    // Joins the data sub-blocks at the position into subBlocks (when collect
    // is set) and moves past the terminating zero-length block.
    bool readSubBlocks(bool collect) {
        subBlocks.clear();
        while (inside()) {
            const size_t length = data[position];
            if (length == 0) break;
            ++position;
            if (remaining() < length) {
                subBlocks.clear();
                return false;
            }
            if (collect) subBlocks.insert(subBlocks.end(), data.begin() + position, data.begin() + position + length);
            position += length;
        }
        if (!inside()) {
            subBlocks.clear();
            return false;
        }
        ++position;
        return true;
    }

    static size_t colourTableEntries(uint8_t flags) { return size_t{1} << ((flags & kColourTableSizeBits) + 1); }

    GifError parse() {
        if (remaining() < kSignatureSize) return GifError::NotGif;
        const uint8_t* header = data.data() + position;
        if (header[0] != 'G' || header[1] != 'I' || header[2] != 'F' || header[3] != '8' ||
            (header[4] != '7' && header[4] != '9') || header[5] != 'a')
            return GifError::NotGif;
        position += kSignatureSize;

        if (remaining() < kScreenDescriptorSize) return GifError::Truncated;
        screenFlags = data[position + 4];
        position += kScreenDescriptorSize;
        if (screenFlags & kColourTableFlag) {
            const size_t bytes = 3 * colourTableEntries(screenFlags);
            if (remaining() < bytes) return GifError::Truncated;
            std::memcpy(globalColours.data(), data.data() + position, bytes);
            position += bytes;
        }

        subBlocks.clear();
        uint32_t pendingControl = 0;
        while (inside()) {
            const uint8_t introducer = data[position];
            if (introducer == kTrailer) break;
            if (introducer == kExtensionIntroducer) {
                position += 2;
                if (position >= data.size()) return GifError::Truncated;
                const uint8_t label = data[position - 1];
                if (label == kGraphicControlLabel) {
                    if (!readSubBlocks(true)) return GifError::Truncated;
                    if (subBlocks.size() != kGraphicControlSize) return GifError::BadGraphicControl;
                    pendingControl = bytes::readLe32(subBlocks, 0);
                    subBlocks.clear();
                } else if (!readSubBlocks(false)) {
                    return GifError::Truncated;
                }
            } else if (introducer == kImageSeparator) {
                if (const GifError failure = readImage(pendingControl); failure != GifError::None) return failure;
                pendingControl = 0;
            } else {
                return GifError::UnknownBlock;
            }
        }
        if (inside() && data[position] == kTrailer) {
            ++position;
            return GifError::None;
        }
        return GifError::Truncated;
    }

    GifError readImage(uint32_t control) {
        if (remaining() < kImageDescriptorSize) return GifError::Truncated;
        Descriptor d{bytes::readLe16(data, position + 1), bytes::readLe16(data, position + 3),
                     bytes::readLe16(data, position + 5), bytes::readLe16(data, position + 7)};
        const uint8_t flags = data[position + 9];
        descriptors.push_back(d);
        position += kImageDescriptorSize;

        const uint8_t* colourSource;
        size_t tableSize;
        if (flags & kColourTableFlag) {
            tableSize = colourTableEntries(flags);
            if (remaining() < 3 * tableSize) return GifError::Truncated;
            colourSource = data.data() + position;
            position += 3 * tableSize;
        } else {
            tableSize = colourTableEntries(screenFlags);
            colourSource = globalColours.data();
        }
        controls.push_back(control);

        if (!inside()) return GifError::Truncated;
        const int minCodeSize = data[position];
        ++position;
        if (!readSubBlocks(true)) return GifError::Truncated;

        const int width = d.width, height = d.height;
        const uint64_t pixelCount = static_cast<uint64_t>(width) * static_cast<uint64_t>(height);
        const int stride = (width + 3) & ~3;
        const uint64_t storedSize = static_cast<uint64_t>(stride) * static_cast<uint64_t>(height);
        if (pixelCount > kMaxImagePixels || storedBytes + storedSize > kMaxFileBytes) {
            subBlocks.clear();
            return GifError::TooLarge;
        }

        pixels.assign(static_cast<size_t>(pixelCount), 0);
        if (!lzw.decode(minCodeSize, subBlocks, pixels)) {
            subBlocks.clear();
            return GifError::BadImageData;
        }

        StoredImage& stored = images.emplace_back();
        storedBytes += storedSize;
        stored.width = width;
        stored.height = height;
        stored.stride = stride;
        stored.colours.resize(tableSize);
        for (size_t i = 0; i < tableSize; ++i) {
            const uint8_t* rgb = colourSource + 3 * i;
            stored.colours[i] = (static_cast<uint32_t>(rgb[0]) << 16) | (static_cast<uint32_t>(rgb[1]) << 8) | rgb[2];
        }
        // Stream row r lands on picture row p, and picture row p is stored
        // at row height - 1 - p because the stored rows run bottom-up.
        streamRowOf.resize(static_cast<size_t>(height));
        if (flags & kInterlaceFlag) {
            static constexpr int kStart[4] = {0, 4, 2, 1};
            static constexpr int kStep[4] = {8, 8, 4, 2};
            int streamRow = 0;
            for (int pass = 0; pass < 4; ++pass)
                for (int p = kStart[pass]; p < height; p += kStep[pass])
                    streamRowOf[static_cast<size_t>(p)] = streamRow++;
        } else {
            for (int p = 0; p < height; ++p) streamRowOf[static_cast<size_t>(p)] = p;
        }
        stored.rows.reserve(static_cast<size_t>(storedSize));
        static constexpr uint8_t kPadding[3] = {0, 0, 0};
        for (int s = 0; s < height && width > 0; ++s) {
            const uint8_t* row =
                pixels.data() + static_cast<size_t>(streamRowOf[static_cast<size_t>(height - 1 - s)]) * width;
            stored.rows.insert(stored.rows.end(), row, row + width);
            stored.rows.insert(stored.rows.end(), kPadding, kPadding + (stride - width));
        }
        subBlocks.clear();
        return GifError::None;
    }
};

GifDecoder::GifDecoder() : m_state(std::make_unique<State>()) {}
GifDecoder::~GifDecoder() = default;

bool GifDecoder::LoadGif(std::span<const uint8_t> bytes) {
    ResetDecoder();
    m_state->data = bytes;
    m_state->position = 0;
    // Image sizes come from the file; within the budget above, memory may
    // still run out, which fails the load like a broken file.
    GifError failure;
    try {
        failure = m_state->parse();
    } catch (const std::bad_alloc&) {
        failure = GifError::OutOfMemory;
    }
    // The file bytes belong to the caller; only what was taken from them stays.
    m_state->data = {};
    m_state->pixels.clear();
    if (failure != GifError::None) {
        ResetDecoder();
        m_state->error = failure;
    }
    return failure == GifError::None;
}

bool GifDecoder::LoadGifFile(const std::string& path) {
    ResetDecoder();
    const auto bytes = os::readFile(path, kMaxFileSize);
    if (!bytes) {
        m_state->error = GifError::CannotRead;
        return false;
    }
    return LoadGif(*bytes);
}

GifError GifDecoder::lastError() const { return m_state->error; }

int GifDecoder::FrameCount() const { return static_cast<int>(static_cast<uint16_t>(m_state->images.size())); }

bool GifDecoder::GetFrameInfo(int index, GifFrameInfo& info) const {
    if (index < 0 || static_cast<size_t>(index) >= m_state->descriptors.size()) return false;
    const Descriptor& d = m_state->descriptors[static_cast<size_t>(index)];
    const uint32_t control = m_state->controls[static_cast<size_t>(index)];
    info.left = d.left;
    info.top = d.top;
    info.width = d.width;
    info.height = d.height;
    info.delay = static_cast<int>((control >> 8) & 0xFFFFu);
    if (info.delay == 0 && m_state->images.size() >= 2) info.delay = 10;
    info.transparent = (control & 1) ? static_cast<int>(control >> 24) : 0xFFFF;
    info.disposal = static_cast<int>(control & 0x1Cu);
    return true;
}

bool GifDecoder::CreateFrameBitmap(int index, PixelImage& out) const {
    return CreateFrameBitmap(index, out, 0x00FFFFFFu);
}

bool GifDecoder::CreateFrameBitmap(int index, PixelImage& out, uint32_t replacementColour) const {
    try {
        return createFrameBitmap(index, out, replacementColour);
    } catch (const std::bad_alloc&) {
        out = {};
        return false;
    }
}

bool GifDecoder::createFrameBitmap(int index, PixelImage& out, uint32_t replacementColour) const {
    GifFrameInfo info;
    if (index < 0 || static_cast<size_t>(index) >= m_state->images.size() || !GetFrameInfo(index, info)) {
        out = {};
        return false;
    }
    const StoredImage& stored = m_state->images[static_cast<size_t>(index)];

    // Every byte value maps to a pixel: indices past the colour table read as
    // black, as do entries a short table leaves undefined.
    std::array<uint32_t, 256> lookup;
    lookup.fill(0xFF000000u);
    for (size_t i = 0; i < stored.colours.size() && i < 256; ++i) lookup[i] = 0xFF000000u | stored.colours[i];
    // The replacement only ever lands on the image's own transparent entry,
    // so applying it to this copy of the table shows the same result as
    // writing it into the stored table.
    if (info.transparent < 256 && static_cast<size_t>(info.transparent) < stored.colours.size())
        lookup[static_cast<size_t>(info.transparent)] = PixelFromColourValue(replacementColour);

    // Every pixel is written below, so a buffer the caller passes again is
    // reused as it stands.
    out.width = stored.width;
    out.height = stored.height;
    out.pixels.resize(static_cast<size_t>(stored.width) * static_cast<size_t>(stored.height));
    uint32_t* target = out.pixels.data();
    for (int y = 0; y < stored.height; ++y) {
        const uint8_t* row = stored.rows.data() + static_cast<size_t>(stored.height - 1 - y) * stored.stride;
        for (int x = 0; x < stored.width; ++x) *target++ = lookup[row[x]];
    }
    return true;
}

bool GifDecoder::GetStoredImage(int index, GifStoredImage& out) const {
    if (index < 0 || static_cast<size_t>(index) >= m_state->images.size()) return false;
    const StoredImage& stored = m_state->images[static_cast<size_t>(index)];
    out.width = stored.width;
    out.height = stored.height;
    out.stride = stored.stride;
    out.rows = stored.rows;
    out.colours = stored.colours;
    return true;
}

void GifDecoder::ResetDecoder() { m_state->reset(); }

}  // namespace quell::image
