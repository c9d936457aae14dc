// Reads the input as a cabinet through the in-memory file system and copies
// every file out. Bytes after a 0xFFFFFFFF marker, if any, become the next
// cabinet of the set, so continuation and split blocks are reached too.
#include <cstdint>
#include <cstring>
#include <vector>

#include "core/cabinet/cabinet_reader.h"
#include "support/memory_io.h"

namespace {

using namespace quell::cabinet;

intptr_t notify(NotificationKind kind, CabinetNotification& n) {
    switch (kind) {
    case FileBegin: return cabtest::newOutputHandle();
    case FileEnd: cabtest::memoryIo().close(n.handle); return 1;
    case NextCabinet: return n.lastError != 0 ? -1 : 0;
    default: return 0;
    }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    cabtest::resetMemoryFs();
    const uint8_t marker[4] = {0xFF, 0xFF, 0xFF, 0xFF};
    size_t cut = size;
    for (size_t i = 0; i + 4 <= size; ++i)
        if (std::memcmp(data + i, marker, 4) == 0) {
            cut = i;
            break;
        }
    auto& fs = cabtest::memoryFs();
    fs.files["/f/a.cab"] = std::vector<uint8_t>(data, data + cut);
    if (cut + 4 <= size) {
        // Whatever the first cabinet names as its next one is served the rest.
        std::vector<uint8_t> rest(data + cut + 4, data + size);
        for (const char* name : {"b.cab", "part2.cab"}) fs.files[std::string("/f/") + name] = rest;
    }
    CabinetError error;
    CabinetContext* context = Create(cabtest::memoryIo(), 1, &error);
    if (context == nullptr) return 0;
    const FileHandle h = cabtest::memoryIo().open("/f/a.cab", 0, 0);
    CabinetSummary summary;
    IsCabinet(context, h, &summary);
    cabtest::memoryIo().close(h);
    Copy(context, "a.cab", "/f/", 0, notify, nullptr, nullptr);
    Destroy(context);
    fs.outputs.clear();
    if (fs.openHandles != 0 || fs.liveAllocations != 0) __builtin_trap();
    return 0;
}
