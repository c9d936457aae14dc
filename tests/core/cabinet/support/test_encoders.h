#pragma once
// Block encoders written for the tests: a fixed-Huffman deflate coder for
// MSZIP and a Quantum coder that drives the same adaptive models as the
// decoder. Both find matches greedily, reaching back into earlier blocks of
// the folder.
#include <cstdint>
#include <span>
#include <string>
#include <vector>

#include "cab_writer.h"
#include "core/cabinet/quantum_tables.h"

namespace cabtest {

// A file for the writer with its default date and time.
inline quellkit::cab::WriterFile file(const std::string& name, std::vector<uint8_t> data, uint16_t attributes = 0x20) {
    return {.name = name, .data = std::move(data), .attributes = attributes};
}

class FixedDeflateEncoder : public quellkit::cab::BlockEncoder {
public:
    uint16_t compressionWord() const override { return 1; }
    void beginFolder() override { m_history.clear(); }
    std::vector<uint8_t> encode(std::span<const uint8_t> block) override;

private:
    std::vector<uint8_t> m_history;
};

class QuantumTestEncoder : public quellkit::cab::BlockEncoder {
public:
    explicit QuantumTestEncoder(unsigned windowBits, bool literalsOnly = false);
    uint16_t compressionWord() const override;
    void beginFolder() override;
    std::vector<uint8_t> encode(std::span<const uint8_t> block) override;

private:
    unsigned m_windowBits;
    bool m_literalsOnly;
    quell::cabinet::quantum::ModelSet m_models;
    std::vector<uint8_t> m_history;  // everything encoded in this folder
};

// Finds the longest earlier match for data[pos...] (up to maxLength bytes and
// maxDistance back) with a hash chain over the whole buffer.
class MatchFinder {
public:
    // Positions before `from` are never offered as match sources.
    MatchFinder(std::span<const uint8_t> data, size_t from);
    // Adds positions up to (not including) pos to the chains.
    void advanceTo(size_t pos);
    // Returns the length (0 if below 3) and sets distance.
    size_t longest(size_t pos, size_t maxLength, size_t maxDistance, size_t* distance) const;

private:
    std::span<const uint8_t> m_data;
    size_t m_inserted = 0;
    std::vector<int32_t> m_head;
    std::vector<int32_t> m_prev;
};

}  // namespace cabtest
