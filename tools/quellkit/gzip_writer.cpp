#include "gzip_writer.h"

#include <zlib.h>

namespace quellkit {

std::vector<uint8_t> GzipText(std::string_view text) {
    z_stream stream{};
    // A window of 15 bits plus 16 asks zlib for the gzip wrapper; its header
    // then carries no name and a time of 0.
    if (deflateInit2(&stream, Z_BEST_COMPRESSION, Z_DEFLATED, 15 + 16, 9, Z_DEFAULT_STRATEGY) != Z_OK) return {};
    std::vector<uint8_t> out(deflateBound(&stream, static_cast<uLong>(text.size())) + 32);
    stream.next_in = reinterpret_cast<Bytef*>(const_cast<char*>(text.data()));
    stream.avail_in = static_cast<uInt>(text.size());
    stream.next_out = out.data();
    stream.avail_out = static_cast<uInt>(out.size());
    const int result = deflate(&stream, Z_FINISH);
    out.resize(stream.total_out);
    deflateEnd(&stream);
    if (result != Z_STREAM_END) return {};
    return out;
}

}  // namespace quellkit
