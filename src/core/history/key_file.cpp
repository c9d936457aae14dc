#include "core/history/key_file.h"

#include "core/os/file_system.h"

namespace quell::history {
std::string_view TrimBlanks(std::string_view text) {
    const auto blank = [](char c) { return c == ' ' || c == '\t' || c == '\r' || c == '\n'; };
    while (!text.empty() && blank(text.front())) text.remove_prefix(1);
    while (!text.empty() && blank(text.back())) text.remove_suffix(1);
    return text;
}

std::string KeyFile::Section::value(std::string_view key) const {
    for (const Entry& e : entries) {
        if (e.key == key) return e.value;
    }
    return {};
}

KeyFile KeyFile::Parse(std::string_view text) {
    KeyFile file;
    while (!text.empty()) {
        const size_t end = text.find('\n');
        const std::string_view line = TrimBlanks(text.substr(0, end));
        text = end == std::string_view::npos ? std::string_view() : text.substr(end + 1);
        if (line.empty() || line.front() == '#' || line.front() == ';') continue;
        if (line.front() == '[' && line.back() == ']') {
            file.m_sections.push_back({std::string(TrimBlanks(line.substr(1, line.size() - 2))), {}});
            continue;
        }
        const size_t equals = line.find('=');
        if (equals == std::string_view::npos || file.m_sections.empty()) continue;
        file.m_sections.back().entries.push_back(
            {std::string(TrimBlanks(line.substr(0, equals))), std::string(TrimBlanks(line.substr(equals + 1)))});
    }
    return file;
}

KeyFile KeyFile::Load(const std::string& path) {
    std::vector<uint8_t> bytes;
    if (os::readFileCapped(path, os::kMaxTextFileBytes, bytes) != os::CappedRead::Read) return {};
    return Parse(std::string_view(reinterpret_cast<const char*>(bytes.data()), bytes.size()));
}

}  // namespace quell::history
