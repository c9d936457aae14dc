#pragma once
// Read-only access to the few registry values the program uses, taken from a
// registry-editor export file (.reg) instead of a live registry.
#include <memory>
#include <string>

#include "core/registry/registry_file.h"

namespace quell::registry {

// Where the registry file lives: $QUELLCORE_REGISTRY when set, otherwise
// $XDG_CONFIG_HOME/quellcore/registry.reg.
std::string DefaultRegistryPath();

// The roots ReadValue takes, numbered as the program's callers pass them.
inline constexpr int kRootClasses = 1;
inline constexpr int kRootCurrentUser = 2;
inline constexpr int kRootLocalMachine = 3;

class RegistryReader {
public:
    // Reads the file at DefaultRegistryPath(); a missing file is an empty registry.
    explicit RegistryReader(std::string company = std::string());
    // Reads the given registry contents (tests, tools).
    RegistryReader(std::shared_ptr<const RegistryFile> file, std::string company);

    // root is one of the kRoot values; any other fails. The text after the path's last '\' is the value name. On failure text is
    // left unchanged, except for the fixed texts of unconvertible types.
    bool ReadValue(int root, const std::string& keyAndValuePath, std::string& text) const;

    // True when the file holds the key (root as for ReadValue), values or not.
    bool HasKey(int root, const std::string& keyPath) const;

    // Reads SOFTWARE\<company>\<section>\<valueName> under the current user.
    bool ReadString(const std::string& section, const std::string& valueName, std::string& text) const;

private:
    std::shared_ptr<const RegistryFile> m_file;
    std::string m_company;
};

}  // namespace quell::registry
