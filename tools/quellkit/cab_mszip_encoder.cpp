#include "cab_mszip_encoder.h"

#include <zlib.h>

namespace quellkit::cab {
namespace {

// The largest data block the reader accepts for MSZIP.
constexpr size_t kMaxCompressed = 32768 + 12;

// One final stored deflate block: always fits, whatever the data.
std::vector<uint8_t> storedBlock(std::span<const uint8_t> block) {
    std::vector<uint8_t> out{'C', 'K', 0x01};
    const uint16_t n = static_cast<uint16_t>(block.size());
    out.push_back(static_cast<uint8_t>(n));
    out.push_back(static_cast<uint8_t>(n >> 8));
    out.push_back(static_cast<uint8_t>(~n));
    out.push_back(static_cast<uint8_t>(~n >> 8));
    out.insert(out.end(), block.begin(), block.end());
    return out;
}

}  // namespace

MszipEncoder::MszipEncoder(int level) : m_level(level) {}

std::vector<uint8_t> MszipEncoder::encode(std::span<const uint8_t> block) {
    std::vector<uint8_t> out;
    z_stream z{};
    if (deflateInit2(&z, m_level, Z_DEFLATED, -15, 9, Z_DEFAULT_STRATEGY) == Z_OK) {
        if (!m_history.empty()) deflateSetDictionary(&z, m_history.data(), static_cast<uInt>(m_history.size()));
        out.assign(2 + deflateBound(&z, static_cast<uLong>(block.size())) + 16, 0);
        out[0] = 'C';
        out[1] = 'K';
        z.next_in = const_cast<Bytef*>(block.data());
        z.avail_in = static_cast<uInt>(block.size());
        z.next_out = out.data() + 2;
        z.avail_out = static_cast<uInt>(out.size() - 2);
        const int status = deflate(&z, Z_FINISH);
        if (status == Z_STREAM_END) out.resize(2 + z.total_out);
        else out.clear();
        deflateEnd(&z);
    }
    if (out.empty() || out.size() > kMaxCompressed) out = storedBlock(block);
    m_history.assign(block.begin(), block.end());
    return out;
}

}  // namespace quellkit::cab
