#include "core/skin/profile_file.h"

#include "core/os/file_system.h"
#include "core/text/text_codec.h"

namespace quell::skin {

namespace {

bool isBlank(char c) { return c == ' ' || c == '\t' || c == '\v'; }

// The section and key a caller asks for lose their spaces alone, as the
// system's profile reader trims them: with a tab they name nothing.
std::string_view trimSpaces(std::string_view s) {
    while (!s.empty() && s.front() == ' ') s.remove_prefix(1);
    while (!s.empty() && s.back() == ' ') s.remove_suffix(1);
    return s;
}

std::string_view trim(std::string_view s) {
    while (!s.empty() && isBlank(s.front())) s.remove_prefix(1);
    while (!s.empty() && isBlank(s.back())) s.remove_suffix(1);
    return s;
}

bool equalsIgnoringCase(std::string_view a, std::string_view b) {
    if (a.size() != b.size()) return false;
    for (size_t i = 0; i < a.size(); ++i) {
        unsigned char x = static_cast<unsigned char>(a[i]);
        unsigned char y = static_cast<unsigned char>(b[i]);
        if (x >= 'A' && x <= 'Z') x = static_cast<unsigned char>(x - 'A' + 'a');
        if (y >= 'A' && y <= 'Z') y = static_cast<unsigned char>(y - 'A' + 'a');
        if (x != y) return false;
    }
    return true;
}

std::string_view unquote(std::string_view s) {
    if (s.size() >= 2 && (s.front() == '"' || s.front() == '\'') && s.back() == s.front())
        return s.substr(1, s.size() - 2);
    return s;
}

enum class Encoding { Utf8, CodePage932 };

bool isCp932Lead(unsigned char c) { return (c >= 0x81 && c <= 0x9F) || (c >= 0xE0 && c <= 0xFC); }

// Cuts at kMaxValueBytes without splitting a multi-byte character.
std::string_view cutValue(std::string_view s, Encoding encoding) {
    if (s.size() <= ProfileFile::kMaxValueBytes) return s;
    size_t end = 0;
    while (end < s.size()) {
        auto c = static_cast<unsigned char>(s[end]);
        size_t len = 1;
        if (encoding == Encoding::CodePage932) {
            if (isCp932Lead(c)) len = 2;
        } else if (c >= 0xF0) {
            len = 4;
        } else if (c >= 0xE0) {
            len = 3;
        } else if (c >= 0xC0) {
            len = 2;
        }
        if (end + len > ProfileFile::kMaxValueBytes) break;
        end += len;
    }
    return s.substr(0, end);
}

}  // namespace

int32_t ParseLeadingInt(std::string_view text) {
    size_t i = 0;
    while (i < text.size() && (isBlank(text[i]) || text[i] == '\r' || text[i] == '\n')) ++i;
    bool negative = false;
    if (i < text.size() && (text[i] == '+' || text[i] == '-')) {
        negative = text[i] == '-';
        ++i;
    }
    uint32_t value = 0;
    while (i < text.size() && text[i] >= '0' && text[i] <= '9') {
        value = value * 10u + static_cast<uint32_t>(text[i] - '0');
        ++i;
    }
    if (negative) value = 0u - value;
    return static_cast<int32_t>(value);
}

ProfileFile ProfileFile::Parse(std::span<const uint8_t> bytes) {
    const std::string_view raw(reinterpret_cast<const char*>(bytes.data()), bytes.size());
    return Parse(std::string_view(text::textAfterByteOrderMark(raw)));
}

ProfileFile ProfileFile::Parse(std::string_view text) {
    const Encoding encoding = text::isValidUtf8(text) ? Encoding::Utf8 : Encoding::CodePage932;
    ProfileFile file;
    Section* current = nullptr;
    size_t pos = 0;
    while (pos < text.size()) {
        size_t end = text.find_first_of("\r\n", pos);
        if (end == std::string_view::npos) end = text.size();
        std::string_view line = trim(text.substr(pos, end - pos));
        // CR LF, LF and CR all end a line.
        pos = end;
        if (pos < text.size() && text[pos] == '\r') ++pos;
        if (pos < text.size() && text[pos] == '\n' && (pos == end || text[end] == '\r')) ++pos;

        if (line.empty() || line.front() == ';') continue;
        if (line.front() == '[') {
            std::string_view name = line.substr(1);
            size_t close = name.find(']');
            if (close != std::string_view::npos) name = name.substr(0, close);
            name = trim(name);
            file.m_sections.push_back(Section{std::string(name), {}});
            current = &file.m_sections.back();
            continue;
        }
        if (!current) continue;  // lines before the first section
        size_t eq = line.find('=');
        if (eq == std::string_view::npos) continue;
        std::string_view key = trim(line.substr(0, eq));
        const std::string_view whole = unquote(trim(line.substr(eq + 1)));
        std::string_view value = cutValue(whole, encoding);
        std::string decoded = encoding == Encoding::Utf8 ? std::string(value) : text::decodeLegacyText(value);
        current->entries.push_back(Entry{std::string(key), std::move(decoded), whole.size()});
    }
    return file;
}

ProfileFile ProfileFile::Load(const std::string& path) {
    std::vector<uint8_t> bytes;
    if (os::readFileCapped(path, os::kMaxTextFileBytes, bytes) != os::CappedRead::Read) return ProfileFile();
    return Parse(std::span<const uint8_t>(bytes));
}

const ProfileFile::Entry* ProfileFile::find(std::string_view section, std::string_view key) const {
    // " Skin " finds [Skin]; "\tSkin" finds nothing.
    section = trimSpaces(section);
    key = trimSpaces(key);
    for (const Section& s : m_sections) {
        if (!equalsIgnoringCase(s.name, section)) continue;
        for (const Entry& e : s.entries) {
            if (equalsIgnoringCase(e.key, key)) return &e;
        }
        return nullptr;  // only the first section of a name is searched
    }
    return nullptr;
}

std::string ProfileFile::ReadString(std::string_view section, std::string_view key,
                                    std::string_view defaultText) const {
    if (const Entry* e = find(section, key)) return e->value;
    return std::string(defaultText.substr(0, kMaxValueBytes));
}

int32_t ProfileFile::ReadInt(std::string_view section, std::string_view key, int32_t defaultValue) const {
    const Entry* e = find(section, key);
    if (!e) return defaultValue;
    return ParseLeadingInt(e->value);
}

bool ProfileFile::HasKey(std::string_view section, std::string_view key) const { return find(section, key) != nullptr; }

std::vector<ProfileValueLength> ProfileFile::ReachableValueLengths() const {
    std::vector<ProfileValueLength> out;
    for (size_t s = 0; s < m_sections.size(); ++s) {
        const Section& section = m_sections[s];
        bool shadowed = false;
        for (size_t earlier = 0; earlier < s && !shadowed; ++earlier)
            shadowed = equalsIgnoringCase(m_sections[earlier].name, section.name);
        if (shadowed) continue;
        for (const Entry& e : section.entries) {
            if (find(section.name, e.key) == &e) out.push_back({section.name, e.key, e.bytesInFile});
        }
    }
    return out;
}

}  // namespace quell::skin
