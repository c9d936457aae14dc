#pragma once
// Temporary folders, whole-file helpers, sample data and the external tools
// the tests use as oracles.
#include <cstdint>
#include <string>
#include <vector>

namespace cabtest {

class TempFolder {
public:
    TempFolder();
    ~TempFolder();
    TempFolder(const TempFolder&) = delete;
    TempFolder& operator=(const TempFolder&) = delete;
    // The folder's path with a trailing '/'.
    const std::string& path() const { return m_path; }
    std::string operator/(const std::string& name) const { return m_path + name; }

private:
    std::string m_path;
};

void writeBytes(const std::string& path, const std::vector<uint8_t>& bytes);
std::vector<uint8_t> readBytes(const std::string& path);
bool exists(const std::string& path);

// Deterministic data of the kinds a skin carries.
std::vector<uint8_t> textData(size_t size, uint32_t seed);
std::vector<uint8_t> bitmapData(size_t size, uint32_t seed);
std::vector<uint8_t> noiseData(size_t size, uint32_t seed);

bool haveTool(const char* name);
// Runs a shell command; returns its exit status.
int runCommand(const std::string& command);

std::string corporaPath(const std::string& relative);
bool haveCorpora();

}  // namespace cabtest
