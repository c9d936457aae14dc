#pragma once
// A reader for INI files with the lookup rules skins were written against:
// sections and keys match without regard to case, the first of duplicate
// sections and keys wins, blanks and one pair of matching quotes are removed
// around values, and every string read is cut at 99 bytes.
#include <cstdint>
#include <span>
#include <string>
#include <string_view>
#include <vector>

namespace quell::skin {

// One value as it stands in the file: its length in bytes after the blanks
// and quotes around it are removed, before the cut to kMaxValueBytes.
struct ProfileValueLength {
    std::string section, key;
    size_t bytesInFile = 0;
};

class ProfileFile {
public:
    // The longest value a read returns; longer values are cut.
    static constexpr size_t kMaxValueBytes = 99;

    ProfileFile() = default;
    // Decodes UTF-16LE (with a byte-order mark), UTF-8 (mark optional) or code page 932.
    static ProfileFile Parse(std::span<const uint8_t> bytes);
    static ProfileFile Parse(std::string_view text);
    // A missing or unreadable file, or one longer than os::kMaxTextFileBytes,
    // reads as if every key were missing.
    static ProfileFile Load(const std::string& path);

    // The value as text (UTF-8), or defaultText when the section or key is absent.
    std::string ReadString(std::string_view section, std::string_view key, std::string_view defaultText) const;
    // An optional sign and the leading decimal digits of the value, wrapping
    // modulo 2^32; 0 when a present value has no leading digit; defaultValue when absent.
    int32_t ReadInt(std::string_view section, std::string_view key, int32_t defaultValue) const;
    bool HasKey(std::string_view section, std::string_view key) const;

    // The values a read can reach (the first section of each name, the first
    // key of each name in it), in file order.
    std::vector<ProfileValueLength> ReachableValueLengths() const;

private:
    struct Entry {
        std::string key;
        std::string value;  // trimmed, unquoted and cut, already UTF-8
        size_t bytesInFile = 0;
    };
    struct Section {
        std::string name;
        std::vector<Entry> entries;
    };
    const Entry* find(std::string_view section, std::string_view key) const;

    std::vector<Section> m_sections;
};

// The decimal reading used for integer keys and list numbers: leading blanks,
// an optional sign, then digits up to the first other character (none gives 0).
int32_t ParseLeadingInt(std::string_view text);

}  // namespace quell::skin
