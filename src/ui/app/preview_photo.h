#pragma once
// The Photo picture of a previewed skin. The picture is the end user's, not
// part of a skin, so a skin being made usually has none: the preview then
// shows a built-in placeholder instead of stopping at the message a packed
// program shows for a missing Photo.
#include <QTemporaryDir>

#include <memory>
#include <string>

namespace quell::ui {

class PreviewPhotoFolder {
public:
    // A Photo.bmp that loads in the skin folder comes first, then one beside
    // the program; with neither, the placeholder is written into a private
    // temporary folder that lives as long as this object. Folders end in '/'.
    PreviewPhotoFolder(const std::string& skinFolder, const std::string& programFolder);

    // The folder that holds the Photo.bmp the window shows.
    const std::string& path() const { return m_path; }
    bool isPlaceholder() const { return m_placeholder != nullptr; }

private:
    std::unique_ptr<QTemporaryDir> m_placeholder;
    std::string m_path;
};

}  // namespace quell::ui
