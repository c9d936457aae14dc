#include "core/registry/registry_file.h"

#include <algorithm>

#include "core/os/file_system.h"
#include "core/text/text_codec.h"

namespace quell::registry {

namespace {

std::string lower(std::string_view s) {
    std::string out(s);
    for (char& c : out)
        if (c >= 'A' && c <= 'Z') c = static_cast<char>(c - 'A' + 'a');
    return out;
}

std::string_view trim(std::string_view s) {
    while (!s.empty() && (s.front() == ' ' || s.front() == '\t')) s.remove_prefix(1);
    while (!s.empty() && (s.back() == ' ' || s.back() == '\t' || s.back() == '\r')) s.remove_suffix(1);
    return s;
}

// Root names as exports spell them, and their short forms, mapped to one spelling.
std::string canonicalKeyPath(std::string_view path) {
    static const std::pair<std::string_view, std::string_view> kRoots[] = {
        {"hkcr", "hkey_classes_root"}, {"hkcu", "hkey_current_user"},   {"hklm", "hkey_local_machine"},
        {"hku", "hkey_users"},         {"hkcc", "hkey_current_config"},
    };
    std::string p = lower(path);
    while (!p.empty() && p.back() == '\\') p.pop_back();
    size_t slash = p.find('\\');
    std::string root = p.substr(0, slash);
    for (const auto& [shortName, longName] : kRoots) {
        if (root == shortName) {
            p = std::string(longName) + (slash == std::string::npos ? "" : p.substr(slash));
            break;
        }
    }
    return p;
}

// Reads a quoted name or string starting at s[0] == '"'; advances s past the closing quote.
std::optional<std::string> readQuoted(std::string_view& s) {
    if (s.empty() || s.front() != '"') return std::nullopt;
    std::string out;
    size_t i = 1;
    while (i < s.size()) {
        char c = s[i];
        if (c == '\\' && i + 1 < s.size()) {
            out += s[i + 1];
            i += 2;
            continue;
        }
        if (c == '"') {
            s.remove_prefix(i + 1);
            return out;
        }
        out += c;
        ++i;
    }
    return std::nullopt;
}

std::optional<std::vector<uint8_t>> readHexBytes(std::string_view s) {
    std::vector<uint8_t> bytes;
    int nibbles = 0;
    uint8_t current = 0;
    for (char c : s) {
        int v;
        if (c >= '0' && c <= '9') v = c - '0';
        else if (c >= 'a' && c <= 'f') v = c - 'a' + 10;
        else if (c >= 'A' && c <= 'F') v = c - 'A' + 10;
        else if (c == ',' || c == ' ' || c == '\t' || c == '\\' || c == '\r' || c == '\n') {
            if (nibbles == 1) return std::nullopt;
            if (nibbles == 2) bytes.push_back(current);
            nibbles = 0;
            current = 0;
            continue;
        } else {
            return std::nullopt;
        }
        if (nibbles == 2) return std::nullopt;
        current = static_cast<uint8_t>((current << 4) | v);
        ++nibbles;
    }
    if (nibbles == 1) return std::nullopt;
    if (nibbles == 2) bytes.push_back(current);
    return bytes;
}

std::vector<uint8_t> textData(std::string_view utf8) {
    std::vector<uint8_t> data(utf8.begin(), utf8.end());
    data.push_back(0);
    return data;
}

bool isStringType(uint32_t type) { return type == 1 || type == 2 || type == 7; }

// hex(N) data of string types holds UTF-16LE in version 5 exports and ANSI in
// REGEDIT4 exports; both become UTF-8 with a terminating NUL.
std::vector<uint8_t> stringFromRaw(const std::vector<uint8_t>& raw, bool wide) {
    std::string_view bytes(reinterpret_cast<const char*>(raw.data()), raw.size());
    std::string text = wide ? text::utf16leToUtf8(bytes) : text::decodeLegacyText(bytes);
    while (!text.empty() && text.back() == '\0') text.pop_back();
    return textData(text);
}

std::optional<RegistryValue> parseData(std::string_view data, bool wide) {
    RegistryValue value;
    if (!data.empty() && data.front() == '"') {
        auto text = readQuoted(data);
        if (!text) return std::nullopt;
        value.type = ValueType::String;
        value.data = textData(*text);
        return value;
    }
    std::string lowered = lower(data);
    if (lowered.rfind("dword:", 0) == 0) {
        std::string_view digits = trim(data.substr(6));
        if (digits.empty() || digits.size() > 8) return std::nullopt;
        uint32_t v = 0;
        for (char c : digits) {
            int d;
            if (c >= '0' && c <= '9') d = c - '0';
            else if (c >= 'a' && c <= 'f') d = c - 'a' + 10;
            else if (c >= 'A' && c <= 'F') d = c - 'A' + 10;
            else return std::nullopt;
            v = (v << 4) | static_cast<uint32_t>(d);
        }
        value.type = ValueType::Dword;
        value.data = {static_cast<uint8_t>(v), static_cast<uint8_t>(v >> 8), static_cast<uint8_t>(v >> 16),
                      static_cast<uint8_t>(v >> 24)};
        return value;
    }
    if (lowered.rfind("hex", 0) == 0) {
        uint32_t type = 3;
        size_t colon = lowered.find(':');
        if (colon == std::string::npos) return std::nullopt;
        std::string_view head = std::string_view(lowered).substr(3, colon - 3);
        if (!head.empty()) {
            if (head.size() < 3 || head.front() != '(' || head.back() != ')') return std::nullopt;
            type = 0;
            for (char c : head.substr(1, head.size() - 2)) {
                int d;
                if (c >= '0' && c <= '9') d = c - '0';
                else if (c >= 'a' && c <= 'f') d = c - 'a' + 10;
                else return std::nullopt;
                type = (type << 4) | static_cast<uint32_t>(d);
            }
        }
        auto raw = readHexBytes(data.substr(colon + 1));
        if (!raw) return std::nullopt;
        value.type = static_cast<ValueType>(type);
        value.data = isStringType(type) ? stringFromRaw(*raw, wide) : std::move(*raw);
        return value;
    }
    return std::nullopt;
}

std::vector<std::string_view> splitLines(std::string_view text) {
    std::vector<std::string_view> lines;
    size_t pos = 0;
    while (pos <= text.size()) {
        size_t end = text.find('\n', pos);
        if (end == std::string_view::npos) end = text.size();
        lines.push_back(text.substr(pos, end - pos));
        pos = end + 1;
    }
    return lines;
}

}  // namespace

RegistryFile RegistryFile::Parse(std::span<const uint8_t> bytes) {
    const std::string_view raw(reinterpret_cast<const char*>(bytes.data()), bytes.size());
    text::ByteOrderMark mark = text::ByteOrderMark::None;
    std::string text = text::textAfterByteOrderMark(raw, &mark);
    const bool wide = mark == text::ByteOrderMark::Utf16le;
    if (!wide) text = text::decodeLegacyText(text);

    RegistryFile file;
    Key* current = nullptr;
    std::vector<std::string_view> lines = splitLines(text);
    for (size_t i = 0; i < lines.size(); ++i) {
        std::string_view line = trim(lines[i]);
        if (line.empty() || line.front() == ';') continue;
        if (line.front() == '[') {
            current = nullptr;
            size_t close = line.rfind(']');
            if (close == std::string_view::npos || line.size() < 2 || line[1] == '-') continue;
            std::string path = canonicalKeyPath(line.substr(1, close - 1));
            auto it =
                std::find_if(file.m_keys.begin(), file.m_keys.end(), [&](const Key& k) { return k.path == path; });
            if (it == file.m_keys.end()) {
                file.m_keys.push_back(Key{path, {}});
                current = &file.m_keys.back();
            } else {
                current = &*it;
            }
            continue;
        }
        if (!current) continue;

        std::string name;
        std::string_view rest = line;
        if (rest.front() == '@') {
            rest.remove_prefix(1);
        } else {
            auto quotedName = readQuoted(rest);
            if (!quotedName) continue;
            name = *quotedName;
        }
        rest = trim(rest);
        if (rest.empty() || rest.front() != '=') continue;
        rest = trim(rest.substr(1));

        // Hex data continues on the next line after a trailing backslash.
        std::string joined(rest);
        while (!joined.empty() && joined.back() == '\\' && i + 1 < lines.size() && lower(joined).rfind("hex", 0) == 0) {
            joined.pop_back();
            joined += trim(lines[++i]);
        }
        if (joined == "-") continue;
        auto value = parseData(joined, wide);
        if (!value) continue;

        std::string lowerName = lower(name);
        auto existing = std::find_if(current->values.begin(), current->values.end(),
                                     [&](const Value& v) { return lower(v.name) == lowerName; });
        if (existing != current->values.end()) existing->value = std::move(*value);
        else current->values.push_back(Value{name, std::move(*value)});
    }
    return file;
}

RegistryFile RegistryFile::Load(const std::string& path) {
    std::vector<uint8_t> bytes;
    if (os::readFileCapped(path, os::kMaxTextFileBytes, bytes) != os::CappedRead::Read) return RegistryFile();
    return Parse(bytes);
}

bool RegistryFile::HasKey(const std::string& keyPath) const {
    std::string path = canonicalKeyPath(keyPath);
    return std::any_of(m_keys.begin(), m_keys.end(), [&](const Key& k) { return k.path == path; });
}

std::optional<RegistryValue> RegistryFile::Find(const std::string& keyPath, const std::string& valueName) const {
    std::string path = canonicalKeyPath(keyPath);
    std::string name = lower(valueName);
    for (const Key& k : m_keys) {
        if (k.path != path) continue;
        for (const Value& v : k.values) {
            if (lower(v.name) == name) return v.value;
        }
        return std::nullopt;
    }
    return std::nullopt;
}

}  // namespace quell::registry
