#pragma once
// Fixed-width integers read from byte buffers in either byte order. The
// free functions read at an offset the caller has already checked; a read
// that would run past the end gives 0 rather than touching memory outside
// the span. ByteCursor walks a buffer front to back and, once a read runs
// short, stays failed and gives 0 for every later read, so a parser can read
// a whole record and test ok() once.
#include <cstddef>
#include <cstdint>
#include <span>
#include <vector>

namespace quell::bytes {

using Bytes = std::span<const uint8_t>;

// True when `count` bytes starting at `offset` lie inside the buffer.
constexpr bool fits(Bytes data, size_t offset, size_t count) {
    return offset <= data.size() && count <= data.size() - offset;
}

constexpr uint16_t readLe16(Bytes data, size_t offset) {
    if (!fits(data, offset, 2)) return 0;
    return static_cast<uint16_t>(data[offset] | (data[offset + 1] << 8));
}

constexpr uint32_t readLe32(Bytes data, size_t offset) {
    if (!fits(data, offset, 4)) return 0;
    return static_cast<uint32_t>(data[offset]) | (static_cast<uint32_t>(data[offset + 1]) << 8) |
           (static_cast<uint32_t>(data[offset + 2]) << 16) | (static_cast<uint32_t>(data[offset + 3]) << 24);
}

constexpr uint16_t readBe16(Bytes data, size_t offset) {
    if (!fits(data, offset, 2)) return 0;
    return static_cast<uint16_t>((data[offset] << 8) | data[offset + 1]);
}

constexpr uint32_t readBe32(Bytes data, size_t offset) {
    if (!fits(data, offset, 4)) return 0;
    return (static_cast<uint32_t>(data[offset]) << 24) | (static_cast<uint32_t>(data[offset + 1]) << 16) |
           (static_cast<uint32_t>(data[offset + 2]) << 8) | static_cast<uint32_t>(data[offset + 3]);
}

// Stores a 32-bit value least significant byte first at p, which must have
// room for four bytes.
constexpr void writeLe32(uint8_t* p, uint32_t value) {
    p[0] = static_cast<uint8_t>(value);
    p[1] = static_cast<uint8_t>(value >> 8);
    p[2] = static_cast<uint8_t>(value >> 16);
    p[3] = static_cast<uint8_t>(value >> 24);
}

inline void appendLe32(std::vector<uint8_t>& out, uint32_t value) {
    for (int i = 0; i < 4; ++i) out.push_back(static_cast<uint8_t>(value >> (8 * i)));
}

class ByteCursor {
public:
    constexpr explicit ByteCursor(Bytes data, size_t position = 0) : m_data(data), m_position(position) {
        if (position > data.size()) fail();
    }

    constexpr bool ok() const { return !m_failed; }
    constexpr size_t position() const { return m_position; }
    constexpr size_t remaining() const { return m_failed ? 0 : m_data.size() - m_position; }

    constexpr uint8_t u8() {
        if (!take(1)) return 0;
        return m_data[m_position - 1];
    }
    constexpr uint16_t le16() { return take(2) ? readLe16(m_data, m_position - 2) : 0; }
    constexpr uint32_t le32() { return take(4) ? readLe32(m_data, m_position - 4) : 0; }
    constexpr uint16_t be16() { return take(2) ? readBe16(m_data, m_position - 2) : 0; }
    constexpr uint32_t be32() { return take(4) ? readBe32(m_data, m_position - 4) : 0; }

    // The next `count` bytes, or an empty span (and the cursor failed) when
    // fewer remain.
    constexpr Bytes bytes(size_t count) {
        if (!take(count)) return {};
        return m_data.subspan(m_position - count, count);
    }
    constexpr void skip(size_t count) { take(count); }

private:
    constexpr bool take(size_t count) {
        if (m_failed) return false;
        if (!fits(m_data, m_position, count)) {
            fail();
            return false;
        }
        m_position += count;
        return true;
    }
    constexpr void fail() {
        m_failed = true;
        m_position = m_data.size();
    }

    Bytes m_data;
    size_t m_position = 0;
    bool m_failed = false;
};

}  // namespace quell::bytes
