#include "support/test_files.h"

#include <sys/wait.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iterator>

namespace cabtest {

TempFolder::TempFolder() {
    std::string pattern = (std::filesystem::temp_directory_path() / "cabtest-XXXXXX").string();
    std::vector<char> buffer(pattern.begin(), pattern.end());
    buffer.push_back(0);
    char* made = mkdtemp(buffer.data());
    m_path = std::string(made ? made : "/tmp") + "/";
}

TempFolder::~TempFolder() {
    std::error_code ec;
    // Read-only files inside would not stop removal, but read-only folders would.
    for (auto& entry : std::filesystem::recursive_directory_iterator(m_path, ec))
        std::filesystem::permissions(entry.path(), std::filesystem::perms::owner_all,
                                     std::filesystem::perm_options::add, ec);
    std::filesystem::remove_all(m_path, ec);
}

void writeBytes(const std::string& path, const std::vector<uint8_t>& bytes) {
    std::ofstream out(path, std::ios::binary | std::ios::trunc);
    out.write(reinterpret_cast<const char*>(bytes.data()), static_cast<std::streamsize>(bytes.size()));
}

std::vector<uint8_t> readBytes(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    return std::vector<uint8_t>((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
}

bool exists(const std::string& path) {
    std::error_code ec;
    return std::filesystem::exists(std::filesystem::symlink_status(path, ec));
}

namespace {
uint32_t next(uint32_t& state) {
    state = state * 1664525u + 1013904223u;
    return state >> 8;
}
}  // namespace

std::vector<uint8_t> textData(size_t size, uint32_t seed) {
    static const char* words[] = {"skin ", "button ",    "frame ",       "Media ",      "bitmap ",
                                  "\r\n",  "[Main]\r\n", "FrameBitmap=", "Quell1.bmp ", "address ",
                                  "the ",  "of ",        "window "};
    std::vector<uint8_t> out;
    uint32_t s = seed;
    while (out.size() < size) {
        const char* w = words[next(s) % (sizeof words / sizeof *words)];
        for (const char* p = w; *p && out.size() < size; ++p) out.push_back(static_cast<uint8_t>(*p));
    }
    return out;
}

std::vector<uint8_t> bitmapData(size_t size, uint32_t seed) {
    std::vector<uint8_t> out;
    uint32_t s = seed;
    uint8_t r = 40, g = 80, b = 120;
    while (out.size() < size) {
        if (next(s) % 16 == 0) {
            r = static_cast<uint8_t>(next(s));
            g = static_cast<uint8_t>(next(s));
        }
        b = static_cast<uint8_t>(b + 1);
        for (uint8_t c : {b, g, r})
            if (out.size() < size) out.push_back(c);
    }
    return out;
}

std::vector<uint8_t> noiseData(size_t size, uint32_t seed) {
    std::vector<uint8_t> out(size);
    uint32_t s = seed;
    for (uint8_t& byte : out) byte = static_cast<uint8_t>(next(s));
    return out;
}

bool haveTool(const char* name) { return runCommand(std::string("command -v ") + name + " >/dev/null 2>&1") == 0; }

int runCommand(const std::string& command) {
    int status = std::system(command.c_str());
    return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
}

std::string corporaPath(const std::string& relative) { return std::string(QUELL_CORPORA_DIR) + "/" + relative; }

bool haveCorpora() { return std::filesystem::is_directory(std::string(QUELL_CORPORA_DIR) + "/cab"); }

}  // namespace cabtest
