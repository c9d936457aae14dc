#pragma once
// A parsed registry-editor export: "REGEDIT4" (UTF-8 or ANSI) or
// "Windows Registry Editor Version 5.00" (UTF-16LE with a byte-order mark).
#include <cstdint>
#include <optional>
#include <span>
#include <string>
#include <vector>

namespace quell::registry {

enum class ValueType : uint32_t {
    None = 0,
    String = 1,        // REG_SZ
    ExpandString = 2,  // REG_EXPAND_SZ
    Binary = 3,        // REG_BINARY
    Dword = 4,         // REG_DWORD
    MultiString = 7,   // REG_MULTI_SZ
    Qword = 11,        // REG_QWORD
};

struct RegistryValue {
    ValueType type = ValueType::None;
    // The raw data as the registry would hold it. String types hold the text
    // as UTF-8 with its terminating NUL, which is how the size limit of the
    // program's 256-byte read buffer is applied.
    std::vector<uint8_t> data;
};

class RegistryFile {
public:
    static RegistryFile Parse(std::span<const uint8_t> bytes);
    // A missing or unreadable file, or one longer than os::kMaxTextFileBytes,
    // gives an empty registry.
    static RegistryFile Load(const std::string& path);

    // keyPath is the full key with its root spelt out ("HKEY_CURRENT_USER\Software\...");
    // key and value names match without regard to case; "" is the default value.
    std::optional<RegistryValue> Find(const std::string& keyPath, const std::string& valueName) const;
    bool HasKey(const std::string& keyPath) const;

private:
    struct Value {
        std::string name;
        RegistryValue value;
    };
    struct Key {
        std::string path;
        std::vector<Value> values;
    };
    std::vector<Key> m_keys;
};

}  // namespace quell::registry
