#include "core/bookmarks/fill_tree.h"

#include <filesystem>
#include <vector>

#include "core/bookmarks/tree_path.h"

namespace quell::bookmarks {

namespace fs = std::filesystem;

namespace {

constexpr size_t kMaxDepth = 64;

void fillFolder(TreeSink& sink, const fs::path& folder, std::vector<fs::path>& openFolders) {
    std::error_code ec;
    fs::directory_iterator it(folder, ec);
    if (ec) return;
    for (fs::directory_iterator end; it != end; it.increment(ec)) {
        if (ec) break;
        const fs::directory_entry& entry = *it;
        std::string name = entry.path().filename().string();
        std::error_code typeError;
        if (entry.is_directory(typeError)) {
            sink.openFolder(name, entry.path().string());
            fs::path canonical = fs::canonical(entry.path(), typeError);
            bool seen = typeError.value() != 0;
            for (const fs::path& open : openFolders) seen = seen || open == canonical;
            if (!seen && openFolders.size() < kMaxDepth) {
                openFolders.push_back(canonical);
                fillFolder(sink, entry.path(), openFolders);
                openFolders.pop_back();
            }
            sink.closeFolder();
        } else if (IsBookmarkName(name)) {
            sink.addBookmark(name, entry.path().string());
        }
    }
}

}  // namespace

void FillTree(TreeSink& sink, const std::string& folder) {
    std::error_code ec;
    std::vector<fs::path> openFolders;
    fs::path start = fs::canonical(folder, ec);
    if (!ec) openFolders.push_back(start);
    fillFolder(sink, fs::path(folder), openFolders);
}

}  // namespace quell::bookmarks
