#pragma once
// Writes cabinet files: one cabinet, or a set whose folders run on from one
// cabinet into the next, with any block encoder, reserve areas and checksums.
#include <cstdint>
#include <memory>
#include <span>
#include <string>
#include <vector>

namespace quellkit::cab {

// Turns the blocks of one folder, in order, into data-block bytes. An encoder
// may keep history from one block to the next; beginFolder starts afresh.
class BlockEncoder {
public:
    virtual ~BlockEncoder() = default;
    virtual uint16_t compressionWord() const = 0;
    virtual void beginFolder() {}
    virtual std::vector<uint8_t> encode(std::span<const uint8_t> block) = 0;
};

// Copies the bytes as they are (method 0).
class StoredEncoder : public BlockEncoder {
public:
    uint16_t compressionWord() const override { return 0; }
    std::vector<uint8_t> encode(std::span<const uint8_t> block) override { return {block.begin(), block.end()}; }
};

struct WriterFile {
    std::string name;
    std::vector<uint8_t> data;
    uint16_t date = 0x5A21;  // 2025-01-01
    uint16_t time = 0x6000;  // 12:00:00
    uint16_t attributes = 0x20;
};

struct WriterFolder {
    std::shared_ptr<BlockEncoder> encoder;
    std::vector<WriterFile> files;
};

struct WriterOptions {
    uint16_t setId = 0;
    uint16_t headerReserve = 0;
    uint8_t folderReserve = 0;
    uint8_t dataReserve = 0;
    bool forceReserveFlag = false;  // write the reserve sizes even when all are 0
    bool checksums = true;
    // 0 keeps every block in one cabinet; otherwise a cabinet holds at most
    // this many data-block pieces and the rest go on into the next cabinet.
    size_t piecesPerCabinet = 0;
    // At each cabinet boundary inside a folder, cut the next block in two.
    bool splitBlocks = false;
    // Names of the cabinets of a set (written into their neighbours'
    // headers); missing names become "partN.cab".
    std::vector<std::string> cabinetNames;
};

// What keeps a name read from the file system (UTF-8) out of a cabinet, or
// empty when nothing does: more than 255 bytes, or bytes that are not UTF-8.
std::string NameProblem(const std::string& name);

// The attributes a name adds to its file: the UTF-8 mark for a name with any
// character beyond ASCII, nothing for plain ASCII, which every reader takes
// as it stands.
uint16_t NameAttributes(const std::string& name);

// Convenience: the current local time of a file as MS-DOS date and time.
void DosDateTimeFromEpoch(long long secondsSinceEpoch, uint16_t* date, uint16_t* time);

// The cabinets of the set, first to last (one when nothing is split).
std::vector<std::vector<uint8_t>> WriteCabinetSet(const std::vector<WriterFolder>& folders,
                                                  const WriterOptions& options);

// One cabinet; piecesPerCabinet is ignored.
std::vector<uint8_t> WriteCabinet(const std::vector<WriterFolder>& folders, const WriterOptions& options = {});

}  // namespace quellkit::cab
