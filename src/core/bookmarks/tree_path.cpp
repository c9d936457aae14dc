#include "core/bookmarks/tree_path.h"

#include <cctype>

namespace quell::bookmarks {

std::string ParentPath(const std::vector<std::string>& ancestorLabels) {
    std::string path;
    for (const std::string& label : ancestorLabels) {
        path += label;
        path += kTreeSeparator;
    }
    return path;
}

std::string TreePath(const std::vector<std::string>& labelsFromRoot) {
    std::string path;
    for (size_t i = 0; i < labelsFromRoot.size(); ++i) {
        if (i > 0) path += kTreeSeparator;
        path += labelsFromRoot[i];
    }
    return path;
}

std::optional<std::string> DiskPath(const std::string& favoritesFolder, const std::string& treePath) {
    size_t separator = treePath.find(kTreeSeparator);
    if (separator == std::string::npos) return std::nullopt;
    std::string path = favoritesFolder + treePath.substr(separator + 1);
    if (!IsWithin(favoritesFolder, path)) return std::nullopt;
    return path;
}

bool IsWithin(const std::filesystem::path& folder, const std::filesystem::path& path) {
    namespace fs = std::filesystem;
    std::error_code ec;
    const fs::path base = fs::weakly_canonical(fs::absolute(folder, ec), ec);
    if (ec) return false;
    const fs::path real = fs::weakly_canonical(fs::absolute(path, ec), ec);
    if (ec) return false;
    // Component by component, so "/fav-other" is not taken to lie in "/fav".
    auto b = base.begin(), r = real.begin();
    for (; b != base.end() && !b->empty(); ++b, ++r)
        if (r == real.end() || *r != *b) return false;
    return true;
}

std::string RenamedBookmarkName(std::string typed) {
    if (!IsBookmarkName(typed)) typed += ".url";
    return typed;
}

bool IsBookmarkName(std::string_view name) {
    std::string lower(name);
    for (char& c : lower) c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
    return lower.find(".url") != std::string::npos;
}

bool IsValidItemName(std::string_view name) {
    if (name.empty() || name == "." || name == ".." || name.size() > 255) return false;
    return name.find(kTreeSeparator) == std::string_view::npos && name.find('\0') == std::string_view::npos;
}

}  // namespace quell::bookmarks
