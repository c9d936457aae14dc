#include "core/bookmarks/bookmark_exchange.h"

#include <filesystem>
#include <utility>

#include "core/bookmarks/fill_tree.h"
#include "core/bookmarks/shortcut_file.h"
#include "core/bookmarks/tree_path.h"
#include "core/text/utf8.h"

namespace quell::bookmarks {

namespace fs = std::filesystem;

namespace {

class EntryCollector final : public TreeSink {
public:
    EntryCollector() { m_stack.push_back(&m_top); }

    void openFolder(const std::string& label, const std::string&) override {
        BookmarkEntry folder;
        folder.isFolder = true;
        folder.title = label;
        m_stack.back()->push_back(std::move(folder));
        m_stack.push_back(&m_stack.back()->back().children);
    }
    void closeFolder() override { m_stack.pop_back(); }
    void addBookmark(const std::string& label, const std::string& diskPath) override {
        BookmarkEntry link;
        if (!ReadShortcutUrl(diskPath, link.url)) return;
        link.title = label;
        if (link.title.size() > 4) {
            std::string tail = link.title.substr(link.title.size() - 4);
            if (IsBookmarkName(tail)) link.title.resize(link.title.size() - 4);
        }
        m_stack.back()->push_back(std::move(link));
    }

    // An exchange file holds bookmarks only; what the walk left out is not listed.
    void addNote(const std::string&) override {}

    std::vector<BookmarkEntry> take() { return std::move(m_top); }

private:
    std::vector<BookmarkEntry> m_top;
    std::vector<std::vector<BookmarkEntry>*> m_stack;
};

// A folder name from an imported title: the bookmark naming rule, and never
// a name that means "here" or "up".
std::string folderName(const std::string& title) {
    std::string name = MakeShortcutName(title);
    for (char& c : name)
        if (static_cast<unsigned char>(c) < 0x20) c = ' ';
    if (name.size() > 255) name.resize(255);
    if (!IsValidItemName(name)) name = "Imported folder";
    return name;
}

void importInto(const std::vector<BookmarkEntry>& entries, const fs::path& folder, ImportSummary& summary) {
    for (const BookmarkEntry& e : entries) {
        std::error_code ec;
        if (e.isFolder) {
            fs::path sub = folder / folderName(e.title);
            if (!fs::is_directory(sub, ec)) {
                if (fs::exists(fs::symlink_status(sub, ec)) || !fs::create_directory(sub, ec)) {
                    ++summary.failures;
                    continue;
                }
                ++summary.foldersCreated;
            }
            importInto(e.children, sub, summary);
            continue;
        }
        std::string title = e.title.empty() ? e.url : e.title;
        std::string name = BookmarkFileName(title);
        std::string stem = name.substr(0, name.size() - 4);
        // Room for the " (n)" that tells apart two bookmarks of one title.
        stem = utf8::cutAtBoundary(std::move(stem), 230);
        for (int n = 2;; ++n) {
            if (n > 1000) {
                ++summary.failures;
                break;
            }
            fs::path target = folder / name;
            if (!fs::exists(fs::symlink_status(target, ec))) {
                if (WriteShortcut(target.string(), e.url)) ++summary.bookmarksWritten;
                else ++summary.failures;
                break;
            }
            std::string existing;
            if (ReadShortcutUrl(target.string(), existing) && existing == e.url) {
                ++summary.bookmarksAlreadyPresent;
                break;
            }
            name = BookmarkFileName(stem + " (" + std::to_string(n) + ")");
        }
    }
}

}  // namespace

std::vector<BookmarkEntry> CollectBookmarks(const std::string& favoritesFolder) {
    EntryCollector collector;
    FillTree(collector, favoritesFolder);
    return collector.take();
}

ImportSummary ImportBookmarks(const std::vector<BookmarkEntry>& entries, const std::string& folder) {
    ImportSummary summary;
    importInto(entries, fs::path(folder), summary);
    return summary;
}

}  // namespace quell::bookmarks
