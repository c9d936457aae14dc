#include "corpus_expectations.h"

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <sstream>

namespace quell::image::test {

std::map<std::string, ExpectedFile> readExpectations(const std::string& expectedFile) {
    std::map<std::string, ExpectedFile> files;
    std::ifstream in(expectedFile);
    std::string line, section;
    ExpectedFile* current = nullptr;
    while (std::getline(in, line)) {
        if (line.rfind("=== ", 0) == 0) {
            std::istringstream words(line.substr(4));
            std::string path;
            words >> path;
            current = &files[path];
            section.clear();
            continue;
        }
        if (!current) continue;
        if (line.rfind("--- [", 0) == 0) {
            section = line.substr(5, line.find(']') - 5);
            std::istringstream words(line.substr(line.find(']') + 1));
            if (section == "rgb") {
                std::string bytes;
                words >> current->rgbSha256 >> bytes;
                current->rgbBytes = std::stol(bytes.substr(bytes.find('=') + 1));
            } else if (section == "ref") {
                std::string path;
                words >> path;
                const size_t at = line.find("(png rgb ");
                current->references.push_back({path, at == std::string::npos ? "" : line.substr(at + 9, 64)});
            }
            continue;
        }
        if (section == "identify" && line.rfind("[exit ", 0) == 0) {
            current->identifyExit = std::stoi(line.substr(6));
            continue;
        }
        if (section == "stored") {
            if (line.rfind("[exit ", 0) == 0) {
                current->storedExit = std::stoi(line.substr(6));
                continue;
            }
            std::istringstream words(line);
            int index;
            std::string size, digest;
            if (words >> index >> size >> digest && size.find('x') != std::string::npos) {
                const size_t x = size.find('x');
                current->frames.push_back({std::stoi(size.substr(0, x)), std::stoi(size.substr(x + 1)), digest});
            }
        }
    }
    return files;
}

std::vector<std::string> corpusFiles(const std::string& corpora, const std::string& folder, const std::string& suffix) {
    std::vector<std::string> paths;
    std::error_code ec;
    for (const auto& entry : std::filesystem::recursive_directory_iterator(corpora + "/" + folder, ec)) {
        const std::string name = entry.path().string();
        if (entry.is_regular_file() && name.size() > suffix.size() &&
            name.compare(name.size() - suffix.size(), suffix.size(), suffix) == 0)
            paths.push_back(std::filesystem::relative(entry.path(), corpora).string());
    }
    std::sort(paths.begin(), paths.end());
    return paths;
}

}  // namespace quell::image::test
