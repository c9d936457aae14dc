#include "core/cabinet/mszip_decoder.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <vector>

#include "support/test_encoders.h"
#include "support/test_files.h"

namespace {

using namespace quell::cabinet;

// Deflate bits, least significant first, for hand-made streams.
struct Bits {
    std::vector<uint8_t> out;
    unsigned count = 0;
    Bits() {
        out.push_back('C');
        out.push_back('K');
    }
    Bits& put(uint32_t value, unsigned n) {
        for (unsigned i = 0; i < n; ++i) {
            if (count % 8 == 0) out.push_back(0);
            out.back() |= static_cast<uint8_t>(((value >> i) & 1u) << (count % 8));
            ++count;
        }
        return *this;
    }
};

class Mszip {
public:
    Mszip() { EXPECT_EQ(CreateMszipDecoder(0, {std::malloc, std::free}, &m_decoder, &m_inputSize), kDecoderOk); }
    ~Mszip() { DestroyMszipDecoder(m_decoder); }
    // False when the stream is refused; otherwise out holds what it decoded to.
    bool decode(const std::vector<uint8_t>& in, std::vector<uint8_t>* out) {
        out->assign(32768, 0);
        size_t produced = 0;
        if (MszipDecompress(m_decoder, in, *out, &produced) != 0) return false;
        out->resize(produced);
        return true;
    }
    unsigned inputSize() const { return m_inputSize; }

private:
    MszipDecoder* m_decoder = nullptr;
    unsigned m_inputSize = 0;
};

TEST(MszipDecoder, CreatesWithTheFormatsInputSizeAndReportsFailures) {
    EXPECT_EQ(Mszip().inputSize(), 32780u);
    MszipDecoder* d = nullptr;
    auto failing = [](size_t) -> void* { return nullptr; };
    EXPECT_EQ(CreateMszipDecoder(0, {failing, std::free}, &d, nullptr), kDecoderOutOfMemory);
    EXPECT_EQ(d, nullptr);
    ASSERT_EQ(CreateMszipDecoder(0, {std::malloc, std::free}, &d, nullptr), kDecoderOk);
    EXPECT_EQ(ResetMszipDecoder(d), 0);
    EXPECT_NE(ResetMszipDecoder(nullptr), 0);
    DestroyMszipDecoder(d);
}

TEST(MszipDecoder, RoundTripsBlocksThatShareHistory) {
    struct Case {
        const char* name;
        std::vector<uint8_t> data;
    };
    const std::vector<Case> cases = {
        {"text", cabtest::textData(100000, 1)},
        {"bitmap", cabtest::bitmapData(70000, 2)},
        {"noise", cabtest::noiseData(40000, 3)},
        {"zeros", std::vector<uint8_t>(65536, 0)},
        {"short", {'a', 'b', 'c'}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        cabtest::FixedDeflateEncoder encoder;
        Mszip m;
        std::vector<uint8_t> decoded;
        for (size_t at = 0; at < c.data.size(); at += 32768) {
            std::span<const uint8_t> block(c.data.data() + at, std::min<size_t>(32768, c.data.size() - at));
            std::vector<uint8_t> out;
            ASSERT_TRUE(m.decode(encoder.encode(block), &out));
            decoded.insert(decoded.end(), out.begin(), out.end());
        }
        EXPECT_EQ(decoded, c.data);
    }
}

TEST(MszipDecoder, BackReferencesReachIntoThePreviousBlock) {
    // The second block repeats the first, so every match of its stream lies
    // in the previous block's bytes, up to 32768 back.
    const std::vector<uint8_t> first = cabtest::bitmapData(32768, 7);
    cabtest::FixedDeflateEncoder encoder;
    const std::vector<uint8_t> a = encoder.encode(first);
    const std::vector<uint8_t> b = encoder.encode(first);
    ASSERT_LT(b.size(), 1000u);
    Mszip m;
    std::vector<uint8_t> out;
    ASSERT_TRUE(m.decode(a, &out));
    ASSERT_TRUE(m.decode(b, &out));
    EXPECT_EQ(out, first);
}

TEST(MszipDecoder, DecodesStoredBlocks) {
    Bits s;
    s.put(0, 1).put(0, 2);  // not final, stored
    s.out.insert(s.out.end(), {3, 0, 0xFC, 0xFF, 'a', 'b', 'c'});
    s.count = static_cast<unsigned>((s.out.size() - 2) * 8);
    s.put(1, 1).put(1, 2).put(0, 7);  // final fixed block with only the end code
    Mszip m;
    std::vector<uint8_t> out;
    ASSERT_TRUE(m.decode(s.out, &out));
    EXPECT_EQ(out, (std::vector<uint8_t>{'a', 'b', 'c'}));
}

TEST(MszipDecoder, ReadsZeroBitsPastTheBlock) {
    // A fixed block of one literal 'A' (code 0x71, 8 bits) whose end code
    // (seven zero bits) is missing from the input.
    Bits s;
    s.put(1, 1).put(1, 2);
    for (int i = 7; i >= 0; --i) s.put((0x71 >> i) & 1, 1);
    Mszip m;
    std::vector<uint8_t> out;
    ASSERT_TRUE(m.decode(s.out, &out));
    EXPECT_EQ(out, (std::vector<uint8_t>{'A'}));
}

TEST(MszipDecoder, StopsWhenTheOutputIsFull) {
    // 40000 zero bytes coded as one stream: the block ends at 32768 bytes.
    Mszip m;
    std::vector<uint8_t> out;
    ASSERT_TRUE(m.decode(cabtest::FixedDeflateEncoder().encode(std::vector<uint8_t>(40000, 0)), &out));
    EXPECT_EQ(out.size(), 32768u);
}

TEST(MszipDecoder, RejectsMalformedStreams) {
    struct Case {
        const char* name;
        std::vector<uint8_t> stream;
    };
    std::vector<Case> cases;
    cases.push_back({"no CK prefix", {'C', 'X', 0x03, 0x00}});
    cases.push_back({"empty", {}});
    cases.push_back({"block type 3", Bits().put(1, 1).put(3, 2).out});
    {
        Bits s;
        s.put(1, 1).put(0, 2);
        s.out.insert(s.out.end(), {3, 0, 0xFC, 0xFE, 'a', 'b', 'c'});
        cases.push_back({"stored length and complement disagree", s.out});
    }
    cases.push_back({"287 literal codes", Bits().put(1, 1).put(2, 2).put(30, 5).put(0, 5).put(0, 4).out});
    cases.push_back({"31 distance codes", Bits().put(1, 1).put(2, 2).put(0, 5).put(30, 5).put(0, 4).out});
    {
        // Code-length code: 18 and 0 of length 1; two runs of 138 zeros
        // overrun the 258 lengths declared.
        Bits s;
        s.put(1, 1).put(2, 2).put(0, 5).put(0, 5).put(0, 4);
        s.put(0, 3).put(0, 3).put(1, 3).put(1, 3);
        s.put(1, 1).put(127, 7).put(1, 1).put(127, 7);
        cases.push_back({"repeat past the declared count", s.out});
    }
    {
        // Code-length code: 16 and 0 of length 1; 16 comes first.
        Bits s;
        s.put(1, 1).put(2, 2).put(0, 5).put(0, 5).put(0, 4);
        s.put(1, 3).put(0, 3).put(0, 3).put(1, 3);
        s.put(1, 1).put(0, 2);
        cases.push_back({"repeat without a previous length", s.out});
    }
    {
        // Three code-length codes of length 1 cannot coexist.
        Bits s;
        s.put(1, 1).put(2, 2).put(0, 5).put(0, 5).put(0, 4);
        s.put(1, 3).put(1, 3).put(1, 3).put(0, 3);
        cases.push_back({"over-subscribed code", s.out});
    }
    {
        // Fixed block with distance code 30, which no distance has.
        Bits s;
        s.put(1, 1).put(1, 2);
        for (int i = 6; i >= 0; --i) s.put((1 >> i) & 1, 1);  // length symbol 257
        for (int i = 4; i >= 0; --i) s.put((30 >> i) & 1, 1);
        cases.push_back({"invalid distance code", s.out});
    }
    {
        std::vector<uint8_t> big(32781, 0);
        big[0] = 'C';
        big[1] = 'K';
        cases.push_back({"input over 32780 bytes", big});
    }
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        Mszip m;
        std::vector<uint8_t> out;
        EXPECT_FALSE(m.decode(c.stream, &out));
    }
}

}  // namespace
