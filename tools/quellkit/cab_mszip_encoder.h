#pragma once
// MSZIP blocks made with zlib's deflate: each block a complete raw deflate
// stream after "CK", primed with the previous block as its dictionary.
#include "cab_writer.h"

namespace quellkit::cab {

class MszipEncoder : public BlockEncoder {
public:
    explicit MszipEncoder(int level = 9);
    uint16_t compressionWord() const override { return 1; }
    void beginFolder() override { m_history.clear(); }
    std::vector<uint8_t> encode(std::span<const uint8_t> block) override;

private:
    int m_level;
    std::vector<uint8_t> m_history;
};

}  // namespace quellkit::cab
