#pragma once
// The records the cabinet reader exchanges with its user: the input/output
// callback table, the caller-owned error record, the summary of a cabinet and
// the one notification record passed to the notification callback.
#include <cstddef>
#include <cstdint>

namespace quell::cabinet {

// Open flags and permission bits exchanged through CabinetIo::open. They are
// the values of the low-level file library the format grew up with; an open
// callback on another runtime translates them.
inline constexpr int kOpenReadOnly = 0x0000;
inline constexpr int kOpenWriteOnly = 0x0001;
inline constexpr int kOpenReadWrite = 0x0002;
inline constexpr int kOpenSequential = 0x0020;
inline constexpr int kOpenCreate = 0x0100;
inline constexpr int kOpenTruncate = 0x0200;
inline constexpr int kOpenExclusive = 0x0400;
inline constexpr int kOpenBinary = 0x8000;
// The access bits of an open flag word.
inline constexpr int kOpenAccessMask = 0x0003;
inline constexpr int kPermissionRead = 0x0100;
inline constexpr int kPermissionWrite = 0x0080;

using FileHandle = intptr_t;

struct CabinetIo {
    void* (*allocate)(size_t bytes);
    void (*free)(void* block);
    FileHandle (*open)(const char* path, int flags, int mode);
    int (*read)(FileHandle handle, void* buffer, unsigned count);
    int (*write)(FileHandle handle, const void* buffer, unsigned count);
    int (*close)(FileHandle handle);
    long (*seek)(FileHandle handle, long offset, int origin);
};

enum CabinetErrorCode : int32_t {
    kNoError = 0,
    CabinetNotFound = 1,
    NotACabinet = 2,
    UnknownVersion = 3,
    CorruptCabinet = 4,
    OutOfMemory = 5,
    BadCompressionType = 6,
    DecompressFailed = 7,
    TargetFileFailed = 8,
    ReserveMismatch = 9,
    WrongCabinet = 10,
    UserAbort = 11,
};

// The name of an error code as quellkit and messages print it ("CorruptCabinet").
const char* CabinetErrorName(int32_t code);

struct CabinetError {
    int32_t code = 0;
    int32_t detail = 0;
    bool failed = false;
};

struct CabinetSummary {
    uint32_t cabinetSize = 0;
    uint16_t folderCount = 0;
    uint16_t fileCount = 0;
    uint16_t setId = 0;
    uint16_t cabinetIndex = 0;
    int hasReserve = 0;
    int hasPrevious = 0;
    int hasNext = 0;
};

enum NotificationKind : int {
    CabinetOpened = 0,
    ContinuedFile = 1,
    FileBegin = 2,
    FileEnd = 3,
    NextCabinet = 4,
};

// Size of every name buffer of the reader, terminator included.
inline constexpr size_t kNameBufferSize = 256;

struct CabinetNotification {
    int32_t count = 0;
    const char* text1 = "";
    const char* text2 = "";
    // For NextCabinet this points at the reader's 256-byte cabinet-path buffer,
    // which the callback may rewrite to point the reader elsewhere.
    char* text3 = nullptr;
    void* user = nullptr;
    FileHandle handle = 0;
    uint16_t date = 0;
    uint16_t time = 0;
    uint16_t attributes = 0;
    uint16_t setId = 0;
    uint16_t cabinetIndex = 0;
    uint16_t folderIndex = 0;
    int32_t lastError = 0;
};

using NotifyCallback = intptr_t (*)(NotificationKind kind, CabinetNotification& notification);

// What the optional block hook is told about.
enum class BlockHookKind { HeaderReserve, FolderReserve, DataBlock };

struct BlockHookInfo {
    BlockHookKind kind = BlockHookKind::HeaderReserve;
    const uint8_t* reserve = nullptr;
    size_t reserveSize = 0;
    const uint8_t* data = nullptr;  // the block's compressed bytes (DataBlock only)
    size_t dataSize = 0;
    bool split = false;  // the block was merged from two cabinets
    size_t firstPieceSize = 0;
    void* user = nullptr;
};

// Returns -1 to abort the copy with UserAbort.
using BlockHook = int (*)(const BlockHookInfo& info);

// Compression words of a folder; the low four bits are the method.
inline constexpr uint16_t kMethodStored = 0;
inline constexpr uint16_t kMethodMszip = 1;
inline constexpr uint16_t kMethodQuantum = 2;
inline constexpr uint16_t kMethodNone = 15;

// Attribute bits of an archived file. At FileEnd the reader reports the
// execute bit in the notification's count (1: run the file once extracted)
// and clears it from the attributes it passes on.
inline constexpr uint16_t kAttributeReadOnly = 0x0001;
inline constexpr uint16_t kAttributeArchive = 0x0020;
inline constexpr uint16_t kAttributeExecute = 0x0040;
// The stored name is UTF-8; a name without this bit is in code page 932.
inline constexpr uint16_t kAttributeNameIsUtf8 = 0x0080;

// Largest uncompressed size of one data block.
inline constexpr size_t kBlockOutputSize = 32768;

}  // namespace quell::cabinet
