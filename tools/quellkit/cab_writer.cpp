#include "cab_writer.h"

#include <algorithm>
#include <ctime>

#include "core/cabinet/cabinet_types.h"
#include "core/cabinet/checksum.h"
#include "core/text/text_codec.h"

namespace quellkit::cab {
namespace {

constexpr size_t kBlockSize = 32768;
constexpr uint16_t kFromPrevious = 0xFFFD;
constexpr uint16_t kToNext = 0xFFFE;
constexpr uint16_t kPreviousAndNext = 0xFFFF;

void put16(std::vector<uint8_t>& out, uint32_t v) {
    out.push_back(static_cast<uint8_t>(v));
    out.push_back(static_cast<uint8_t>(v >> 8));
}
void put32(std::vector<uint8_t>& out, uint32_t v) {
    put16(out, v & 0xFFFF);
    put16(out, v >> 16);
}
void set32(std::vector<uint8_t>& out, size_t at, uint32_t v) {
    for (int i = 0; i < 4; ++i) out[at + i] = static_cast<uint8_t>(v >> (8 * i));
}
void putString(std::vector<uint8_t>& out, const std::string& s) {
    out.insert(out.end(), s.begin(), s.end());
    out.push_back(0);
}

struct Block {
    std::vector<uint8_t> bytes;
    uint32_t start = 0;  // folder offset of its first uncompressed byte
    uint16_t size = 0;   // uncompressed size
};

struct EncodedFolder {
    uint16_t word = 0;
    uint32_t total = 0;
    std::vector<Block> blocks;
    std::vector<uint32_t> offsets;  // per file
};

// One data-block record of one cabinet: a whole block or one of its two pieces.
struct Piece {
    size_t folder = 0;
    size_t block = 0;
    std::vector<uint8_t> bytes;
    bool attributed = true;  // false for the first piece of a split block
};

struct CabinetPlan {
    std::vector<Piece> pieces;
    std::vector<size_t> folders;  // global folder numbers in local order
};

EncodedFolder encodeFolder(const WriterFolder& folder) {
    EncodedFolder e;
    e.word = folder.encoder->compressionWord();
    std::vector<uint8_t> data;
    for (const WriterFile& f : folder.files) {
        e.offsets.push_back(static_cast<uint32_t>(data.size()));
        data.insert(data.end(), f.data.begin(), f.data.end());
    }
    e.total = static_cast<uint32_t>(data.size());
    folder.encoder->beginFolder();
    for (size_t at = 0; at < data.size(); at += kBlockSize) {
        size_t n = std::min(kBlockSize, data.size() - at);
        Block b;
        b.bytes = folder.encoder->encode({data.data() + at, n});
        b.start = static_cast<uint32_t>(at);
        b.size = static_cast<uint16_t>(n);
        e.blocks.push_back(std::move(b));
    }
    return e;
}

std::vector<CabinetPlan> planCabinets(const std::vector<EncodedFolder>& folders, const WriterOptions& o) {
    std::vector<CabinetPlan> plans(1);
    size_t totalBlocks = 0;
    for (const auto& f : folders) totalBlocks += f.blocks.size();
    size_t seen = 0;
    auto addFolder = [&](size_t f) {
        auto& list = plans.back().folders;
        if (list.empty() || list.back() != f) list.push_back(f);
    };
    for (size_t f = 0; f < folders.size(); ++f) {
        if (folders[f].blocks.empty()) addFolder(f);
        for (size_t b = 0; b < folders[f].blocks.size(); ++b) {
            ++seen;
            const size_t limit = o.piecesPerCabinet;
            // A cabinet boundary always falls inside a folder, so that the
            // folder runs on into the next cabinet and a reader walking the
            // first cabinet's table reaches every later one.
            if (limit && b > 0 && plans.back().pieces.size() >= limit) plans.emplace_back();
            const std::vector<uint8_t>& bytes = folders[f].blocks[b].bytes;
            const bool more = seen < totalBlocks;
            if (limit && o.splitBlocks && more && plans.back().pieces.size() + 1 >= limit) {
                const size_t cut = bytes.size() / 2;
                addFolder(f);
                plans.back().pieces.push_back({f, b, {bytes.begin(), bytes.begin() + cut}, false});
                plans.emplace_back();
                addFolder(f);
                plans.back().pieces.push_back({f, b, {bytes.begin() + cut, bytes.end()}, true});
                continue;
            }
            addFolder(f);
            plans.back().pieces.push_back({f, b, bytes, true});
        }
    }
    return plans;
}

std::string cabinetName(const WriterOptions& o, size_t k) {
    if (k < o.cabinetNames.size()) return o.cabinetNames[k];
    return "part" + std::to_string(k + 1) + ".cab";
}

}  // namespace

std::string NameProblem(const std::string& name) {
    if (name.size() > 255) return "name too long";
    if (!quell::text::isValidUtf8(name)) return "name is not UTF-8";
    return {};
}

uint16_t NameAttributes(const std::string& name) {
    for (char ch : name)
        if (static_cast<unsigned char>(ch) >= 0x80) return quell::cabinet::kAttributeNameIsUtf8;
    return 0;
}

void DosDateTimeFromEpoch(long long secondsSinceEpoch, uint16_t* date, uint16_t* time) {
    std::time_t t = static_cast<std::time_t>(secondsSinceEpoch);
    std::tm tm{};
    localtime_r(&t, &tm);
    int year = tm.tm_year + 1900;
    if (year < 1980) {
        *date = (1 << 5) | 1;
        *time = 0;
        return;
    }
    if (year > 2107) year = 2107;
    *date = static_cast<uint16_t>((year - 1980) << 9 | (tm.tm_mon + 1) << 5 | tm.tm_mday);
    *time = static_cast<uint16_t>(tm.tm_hour << 11 | tm.tm_min << 5 | tm.tm_sec / 2);
}

std::vector<std::vector<uint8_t>> WriteCabinetSet(const std::vector<WriterFolder>& folders, const WriterOptions& o) {
    std::vector<EncodedFolder> encoded;
    for (const WriterFolder& f : folders) encoded.push_back(encodeFolder(f));
    const std::vector<CabinetPlan> plans = planCabinets(encoded, o);
    const bool reserveFlag = o.forceReserveFlag || o.headerReserve || o.folderReserve || o.dataReserve;

    // Which cabinets list each file: those holding a piece of a block the
    // file has bytes in. A file in a block cut across two cabinets is listed
    // in both, continued from one into the other.
    struct Coverage {
        uint32_t begin = UINT32_MAX, end = 0;
    };
    std::vector<std::vector<Coverage>> coverage(plans.size(), std::vector<Coverage>(folders.size()));
    for (size_t k = 0; k < plans.size(); ++k)
        for (const Piece& p : plans[k].pieces) {
            const Block& b = encoded[p.folder].blocks[p.block];
            Coverage& c = coverage[k][p.folder];
            c.begin = std::min(c.begin, b.start);
            c.end = std::max(c.end, b.start + b.size);
        }
    auto listedIn = [&](size_t k, size_t f, size_t i) {
        const Coverage& c = coverage[k][f];
        if (c.begin == UINT32_MAX) {
            // A folder without blocks lists its (empty) files where it stands.
            if (!encoded[f].blocks.empty()) return false;
            for (size_t local : plans[k].folders)
                if (local == f) return true;
            return false;
        }
        const uint32_t s = encoded[f].offsets[i];
        const uint32_t e = s + static_cast<uint32_t>(folders[f].files[i].data.size());
        if (s == e) {
            // An empty file goes with the first cabinet that reaches its offset.
            for (size_t j = 0; j < k; ++j)
                if (coverage[j][f].begin != UINT32_MAX && s >= coverage[j][f].begin && s < coverage[j][f].end)
                    return false;
            return (s >= c.begin && s < c.end) || (s == encoded[f].total && c.end == s);
        }
        return s < c.end && e > c.begin;
    };

    std::vector<std::vector<uint8_t>> result;
    for (size_t k = 0; k < plans.size(); ++k) {
        const CabinetPlan& plan = plans[k];
        const bool hasPrevious = k > 0;
        const bool hasNext = k + 1 < plans.size();
        std::vector<uint16_t> pieceCounts(plan.folders.size(), 0);
        for (const Piece& p : plan.pieces) {
            size_t local = 0;
            while (plan.folders[local] != p.folder) ++local;
            ++pieceCounts[local];
        }

        struct Entry {
            const WriterFile* file;
            uint32_t offset;
            uint16_t folder;
        };
        std::vector<Entry> entries;
        for (size_t local = 0; local < plan.folders.size(); ++local) {
            const size_t f = plan.folders[local];
            for (size_t i = 0; i < folders[f].files.size(); ++i) {
                if (!listedIn(k, f, i)) continue;
                const WriterFile& file = folders[f].files[i];
                const bool fromPrevious = !file.data.empty() && k > 0 && listedIn(k - 1, f, i);
                const bool toNext = !file.data.empty() && k + 1 < plans.size() && listedIn(k + 1, f, i);
                uint16_t index = static_cast<uint16_t>(local);
                if (fromPrevious && toNext) index = kPreviousAndNext;
                else if (fromPrevious) index = kFromPrevious;
                else if (toNext) index = kToNext;
                entries.push_back({&file, encoded[f].offsets[i], index});
            }
        }

        std::vector<uint8_t> out;
        out.insert(out.end(), {'M', 'S', 'C', 'F'});
        put32(out, 0);
        put32(out, 0);  // cabinet size, set below
        put32(out, 0);
        put32(out, 0);  // file table offset, set below
        put32(out, 0);
        out.push_back(3);
        out.push_back(1);
        put16(out, static_cast<uint16_t>(plan.folders.size()));
        put16(out, static_cast<uint16_t>(entries.size()));
        put16(out, (hasPrevious ? 1 : 0) | (hasNext ? 2 : 0) | (reserveFlag ? 4 : 0));
        put16(out, o.setId);
        put16(out, static_cast<uint16_t>(k));
        if (reserveFlag) {
            put16(out, o.headerReserve);
            out.push_back(o.folderReserve);
            out.push_back(o.dataReserve);
            out.insert(out.end(), o.headerReserve, 0x48);
        }
        if (hasPrevious) {
            putString(out, cabinetName(o, k - 1));
            putString(out, "disk " + std::to_string(k));
        }
        if (hasNext) {
            putString(out, cabinetName(o, k + 1));
            putString(out, "disk " + std::to_string(k + 2));
        }
        const size_t folderTable = out.size();
        for (size_t local = 0; local < plan.folders.size(); ++local) {
            put32(out, 0);  // first block, set below
            put16(out, pieceCounts[local]);
            put16(out, encoded[plan.folders[local]].word);
            out.insert(out.end(), o.folderReserve, 0x46);
        }
        set32(out, 16, static_cast<uint32_t>(out.size()));
        for (const Entry& e : entries) {
            put32(out, static_cast<uint32_t>(e.file->data.size()));
            put32(out, e.offset);
            put16(out, e.folder);
            put16(out, e.file->date);
            put16(out, e.file->time);
            put16(out, e.file->attributes);
            putString(out, e.file->name);
        }
        size_t previousFolder = SIZE_MAX;
        for (const Piece& p : plan.pieces) {
            if (p.folder != previousFolder) {
                size_t local = 0;
                while (plan.folders[local] != p.folder) ++local;
                set32(out, folderTable + local * (8u + o.folderReserve), static_cast<uint32_t>(out.size()));
                previousFolder = p.folder;
            }
            const Block& b = encoded[p.folder].blocks[p.block];
            std::vector<uint8_t> head;
            put16(head, static_cast<uint16_t>(p.bytes.size()));
            put16(head, p.attributed ? b.size : 0);
            head.insert(head.end(), o.dataReserve, 0x44);
            uint32_t sum = 0;
            if (o.checksums) {
                sum = quell::cabinet::CabinetChecksum(p.bytes, 0);
                sum = quell::cabinet::CabinetChecksum(head, sum);
            }
            put32(out, sum);
            out.insert(out.end(), head.begin(), head.end());
            out.insert(out.end(), p.bytes.begin(), p.bytes.end());
        }
        set32(out, 8, static_cast<uint32_t>(out.size()));
        result.push_back(std::move(out));
    }
    return result;
}

std::vector<uint8_t> WriteCabinet(const std::vector<WriterFolder>& folders, const WriterOptions& options) {
    WriterOptions single = options;
    single.piecesPerCabinet = 0;
    return WriteCabinetSet(folders, single).front();
}

}  // namespace quellkit::cab
