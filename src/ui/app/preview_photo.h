#pragma once
// The Photo picture of a previewed skin. The picture is the end user's, not
// part of a skin, so a skin being made usually has none: the preview then
// shows a built-in placeholder instead of stopping at the message a packed
// program shows for a missing Photo. The window reads the picture from a
// private folder, which each reload fills afresh, so a Photo.bmp added to
// the skin folder, changed or taken away shows with the next reload.
#include <QTemporaryDir>

#include <string>

namespace quell::ui {

enum class PhotoSource { SkinFolder, ProgramFolder, Placeholder };

class PreviewPhotoFolder {
public:
    // Folders end in '/'. Fills the private folder for the first load.
    PreviewPhotoFolder(std::string skinFolder, std::string programFolder);

    // Copies the picture to show into the private folder: a Photo.bmp that
    // loads in the skin folder comes first, then one beside the program,
    // else the placeholder. A change of source is said on standard error.
    void refresh();

    // The folder that holds the Photo.bmp the window shows. Should the
    // private folder fail, it is the skin folder itself.
    const std::string& path() const { return m_path; }
    PhotoSource source() const { return m_source; }

private:
    std::string m_skinFolder;
    std::string m_programFolder;
    QTemporaryDir m_folder;
    std::string m_path;
    PhotoSource m_source = PhotoSource::Placeholder;
    bool m_refreshed = false;
};

}  // namespace quell::ui
