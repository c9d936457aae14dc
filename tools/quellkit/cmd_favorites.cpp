// quellkit favorites [--folder DIR] list | export OUT.html | import IN.html:
// the bookmark tree as the bookmark dialog fills it, and the bookmark HTML
// file that browsers exchange.
#include <cstdio>
#include <fstream>

#include "commands.h"
#include "core/bookmarks/bookmark_exchange.h"
#include "core/bookmarks/bookmark_html.h"
#include "core/bookmarks/favorites_folder.h"
#include "core/bookmarks/fill_tree.h"
#include "core/bookmarks/tree_path.h"
#include "core/os/file_system.h"

namespace quellkit {

namespace {

constexpr const char* kUsage = "favorites [--folder DIR] list | export OUT.html | import IN.html";

// Prints one item a line, two spaces of indent per level below the root.
class PrintingSink final : public quell::bookmarks::TreeSink {
public:
    void openFolder(const std::string& label, const std::string&) override {
        print(label);
        ++m_depth;
    }
    void closeFolder() override { --m_depth; }
    void addBookmark(const std::string& label, const std::string&) override { print(label); }
    void addNote(const std::string& text) override { print(text); }

private:
    void print(const std::string& label) const {
        std::printf("%s%s\n", std::string(static_cast<size_t>(m_depth) * 2, ' ').c_str(), label.c_str());
    }
    int m_depth = 1;
};

int list(const std::string& folder) {
    std::printf("%s\n", std::string(quell::bookmarks::kRootLabel).c_str());
    PrintingSink sink;
    quell::bookmarks::FillTree(sink, folder);
    return 0;
}

int exportTo(const std::string& folder, const std::string& out) {
    std::string html = quell::bookmarks::WriteBookmarkHtml(quell::bookmarks::CollectBookmarks(folder));
    std::ofstream file(out, std::ios::binary | std::ios::trunc);
    if (!file) return fail("cannot write " + out);
    file << html;
    file.close();
    if (!file) return fail("cannot write " + out);
    return 0;
}

int importFrom(const std::string& folder, const std::string& in) {
    auto bytes = quell::os::readFile(in);
    if (!bytes) return fail("cannot read " + in);
    std::string_view html(reinterpret_cast<const char*>(bytes->data()), bytes->size());
    auto summary = quell::bookmarks::ImportBookmarks(quell::bookmarks::ParseBookmarkHtml(html), folder);
    std::printf("%d bookmarks written, %d already present, %d folders created\n", summary.bookmarksWritten,
                summary.bookmarksAlreadyPresent, summary.foldersCreated);
    if (summary.failures > 0) return fail(std::to_string(summary.failures) + " entries could not be written");
    return 0;
}

}  // namespace

int runFavorites(const Args& args) {
    Args rest = args;
    std::string folder;
    if (rest.size() >= 2 && rest[0] == "--folder") {
        folder = rest[1];
        if (folder.empty()) return usage(kUsage);
        if (folder.back() != '/') folder += '/';
        rest.erase(rest.begin(), rest.begin() + 2);
    }
    if (rest.empty()) return usage(kUsage);
    if (folder.empty()) folder = quell::bookmarks::FavoritesFolder();
    if (!quell::os::isDirectory(folder)) return fail("no such folder " + folder);
    const std::string& command = rest[0];
    if (command == "list" && rest.size() == 1) return list(folder);
    if (command == "export" && rest.size() == 2) return exportTo(folder, rest[1]);
    if (command == "import" && rest.size() == 2) return importFrom(folder, rest[1]);
    return usage(kUsage);
}

}  // namespace quellkit
