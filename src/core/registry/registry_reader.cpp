#include "core/registry/registry_reader.h"

#include <cstdio>

#include "core/bytes.h"
#include "core/os/file_system.h"

namespace quell::registry {

namespace {
// The reader's buffer: a value whose data does not fit is a failed read.
constexpr size_t kValueBufferBytes = 256;
}  // namespace

std::string DefaultRegistryPath() {
    std::string fromEnvironment = os::environment("QUELLCORE_REGISTRY");
    if (!fromEnvironment.empty()) return fromEnvironment;
    return os::userConfigHome() + "/quellcore/registry.reg";
}

RegistryReader::RegistryReader(std::string company)
    : m_file(std::make_shared<RegistryFile>(RegistryFile::Load(DefaultRegistryPath()))),
      m_company(std::move(company)) {}

RegistryReader::RegistryReader(std::shared_ptr<const RegistryFile> file, std::string company)
    : m_file(std::move(file)), m_company(std::move(company)) {}

namespace {
const char* rootName(int root) {
    switch (root) {
    case kRootClasses: return "HKEY_CLASSES_ROOT";
    case kRootCurrentUser: return "HKEY_CURRENT_USER";
    case kRootLocalMachine: return "HKEY_LOCAL_MACHINE";
    default: return nullptr;
    }
}
}  // namespace

bool RegistryReader::HasKey(int root, const std::string& keyPath) const {
    const char* name = rootName(root);
    return name && m_file && m_file->HasKey(std::string(name) + "\\" + keyPath);
}

bool RegistryReader::ReadValue(int root, const std::string& keyAndValuePath, std::string& text) const {
    const char* rootName = registry::rootName(root);
    if (!rootName) return false;
    std::string key = rootName;
    std::string valueName = keyAndValuePath;
    size_t slash = keyAndValuePath.rfind('\\');
    if (slash != std::string::npos) {
        key += "\\" + keyAndValuePath.substr(0, slash);
        valueName = keyAndValuePath.substr(slash + 1);
    }
    if (!m_file || !m_file->HasKey(key)) return false;
    auto value = m_file->Find(key, valueName);
    if (!value || value->data.size() > kValueBufferBytes) return false;

    switch (value->type) {
    case ValueType::String:
    case ValueType::ExpandString: {
        const auto& d = value->data;
        size_t end = 0;
        while (end < d.size() && d[end] != 0) ++end;
        text.assign(reinterpret_cast<const char*>(d.data()), end);
        return true;
    }
    case ValueType::Dword: {
        if (value->data.size() != 4) {
            text = "Can't convert to string";
            return false;
        }
        const auto v = static_cast<int32_t>(bytes::readLe32(value->data, 0));
        text = std::to_string(static_cast<long>(v));
        return true;
    }
    case ValueType::Binary: text = "Binary data"; return false;
    default: text = "Can't convert to string"; return false;
    }
}

bool RegistryReader::ReadString(const std::string& section, const std::string& valueName, std::string& text) const {
    std::string path = "SOFTWARE\\";
    if (!m_company.empty()) path += m_company + "\\";
    path += section + "\\" + valueName;
    return ReadValue(kRootCurrentUser, path, text);
}

}  // namespace quell::registry
