#pragma once
// gzip files as Debian wants its documentation: best compression and no time
// stamp or name in the header, so the same text always gives the same bytes.
#include <cstdint>
#include <string_view>
#include <vector>

namespace quellkit {

// Empty when compression fails.
std::vector<uint8_t> GzipText(std::string_view text);

}  // namespace quellkit
