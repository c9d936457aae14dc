#pragma once
// Where the user's bookmarks live.
#include <string>

#include "core/registry/registry_reader.h"

namespace quell::bookmarks {

// The registry value "Favorites" of the key
// Software\Microsoft\Windows\CurrentVersion\Explorer\Shell folders, with '/'
// appended. When the value cannot be read, or is not an absolute path of this
// system, the per-user folder
// <data home>/quellcore/Favorites/ is used instead and created if missing:
// never the file-system root, never the working directory.
std::string FavoritesFolder(const registry::RegistryReader& reader);

// FavoritesFolder() of the registry file at its default place.
std::string FavoritesFolder();

// <data home>/quellcore/Favorites/, created on first use.
std::string FallbackFavoritesFolder();

}  // namespace quell::bookmarks
