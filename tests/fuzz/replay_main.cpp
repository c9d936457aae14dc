// Runs a fuzz target over every file below the paths given on the command
// line, so the targets are exercised even where libFuzzer is not available.
#include <cstdint>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <vector>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size);

namespace {
void runFile(const std::filesystem::path& path) {
    std::ifstream in(path, std::ios::binary);
    std::vector<char> bytes((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
    LLVMFuzzerTestOneInput(reinterpret_cast<const uint8_t*>(bytes.data()), bytes.size());
}
}  // namespace

int main(int argc, char** argv) {
    int files = 0;
    for (int i = 1; i < argc; ++i) {
        std::error_code ec;
        std::filesystem::path root(argv[i]);
        if (std::filesystem::is_regular_file(root, ec)) {
            runFile(root);
            ++files;
            continue;
        }
        if (!std::filesystem::is_directory(root, ec)) continue;
        for (const auto& entry : std::filesystem::recursive_directory_iterator(root, ec)) {
            if (entry.is_regular_file()) {
                runFile(entry.path());
                ++files;
            }
        }
    }
    LLVMFuzzerTestOneInput(nullptr, 0);
    std::printf("replayed %d files\n", files);
    return 0;
}
