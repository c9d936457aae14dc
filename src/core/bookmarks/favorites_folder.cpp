#include "core/bookmarks/favorites_folder.h"

#include "core/os/file_system.h"

namespace quell::bookmarks {

std::string FallbackFavoritesFolder() {
    std::string folder = os::userDataHome() + "/quellcore/Favorites";
    os::createDirectories(folder);
    return folder + "/";
}

std::string FavoritesFolder(const registry::RegistryReader& reader) {
    std::string text;
    bool read = reader.ReadString("Windows\\CurrentVersion\\Explorer\\Shell folders", "Favorites", text);
    // A Windows-style value ("C:\Users\...") or one with unexpanded variables
    // names nothing here; only an absolute path of this system is taken.
    if (!read || text.empty() || text.front() != '/') return FallbackFavoritesFolder();
    while (text.size() > 1 && text.back() == '/') text.pop_back();
    if (text == "/") return FallbackFavoritesFolder();
    return text + "/";
}

std::string FavoritesFolder() { return FavoritesFolder(registry::RegistryReader("Microsoft")); }

}  // namespace quell::bookmarks
