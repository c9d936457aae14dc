#include "core/cabinet/cabinet_reader.h"

#include <cstring>
#include <new>

#include "core/bytes.h"
#include "core/cabinet/checksum.h"
#include "core/cabinet/mszip_decoder.h"
#include "core/cabinet/quantum_decoder.h"

namespace quell::cabinet {

const char* CabinetErrorName(int32_t code) {
    switch (code) {
    case kNoError: return "None";
    case CabinetNotFound: return "CabinetNotFound";
    case NotACabinet: return "NotACabinet";
    case UnknownVersion: return "UnknownVersion";
    case CorruptCabinet: return "CorruptCabinet";
    case OutOfMemory: return "OutOfMemory";
    case BadCompressionType: return "BadCompressionType";
    case DecompressFailed: return "DecompressFailed";
    case TargetFileFailed: return "TargetFileFailed";
    case ReserveMismatch: return "ReserveMismatch";
    case WrongCabinet: return "WrongCabinet";
    case UserAbort: return "UserAbort";
    default: return "UnknownError";
    }
}

namespace {

constexpr size_t kHeaderSize = 36;
constexpr uint16_t kFlagPrevious = 0x0001;
constexpr uint16_t kFlagNext = 0x0002;
constexpr uint16_t kFlagReserve = 0x0004;
constexpr uint16_t kFromPrevious = 0xFFFD;
constexpr uint16_t kToNext = 0xFFFE;
constexpr uint16_t kPreviousAndNext = 0xFFFF;
constexpr uint16_t kNoFolder = 0xFFFF;
constexpr uint16_t kVersion = 0x0103;
constexpr int kCabinetOpenFlags = kOpenBinary | kOpenReadOnly;
constexpr int kCabinetOpenMode = kPermissionRead | kPermissionWrite;
constexpr size_t kStoredInputSize = 32768;
// A NextCabinet callback that never aborts (the program's own answers 0)
// would otherwise have the reader retry a missing cabinet forever.
constexpr int kMaxNextCabinetAttempts = 16;

// Where the fields of the fixed 36-byte header lie.
constexpr size_t kHeaderCabinetSize = 8;
constexpr size_t kHeaderFilesOffset = 16;
constexpr size_t kHeaderVersion = 24;
constexpr size_t kHeaderFolderCount = 26;
constexpr size_t kHeaderFileCount = 28;
constexpr size_t kHeaderFlags = 30;
constexpr size_t kHeaderSetId = 32;
constexpr size_t kHeaderCabinetIndex = 34;

// The fixed parts of a file entry, a folder entry and a data block header.
constexpr size_t kFileEntrySize = 16;
constexpr size_t kFolderEntryFixedSize = 8;
constexpr size_t kDataHeaderFixedSize = 8;

using bytes::readLe16;
using bytes::readLe32;

struct FileEntry {
    uint32_t size = 0;
    uint32_t offset = 0;
    uint16_t folder = 0;
    uint16_t date = 0;
    uint16_t time = 0;
    uint16_t attributes = 0;
    char name[kNameBufferSize] = {};
};

}  // namespace

struct CabinetContext {
    CabinetIo io{};
    int cpuType = 0;
    CabinetError* error = nullptr;

    FileHandle headerHandle = -1;
    FileHandle dataHandle = -1;
    uint8_t header[kHeaderSize] = {};
    uint8_t* headerReserve = nullptr;
    uint16_t headerReserveSize = 0;
    bool reserveSizesSet = false;
    uint16_t folderReserveSize = 0xFFFF;
    uint16_t dataReserveSize = 0xFFFF;
    size_t folderEntrySize = 0;
    size_t dataHeaderSize = 0;
    uint8_t* folderEntry = nullptr;
    uint8_t* dataHeader = nullptr;

    char previousCabinet[kNameBufferSize] = {};
    char previousDisk[kNameBufferSize] = {};
    char nextCabinet[kNameBufferSize] = {};
    char nextDisk[kNameBufferSize] = {};
    char cabinetPath[kNameBufferSize] = {};
    char fullPath[2 * kNameBufferSize] = {};

    FileEntry file;
    FileEntry scratch;
    long folderTableStart = 0;
    uint16_t flags = 0;
    uint16_t folderCount = 0;
    uint16_t setId = 0;
    uint16_t cabinetIndex = 0;
    uint16_t remainingFiles = 0;

    uint16_t folderIndex = kNoFolder;
    bool folderContinued = false;  // the current folder began in an earlier cabinet
    uint16_t folderCompression = kMethodNone;
    uint16_t remainingBlocks = 0;
    uint32_t blockStart = 0;  // folder offset of the current block's first byte
    uint32_t blockSize = 0;   // the current block's uncompressed size

    uint16_t compression = kMethodNone;  // the method the decoder and buffers were made for
    MszipDecoder* mszip = nullptr;
    QuantumDecoder* quantum = nullptr;
    uint8_t* input = nullptr;
    size_t inputSize = 0;
    uint8_t* output = nullptr;

    FileHandle target = 0;
    bool targetOpen = false;
    unsigned passOverCount = 0;
    bool continuation = false;

    NotifyCallback notify = nullptr;
    BlockHook blockHook = nullptr;
    void* user = nullptr;
};

namespace {

bool fail(CabinetContext& c, int32_t code, int32_t detail = 0) {
    c.error->code = code;
    c.error->detail = detail;
    c.error->failed = true;
    return false;
}

bool readExact(CabinetContext& c, FileHandle h, void* buffer, size_t n) {
    auto* p = static_cast<uint8_t*>(buffer);
    size_t done = 0;
    while (done < n) {
        int got = c.io.read(h, p + done, static_cast<unsigned>(n - done));
        if (got <= 0) break;
        done += static_cast<size_t>(got);
    }
    return done == n;
}

// Reads a terminated string of at most 255 characters and leaves the handle
// just behind its terminator.
bool readString(CabinetContext& c, FileHandle h, char* out) {
    int got = c.io.read(h, out, static_cast<unsigned>(kNameBufferSize));
    if (got <= 0) return fail(c, CorruptCabinet);
    const void* terminator = std::memchr(out, 0, static_cast<size_t>(got));
    if (terminator == nullptr) {
        out[kNameBufferSize - 1] = 0;
        return fail(c, CorruptCabinet);
    }
    const long length = static_cast<const char*>(terminator) - out;
    const long back = got - (length + 1);
    if (back != 0 && c.io.seek(h, -back, 1) < 0) return fail(c, CorruptCabinet);
    return true;
}

void closeCabinetHandles(CabinetContext& c, bool* ok = nullptr) {
    bool good = true;
    if (c.headerHandle != -1 && c.io.close(c.headerHandle) != 0) good = false;
    if (c.dataHandle != -1 && c.io.close(c.dataHandle) != 0) good = false;
    c.headerHandle = -1;
    c.dataHandle = -1;
    if (ok) *ok = good;
}

void releaseDecoder(CabinetContext& c) {
    if (c.mszip) DestroyMszipDecoder(c.mszip);
    if (c.quantum) DestroyQuantumDecoder(c.quantum);
    c.mszip = nullptr;
    c.quantum = nullptr;
    if (c.input) c.io.free(c.input);
    if (c.output) c.io.free(c.output);
    c.input = nullptr;
    c.output = nullptr;
    c.inputSize = 0;
    c.compression = kMethodNone;
}

bool selectDecoder(CabinetContext& c, uint16_t word) {
    // The method is checked before the comparison with the selected word: a
    // folder whose word is 15 would otherwise match the "none selected" value
    // and reach the data blocks with no decoder.
    const unsigned method = word & 0x000Fu;
    if (method != kMethodStored && method != kMethodMszip && method != kMethodQuantum) {
        releaseDecoder(c);
        return fail(c, BadCompressionType);
    }
    if (word == c.compression) return true;
    releaseDecoder(c);
    DecoderAllocator allocator{c.io.allocate, c.io.free};
    unsigned inputSize = static_cast<unsigned>(kStoredInputSize);
    int status = kDecoderOk;
    if (method == kMethodMszip) {
        status = CreateMszipDecoder(static_cast<unsigned>(kBlockOutputSize), allocator, &c.mszip, &inputSize);
    } else if (method == kMethodQuantum) {
        const unsigned bits = (word >> 8) & 0x1Fu;
        status = CreateQuantumDecoder(static_cast<unsigned>(kBlockOutputSize), bits, c.cpuType, allocator, &c.quantum,
                                      &inputSize);
    }
    if (status != kDecoderOk) {
        releaseDecoder(c);
        return fail(c, status == kDecoderOutOfMemory ? OutOfMemory : DecompressFailed);
    }
    c.input = static_cast<uint8_t*>(c.io.allocate(inputSize));
    c.output = static_cast<uint8_t*>(c.io.allocate(kBlockOutputSize));
    if (c.input == nullptr || c.output == nullptr) {
        releaseDecoder(c);
        return fail(c, OutOfMemory);
    }
    c.inputSize = inputSize;
    c.compression = word;
    return true;
}

bool resetDecoder(CabinetContext& c) {
    if (c.mszip) return ResetMszipDecoder(c.mszip) == 0 || fail(c, DecompressFailed);
    if (c.quantum) return ResetQuantumDecoder(c.quantum) == 0 || fail(c, DecompressFailed);
    return true;
}

intptr_t send(CabinetContext& c, NotificationKind kind, CabinetNotification& n) {
    n.user = c.user;
    return c.notify(kind, n);
}

bool hook(CabinetContext& c, BlockHookInfo info) {
    if (c.blockHook == nullptr) return true;
    info.user = c.user;
    return c.blockHook(info) != -1 || fail(c, UserAbort);
}

// Opens path + name, checks and keeps its header, reads the reserves and the
// set's neighbour names, and positions the header handle on the file table.
bool openCabinet(CabinetContext& c, const char* name, bool expectSet, uint16_t wantSet, uint16_t wantIndex) {
    const size_t pathLength = std::strlen(c.cabinetPath);
    const size_t nameLength = std::strlen(name);
    if (pathLength + nameLength + 1 > sizeof c.fullPath) return fail(c, CabinetNotFound);
    std::memcpy(c.fullPath, c.cabinetPath, pathLength);
    std::memcpy(c.fullPath + pathLength, name, nameLength + 1);

    c.headerHandle = c.io.open(c.fullPath, kCabinetOpenFlags, kCabinetOpenMode);
    if (c.headerHandle == -1) return fail(c, CabinetNotFound);
    c.dataHandle = c.io.open(c.fullPath, kCabinetOpenFlags, kCabinetOpenMode);
    if (c.dataHandle == -1) return fail(c, CabinetNotFound);

    uint8_t header[kHeaderSize];
    if (!readExact(c, c.headerHandle, header, kHeaderSize) || std::memcmp(header, "MSCF", 4) != 0)
        return fail(c, NotACabinet);
    const uint16_t version = readLe16(header, kHeaderVersion);
    if (version != kVersion) return fail(c, UnknownVersion, version);
    if (expectSet && (readLe16(header, kHeaderSetId) != wantSet || readLe16(header, kHeaderCabinetIndex) != wantIndex))
        return fail(c, WrongCabinet);
    std::memcpy(c.header, header, kHeaderSize);
    c.flags = readLe16(header, kHeaderFlags);

    uint16_t headerReserve = 0;
    uint16_t folderReserve = 0;
    uint16_t dataReserve = 0;
    if (c.flags & kFlagReserve) {
        uint8_t sizes[4];
        if (!readExact(c, c.headerHandle, sizes, 4)) return fail(c, NotACabinet);
        headerReserve = readLe16(sizes, 0);
        folderReserve = sizes[2];
        dataReserve = sizes[3];
    }
    if (!c.reserveSizesSet) {
        c.headerReserveSize = headerReserve;
        c.folderReserveSize = folderReserve;
        c.dataReserveSize = dataReserve;
        c.folderEntrySize = kFolderEntryFixedSize + folderReserve;
        c.dataHeaderSize = kDataHeaderFixedSize + dataReserve;
        if (headerReserve > 0) c.headerReserve = static_cast<uint8_t*>(c.io.allocate(headerReserve));
        c.folderEntry = static_cast<uint8_t*>(c.io.allocate(c.folderEntrySize));
        c.dataHeader = static_cast<uint8_t*>(c.io.allocate(c.dataHeaderSize));
        if ((headerReserve > 0 && c.headerReserve == nullptr) || c.folderEntry == nullptr || c.dataHeader == nullptr) {
            if (c.headerReserve) c.io.free(c.headerReserve);
            if (c.folderEntry) c.io.free(c.folderEntry);
            if (c.dataHeader) c.io.free(c.dataHeader);
            c.headerReserve = c.folderEntry = c.dataHeader = nullptr;
            return fail(c, OutOfMemory);
        }
        c.reserveSizesSet = true;
    } else if (folderReserve != c.folderReserveSize || dataReserve != c.dataReserveSize ||
               headerReserve != c.headerReserveSize) {
        // A header reserve of another size would be read at the wrong length
        // and misplace every string behind it.
        return fail(c, ReserveMismatch);
    }
    if (c.headerReserveSize > 0 && !readExact(c, c.headerHandle, c.headerReserve, c.headerReserveSize))
        return fail(c, NotACabinet);

    c.previousCabinet[0] = c.previousDisk[0] = c.nextCabinet[0] = c.nextDisk[0] = 0;
    if (c.flags & kFlagPrevious) {
        if (!readString(c, c.headerHandle, c.previousCabinet) || !readString(c, c.headerHandle, c.previousDisk))
            return false;
    }
    if (c.flags & kFlagNext) {
        if (!readString(c, c.headerHandle, c.nextCabinet) || !readString(c, c.headerHandle, c.nextDisk)) return false;
    }
    c.folderTableStart = c.io.seek(c.headerHandle, 0, 1);
    if (c.folderTableStart < 0) return fail(c, CorruptCabinet);
    if (c.io.seek(c.headerHandle, static_cast<long>(readLe32(header, kHeaderFilesOffset)), 0) < 0)
        return fail(c, CorruptCabinet);
    c.folderCount = readLe16(header, kHeaderFolderCount);
    c.remainingFiles = readLe16(header, kHeaderFileCount);
    c.setId = readLe16(header, kHeaderSetId);
    c.cabinetIndex = readLe16(header, kHeaderCabinetIndex);

    CabinetNotification n;
    n.text1 = c.nextCabinet;
    n.text2 = c.nextDisk;
    n.text3 = c.cabinetPath;
    n.setId = c.setId;
    n.cabinetIndex = c.cabinetIndex;
    if (send(c, CabinetOpened, n) == -1) return fail(c, UserAbort);
    BlockHookInfo info;
    info.kind = BlockHookKind::HeaderReserve;
    info.reserve = c.headerReserve;
    info.reserveSize = c.headerReserveSize;
    return hook(c, info);
}

bool readFileEntry(CabinetContext& c, FileEntry& e) {
    uint8_t raw[kFileEntrySize];
    if (!readExact(c, c.headerHandle, raw, sizeof raw)) return fail(c, CorruptCabinet);
    bytes::ByteCursor in(raw);
    e.size = in.le32();
    e.offset = in.le32();
    e.folder = in.le16();
    e.date = in.le16();
    e.time = in.le16();
    e.attributes = in.le16();
    return readString(c, c.headerHandle, e.name);
}

// Makes folder `index` of the open cabinet current and positions the data
// handle on its first block. A continuing folder keeps the decoder's history.
bool makeFolderCurrent(CabinetContext& c, uint16_t index, bool continuing) {
    if (index >= c.folderCount) return fail(c, CorruptCabinet);
    const long at = c.folderTableStart + static_cast<long>(index) * static_cast<long>(c.folderEntrySize);
    if (c.io.seek(c.dataHandle, at, 0) < 0) return fail(c, CorruptCabinet);
    if (!readExact(c, c.dataHandle, c.folderEntry, c.folderEntrySize)) return fail(c, CorruptCabinet);
    const bytes::Bytes entry(c.folderEntry, c.folderEntrySize);
    const uint32_t firstBlock = readLe32(entry, 0);
    const uint16_t blocks = readLe16(entry, 4);
    const uint16_t word = readLe16(entry, 6);
    if (c.io.seek(c.dataHandle, static_cast<long>(firstBlock), 0) < 0) return fail(c, CorruptCabinet);
    // The continuation of a folder must be decoded by the decoder that holds
    // its history.
    if (continuing && word != c.folderCompression) return fail(c, CorruptCabinet);
    if (!selectDecoder(c, word)) return false;
    c.remainingBlocks = blocks;
    c.folderIndex = index;
    c.folderCompression = word;
    BlockHookInfo info;
    info.kind = BlockHookKind::FolderReserve;
    info.reserve = c.folderEntry + kFolderEntryFixedSize;
    info.reserveSize = c.folderReserveSize;
    return hook(c, info);
}

bool readBlockPiece(CabinetContext& c, size_t at, uint16_t& compressed, uint16_t& uncompressed) {
    if (!readExact(c, c.dataHandle, c.dataHeader, c.dataHeaderSize)) return fail(c, CorruptCabinet);
    const bytes::Bytes dataHeader(c.dataHeader, c.dataHeaderSize);
    const uint32_t checksum = readLe32(dataHeader, 0);
    compressed = readLe16(dataHeader, 4);
    uncompressed = readLe16(dataHeader, 6);
    if (at + compressed > c.inputSize) return fail(c, CorruptCabinet);
    if (!readExact(c, c.dataHandle, c.input + at, compressed)) return fail(c, CorruptCabinet);
    if (checksum != 0) {
        uint32_t sum = CabinetChecksum({c.input + at, compressed}, 0);
        sum = CabinetChecksum({c.dataHeader + 4, 4u + c.dataReserveSize}, sum);
        if (sum != checksum) return fail(c, CorruptCabinet);
    }
    return true;
}

// Closes this cabinet and opens the next one of the set, whose folder 0
// continues the current folder; then passes over the file entries already
// dealt with.
bool changeCabinet(CabinetContext& c) {
    if (!(c.flags & kFlagNext) || c.folderIndex + 1u != c.folderCount) return fail(c, CorruptCabinet);
    bool closed = true;
    closeCabinetHandles(c, &closed);
    if (!closed) return fail(c, CorruptCabinet);

    char name[kNameBufferSize];
    char disk[kNameBufferSize];
    std::memcpy(name, c.nextCabinet, sizeof name);
    std::memcpy(disk, c.nextDisk, sizeof disk);
    const uint16_t wantSet = c.setId;
    const uint16_t wantIndex = static_cast<uint16_t>(c.cabinetIndex + 1);
    int32_t lastError = 0;
    for (int attempt = 1;; ++attempt) {
        CabinetNotification n;
        n.text1 = name;
        n.text2 = disk;
        n.text3 = c.cabinetPath;
        n.setId = wantSet;
        n.cabinetIndex = wantIndex;
        n.lastError = lastError;
        if (send(c, NextCabinet, n) == -1) return fail(c, UserAbort);
        c.cabinetPath[kNameBufferSize - 1] = 0;
        if (openCabinet(c, name, true, wantSet, wantIndex) && makeFolderCurrent(c, 0, true)) break;
        if (c.error->code == UserAbort) return false;
        lastError = c.error->code;
        closeCabinetHandles(c);
        if (attempt >= kMaxNextCabinetAttempts) return false;
    }
    const unsigned passOver = 1 + c.passOverCount;
    c.passOverCount = 0;
    for (unsigned i = 0; i < passOver; ++i) {
        if (c.remainingFiles == 0) return fail(c, CorruptCabinet);
        --c.remainingFiles;
        if (!readFileEntry(c, c.scratch)) return false;
    }
    c.continuation = true;
    c.folderContinued = true;
    return true;
}

bool decompressBlock(CabinetContext& c, size_t compressed, uint16_t uncompressed) {
    const unsigned method = c.compression & 0x000Fu;
    size_t produced = 0;
    if (method == kMethodStored) {
        if (compressed > kBlockOutputSize) return fail(c, DecompressFailed);
        std::memcpy(c.output, c.input, compressed);
        produced = compressed;
    } else if (method == kMethodMszip) {
        if (MszipDecompress(c.mszip, {c.input, compressed}, {c.output, kBlockOutputSize}, &produced) != 0)
            return fail(c, DecompressFailed);
    } else {
        if (uncompressed > kBlockOutputSize ||
            QuantumDecompress(c.quantum, {c.input, compressed}, {c.output, uncompressed}) != 0)
            return fail(c, DecompressFailed);
        produced = uncompressed;
    }
    if (produced != uncompressed) return fail(c, DecompressFailed);
    return true;
}

bool readNextBlock(CabinetContext& c) {
    c.blockStart += c.blockSize;
    c.blockSize = 0;
    if (c.remainingBlocks == 0 && !changeCabinet(c)) return false;
    if (c.remainingBlocks == 0) return fail(c, CorruptCabinet);
    --c.remainingBlocks;
    uint16_t first = 0;
    uint16_t uncompressed = 0;
    if (!readBlockPiece(c, 0, first, uncompressed)) return false;
    size_t total = first;
    bool split = false;
    // An uncompressed size of 0 marks a block cut at the cabinet's end; its
    // next piece opens the next cabinet, and a small block may run on
    // through several cabinets of a set.
    while (uncompressed == 0) {
        if (!changeCabinet(c)) return false;
        if (c.remainingBlocks == 0) return fail(c, CorruptCabinet);
        --c.remainingBlocks;
        uint16_t piece = 0;
        if (!readBlockPiece(c, total, piece, uncompressed)) return false;
        total += piece;
        split = true;
    }
    BlockHookInfo info;
    info.kind = BlockHookKind::DataBlock;
    info.reserve = c.dataHeader + 8;
    info.reserveSize = c.dataReserveSize;
    info.data = c.input;
    info.dataSize = total;
    info.split = split;
    info.firstPieceSize = first;
    if (!hook(c, info)) return false;
    if (!decompressBlock(c, total, uncompressed)) return false;
    c.blockSize = uncompressed;
    return true;
}

// Makes the folder current from its first block, with a fresh decoder state.
bool startFolder(CabinetContext& c, uint16_t index) {
    c.folderIndex = kNoFolder;
    c.folderContinued = false;
    if (!makeFolderCurrent(c, index, false) || !resetDecoder(c)) {
        c.folderIndex = kNoFolder;
        return false;
    }
    c.blockStart = 0;
    c.blockSize = 0;
    if (!readNextBlock(c)) {
        c.folderIndex = kNoFolder;
        return false;
    }
    return true;
}

bool writeFileData(CabinetContext& c) {
    const FileEntry& f = c.file;
    uint16_t index = f.folder;
    if (index == kFromPrevious) index = 0;
    else if (index == kToNext || index == kPreviousAndNext) index = static_cast<uint16_t>(c.folderCount - 1);
    if (c.folderCount == 0 || index >= c.folderCount) return fail(c, CorruptCabinet);

    if (index != c.folderIndex) {
        if (!startFolder(c, index)) return false;
    } else if (f.offset < c.blockStart) {
        // The file table is not in folder order. The data of a folder that
        // began in an earlier cabinet cannot be read again; any other folder
        // is decoded again from its first block.
        if (c.folderContinued) return fail(c, CorruptCabinet);
        if (!startFolder(c, index)) return false;
    }
    const uint64_t end = uint64_t{f.offset} + f.size;
    uint64_t pos = f.offset;
    while (pos >= uint64_t{c.blockStart} + c.blockSize)
        if (!readNextBlock(c)) return false;
    while (pos < end) {
        if (pos >= uint64_t{c.blockStart} + c.blockSize && !readNextBlock(c)) return false;
        const size_t start = static_cast<size_t>(pos - c.blockStart);
        size_t n = c.blockSize - start;
        if (n > end - pos) n = static_cast<size_t>(end - pos);
        if (c.io.write(c.target, c.output + start, static_cast<unsigned>(n)) != static_cast<int>(n))
            return fail(c, TargetFileFailed);
        pos += n;
    }
    return true;
}

bool extractFile(CabinetContext& c, FileHandle handle) {
    c.target = handle;
    c.targetOpen = true;
    if (c.file.size > 0 && !writeFileData(c)) {
        c.io.close(c.target);
        c.targetOpen = false;
        return false;
    }
    CabinetNotification n;
    n.count = (c.file.attributes & kAttributeExecute) ? 1 : 0;
    n.text1 = c.file.name;
    n.handle = c.target;
    n.date = c.file.date;
    n.time = c.file.time;
    n.attributes = static_cast<uint16_t>(c.file.attributes & ~kAttributeExecute);
    n.folderIndex = c.file.folder;
    const intptr_t answer = send(c, FileEnd, n);
    c.targetOpen = false;
    if (answer == -1) {
        c.io.close(c.target);
        return fail(c, UserAbort);
    }
    if (answer == 0) return fail(c, TargetFileFailed);
    return true;
}

bool walkFileTable(CabinetContext& c) {
    while (c.remainingFiles > 0) {
        --c.remainingFiles;
        if (!readFileEntry(c, c.file)) return false;
        const uint16_t folder = c.file.folder;
        CabinetNotification n;
        n.count = static_cast<int32_t>(c.file.size);
        n.text1 = c.file.name;
        n.date = c.file.date;
        n.time = c.file.time;
        n.attributes = c.file.attributes;
        n.folderIndex = folder;
        const bool fromPrevious = folder == kFromPrevious || folder == kPreviousAndNext;
        if (fromPrevious && !c.continuation) {
            n.text2 = c.previousCabinet;
            n.text3 = c.previousDisk;
            if (send(c, ContinuedFile, n) == -1) return fail(c, UserAbort);
            continue;
        }
        const intptr_t answer = send(c, FileBegin, n);
        if (answer == -1) return fail(c, UserAbort);
        if (answer == 0) {
            if (folder == kToNext || folder == kPreviousAndNext) ++c.passOverCount;
            continue;
        }
        if (!extractFile(c, answer)) return false;
    }
    return true;
}

}  // namespace

CabinetContext* Create(const CabinetIo& io, int cpuType, CabinetError* error) {
    void* memory = io.allocate ? io.allocate(sizeof(CabinetContext)) : nullptr;
    if (memory == nullptr) {
        if (error) {
            error->code = OutOfMemory;
            error->detail = 0;
            error->failed = true;
        }
        return nullptr;
    }
    auto* c = new (memory) CabinetContext;
    c->io = io;
    c->cpuType = cpuType;
    c->error = error;
    return c;
}

bool IsCabinet(CabinetContext* c, FileHandle handle, CabinetSummary* summary) {
    uint8_t header[kHeaderSize];
    if (!readExact(*c, handle, header, kHeaderSize) || std::memcmp(header, "MSCF", 4) != 0) return false;
    const uint16_t version = readLe16(header, kHeaderVersion);
    if (version != kVersion) return fail(*c, UnknownVersion, version);
    const uint16_t flags = readLe16(header, kHeaderFlags);
    if (summary) {
        summary->cabinetSize = readLe32(header, kHeaderCabinetSize);
        summary->folderCount = readLe16(header, kHeaderFolderCount);
        summary->fileCount = readLe16(header, kHeaderFileCount);
        summary->setId = readLe16(header, kHeaderSetId);
        summary->cabinetIndex = readLe16(header, kHeaderCabinetIndex);
        summary->hasReserve = (flags & kFlagReserve) ? 1 : 0;
        summary->hasPrevious = (flags & kFlagPrevious) ? 1 : 0;
        summary->hasNext = flags & kFlagNext;
    }
    return true;
}

bool Copy(CabinetContext* c, const char* cabinetName, const char* cabinetPath, int flags, NotifyCallback notify,
          BlockHook blockHook, void* user) {
    (void)flags;
    c->notify = notify;
    c->blockHook = blockHook;
    c->user = user;
    c->continuation = false;
    c->passOverCount = 0;
    c->folderIndex = kNoFolder;
    c->folderContinued = false;
    c->blockStart = 0;
    c->blockSize = 0;
    bool ok;
    if (std::strlen(cabinetPath) >= kNameBufferSize) {
        ok = fail(*c, CabinetNotFound);
    } else {
        std::strcpy(c->cabinetPath, cabinetPath);
        ok = openCabinet(*c, cabinetName, false, 0, 0) && walkFileTable(*c);
    }
    closeCabinetHandles(*c);
    c->folderIndex = kNoFolder;
    return ok;
}

bool Destroy(CabinetContext* c) {
    if (c == nullptr) return true;
    releaseDecoder(*c);
    if (c->headerReserve) c->io.free(c->headerReserve);
    if (c->folderEntry) c->io.free(c->folderEntry);
    if (c->dataHeader) c->io.free(c->dataHeader);
    if (c->targetOpen) c->io.close(c->target);
    closeCabinetHandles(*c);
    void (*freeBlock)(void*) = c->io.free;
    c->~CabinetContext();
    freeBlock(c);
    return true;
}

}  // namespace quell::cabinet
