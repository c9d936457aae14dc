#include "support/memory_io.h"

#include <cstdlib>
#include <cstring>

namespace cabtest {
namespace {

using quell::cabinet::FileHandle;

struct OpenFile {
    std::string path;
    long position = 0;
    bool output = false;
};

MemoryFileSystem g_fs;
std::map<FileHandle, OpenFile> g_open;
FileHandle g_nextHandle = 100;

void* allocate(size_t n) {
    if (g_fs.failAllocationAfter == 0) {
        g_fs.failAllocationAfter = -1;
        return nullptr;
    }
    if (g_fs.failAllocationAfter > 0) --g_fs.failAllocationAfter;
    ++g_fs.liveAllocations;
    return std::malloc(n);
}

void release(void* p) {
    if (p) --g_fs.liveAllocations;
    std::free(p);
}

FileHandle open(const char* path, int, int) {
    if (!g_fs.files.count(path)) return -1;
    FileHandle h = g_nextHandle++;
    g_open[h] = OpenFile{path, 0, false};
    ++g_fs.openHandles;
    return h;
}

int read(FileHandle h, void* buffer, unsigned count) {
    auto it = g_open.find(h);
    if (it == g_open.end() || it->second.output) return -1;
    const std::vector<uint8_t>& data = g_fs.files[it->second.path];
    long pos = it->second.position;
    if (pos >= static_cast<long>(data.size())) return 0;
    size_t n = std::min<size_t>(count, data.size() - static_cast<size_t>(pos));
    std::memcpy(buffer, data.data() + pos, n);
    it->second.position += static_cast<long>(n);
    return static_cast<int>(n);
}

int write(FileHandle h, const void* buffer, unsigned count) {
    auto it = g_open.find(h);
    if (it == g_open.end() || !it->second.output) return -1;
    std::vector<uint8_t>& out = g_fs.outputs[h];
    size_t n = count;
    if (g_fs.writeLimit >= 0) {
        long room = g_fs.writeLimit - static_cast<long>(out.size());
        n = room <= 0 ? 0 : std::min<size_t>(n, static_cast<size_t>(room));
    }
    const auto* p = static_cast<const uint8_t*>(buffer);
    out.insert(out.end(), p, p + n);
    return static_cast<int>(n);
}

int close(FileHandle h) {
    auto it = g_open.find(h);
    if (it == g_open.end()) return -1;
    g_open.erase(it);
    --g_fs.openHandles;
    return 0;
}

long seek(FileHandle h, long offset, int origin) {
    auto it = g_open.find(h);
    if (it == g_open.end()) return -1;
    long base = origin == 0   ? 0
                : origin == 1 ? it->second.position
                              : static_cast<long>(g_fs.files[it->second.path].size());
    long pos = base + offset;
    if (pos < 0) return -1;
    it->second.position = pos;
    return pos;
}

}  // namespace

MemoryFileSystem& memoryFs() { return g_fs; }

void resetMemoryFs() {
    g_fs = MemoryFileSystem{};
    g_open.clear();
}

quell::cabinet::CabinetIo memoryIo() { return {allocate, release, open, read, write, close, seek}; }

FileHandle newOutputHandle() {
    FileHandle h = g_nextHandle++;
    g_open[h] = OpenFile{"", 0, true};
    g_fs.outputs[h];
    ++g_fs.openHandles;
    return h;
}

}  // namespace cabtest
