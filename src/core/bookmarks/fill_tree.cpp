#include "core/bookmarks/fill_tree.h"

#include <filesystem>
#include <set>
#include <utility>

#include "core/bookmarks/tree_path.h"
#include "core/os/file_system.h"

namespace quell::bookmarks {

namespace fs = std::filesystem;

namespace {

struct Walk {
    TreeSink& sink;
    fs::path root;  // the folder's real path
    std::set<os::FileIdentity> entered;
    size_t entries = 0;
    bool stopped = false;
};

void fillFolder(Walk& walk, const fs::path& folder, size_t depth) {
    std::error_code ec;
    fs::directory_iterator it(folder, ec);
    if (ec) return;
    for (fs::directory_iterator end; it != end && !walk.stopped; it.increment(ec)) {
        if (ec) break;
        if (walk.entries == kMaxTreeEntries) {
            walk.sink.addNote(kEntryLimitNote);
            walk.stopped = true;
            break;
        }
        ++walk.entries;
        const fs::directory_entry& entry = *it;
        std::error_code realError;
        const fs::path real = fs::canonical(entry.path(), realError);
        // A dangling link, or one that leads out of the folder, is not shown.
        if (realError || !IsWithin(walk.root, real)) continue;
        const std::string name = entry.path().filename().string();
        std::error_code typeError;
        if (entry.is_directory(typeError)) {
            walk.sink.openFolder(name, entry.path().string());
            std::optional<os::FileIdentity> identity = os::fileIdentity(real.string());
            if (identity && walk.entered.insert(*identity).second) {
                if (depth + 1 < kMaxTreeDepth) fillFolder(walk, entry.path(), depth + 1);
                else walk.sink.addNote(kDepthLimitNote);
            }
            walk.sink.closeFolder();
        } else if (IsBookmarkName(name)) {
            walk.sink.addBookmark(name, entry.path().string());
        }
    }
}

}  // namespace

void FillTree(TreeSink& sink, const std::string& folder) {
    std::error_code ec;
    Walk walk{sink, fs::canonical(folder, ec), {}};
    if (ec) return;
    if (std::optional<os::FileIdentity> identity = os::fileIdentity(walk.root.string())) walk.entered.insert(*identity);
    fillFolder(walk, fs::path(folder), 0);
}

}  // namespace quell::bookmarks
