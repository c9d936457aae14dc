#include "core/cabinet/quantum_decoder.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdlib>
#include <random>
#include <string>
#include <vector>

#include "support/test_encoders.h"
#include "support/test_files.h"

namespace {

using namespace quell::cabinet;

class Quantum {
public:
    explicit Quantum(unsigned bits) {
        EXPECT_EQ(CreateQuantumDecoder(0, bits, 1, {std::malloc, std::free}, &m_decoder, &m_inputSize), kDecoderOk);
    }
    ~Quantum() { DestroyQuantumDecoder(m_decoder); }
    bool decode(const std::vector<uint8_t>& in, size_t size, std::vector<uint8_t>* out) {
        out->assign(size, 0xEE);
        return QuantumDecompress(m_decoder, in, *out) == 0;
    }
    void reset() { EXPECT_EQ(ResetQuantumDecoder(m_decoder), 0); }
    unsigned inputSize() const { return m_inputSize; }

private:
    QuantumDecoder* m_decoder = nullptr;
    unsigned m_inputSize = 0;
};

std::vector<uint8_t> roundTrip(cabtest::QuantumTestEncoder& encoder, Quantum& decoder, const std::vector<uint8_t>& data,
                               bool* ok) {
    std::vector<uint8_t> decoded;
    *ok = true;
    for (size_t at = 0; at < data.size(); at += 32768) {
        std::span<const uint8_t> block(data.data() + at, std::min<size_t>(32768, data.size() - at));
        std::vector<uint8_t> out;
        if (!decoder.decode(encoder.encode(block), block.size(), &out)) {
            *ok = false;
            break;
        }
        decoded.insert(decoded.end(), out.begin(), out.end());
    }
    return decoded;
}

TEST(QuantumDecoder, CreationAcceptsWindowBitsTenToTwentyOne) {
    for (unsigned bits : {9u, 10u, 21u, 22u}) {
        SCOPED_TRACE(bits);
        QuantumDecoder* d = nullptr;
        const int status = CreateQuantumDecoder(0, bits, 1, {std::malloc, std::free}, &d, nullptr);
        if (bits == 9 || bits == 22) {
            EXPECT_EQ(status, kDecoderFailed);
            EXPECT_EQ(d, nullptr);
        } else {
            EXPECT_EQ(status, kDecoderOk);
        }
        DestroyQuantumDecoder(d);
    }
    Quantum q(15);
    EXPECT_EQ(q.inputSize(), 43008u);
}

TEST(QuantumDecoder, RoundTripsThroughTheTestEncoder) {
    struct Case {
        const char* name;
        unsigned bits;
        bool literalsOnly;
        std::vector<uint8_t> data;
    };
    const std::vector<Case> cases = {
        {"text, 2^10 window", 10, false, cabtest::textData(90000, 1)},
        {"text, 2^21 window", 21, false, cabtest::textData(90000, 2)},
        {"bitmap, 2^16 window", 16, false, cabtest::bitmapData(100000, 3)},
        {"noise, literals only", 12, true, cabtest::noiseData(40000, 4)},
        {"zeros, long matches", 15, false, std::vector<uint8_t>(200000, 0)},
        {"one byte", 10, false, {0x42}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        cabtest::QuantumTestEncoder encoder(c.bits, c.literalsOnly);
        Quantum decoder(c.bits);
        bool ok = false;
        EXPECT_EQ(roundTrip(encoder, decoder, c.data, &ok), c.data);
        EXPECT_TRUE(ok);
    }
}

TEST(QuantumDecoder, RoundTripsRandomFoldersThroughTheTestEncoder) {
    // The encoder moves its models with Model::update and the decoder with
    // its own eight-lane update and search; a disagreement anywhere in a
    // folder shows as wrong bytes from there on.
    std::mt19937 rng(20240611);
    for (int round = 0; round < 24; ++round) {
        const unsigned bits = 10 + rng() % 12;
        SCOPED_TRACE("round " + std::to_string(round) + ", window bits " + std::to_string(bits));
        std::vector<uint8_t> data;
        const size_t size = 1 + rng() % 120000;
        while (data.size() < size) {
            const size_t piece = 1 + rng() % 20000;
            const uint32_t seed = rng();
            std::vector<uint8_t> p;
            switch (rng() % 4) {
            case 0: p = cabtest::textData(piece, seed); break;
            case 1: p = cabtest::bitmapData(piece, seed); break;
            case 2: p = cabtest::noiseData(piece, seed); break;
            default: p.assign(piece, static_cast<uint8_t>(seed)); break;
            }
            data.insert(data.end(), p.begin(), p.end());
        }
        data.resize(size);
        cabtest::QuantumTestEncoder encoder(bits, round % 8 == 7);
        Quantum decoder(bits);
        std::vector<uint8_t> decoded;
        for (size_t at = 0; at < data.size();) {
            const size_t n = std::min<size_t>(rng() % 3 ? 32768 : 1 + rng() % 32768, data.size() - at);
            std::span<const uint8_t> block(data.data() + at, n);
            std::vector<uint8_t> out;
            ASSERT_TRUE(decoder.decode(encoder.encode(block), n, &out)) << "block at " << at;
            decoded.insert(decoded.end(), out.begin(), out.end());
            at += n;
        }
        EXPECT_EQ(decoded, data);
    }
}

TEST(QuantumDecoder, ResetStartsFreshModelsAtWritePositionZero) {
    const std::vector<uint8_t> a = cabtest::textData(50000, 5);
    const std::vector<uint8_t> b = cabtest::bitmapData(50000, 6);
    cabtest::QuantumTestEncoder encoder(14);
    Quantum decoder(14);
    bool ok = false;
    ASSERT_EQ(roundTrip(encoder, decoder, a, &ok), a);
    encoder.beginFolder();
    decoder.reset();
    EXPECT_EQ(roundTrip(encoder, decoder, b, &ok), b);
    EXPECT_TRUE(ok);

    // Without the reset the second folder's models are stale and its bytes come out wrong.
    cabtest::QuantumTestEncoder encoder2(14);
    Quantum stale(14);
    roundTrip(encoder2, stale, a, &ok);
    encoder2.beginFolder();
    EXPECT_NE(roundTrip(encoder2, stale, b, &ok), b);
}

TEST(QuantumDecoder, FailsWhenABlockNeedsBitsItDoesNotCarry) {
    const std::vector<uint8_t> data = cabtest::textData(32768, 8);
    cabtest::QuantumTestEncoder encoder(16);
    std::vector<uint8_t> stream = encoder.encode(data);
    stream.resize(stream.size() / 2);
    Quantum decoder(16);
    std::vector<uint8_t> out;
    EXPECT_FALSE(decoder.decode(stream, data.size(), &out));
}

TEST(QuantumDecoder, RefusesBlocksOverTheLargestOutput) {
    Quantum decoder(16);
    std::vector<uint8_t> out;
    EXPECT_FALSE(decoder.decode(std::vector<uint8_t>(100, 0), 32769, &out));
}

TEST(QuantumDecoder, NoiseDecodesAlikeEachTimeAndLeavesTheDecoderUsable) {
    // Noise must decode the same way from the same state, which an overread
    // of uninitialised memory would break, and a reset must bring back a
    // decoder that reads a real block correctly whatever the noise did.
    const std::vector<uint8_t> real = cabtest::textData(20000, 77);
    int failures = 0;
    for (uint32_t seed = 1; seed <= 50; ++seed) {
        SCOPED_TRACE("seed " + std::to_string(seed));
        const unsigned bits = 10 + seed % 12;
        const std::vector<uint8_t> noise = cabtest::noiseData(64 + seed * 37, seed);
        Quantum first(bits), second(bits);
        std::vector<uint8_t> a, b;
        const bool okA = first.decode(noise, 32768, &a);
        const bool okB = second.decode(noise, 32768, &b);
        EXPECT_EQ(okA, okB);
        EXPECT_EQ(a, b);
        failures += okA ? 0 : 1;

        first.reset();
        cabtest::QuantumTestEncoder encoder(bits);
        bool ok = false;
        EXPECT_EQ(roundTrip(encoder, first, real, &ok), real);
        EXPECT_TRUE(ok);
    }
    // Short noise runs out of bits long before 32,768 bytes are made.
    EXPECT_GT(failures, 40);
}

}  // namespace
