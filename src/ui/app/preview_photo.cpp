#include "ui/app/preview_photo.h"

#include <cstdio>

#include "core/image/bitmap_file.h"
#include "core/image/bitmap_writer.h"
#include "core/os/file_system.h"
#include "resources/photo/photo_painter.h"
#include "ui/app/core_qt.h"
#include "ui/controls/image_conversion.h"

namespace quell::ui {

namespace {

constexpr const char* kPhotoName = "Photo.bmp";

// The window loads the picture with the same loader, so a file that exists
// but does not load would still end in the message box.
bool holdsLoadablePhoto(const std::string& folder) {
    image::PixelImage photo;
    return !folder.empty() && image::LoadBitmapFile(folder + kPhotoName, photo);
}

}  // namespace

PreviewPhotoFolder::PreviewPhotoFolder(const std::string& skinFolder, const std::string& programFolder) {
    for (const std::string& folder : {skinFolder, programFolder}) {
        if (holdsLoadablePhoto(folder)) {
            m_path = folder;
            return;
        }
    }
    auto placeholder = std::make_unique<QTemporaryDir>();
    const std::string folder = placeholder->isValid() ? toStdString(placeholder->path()) + "/" : std::string();
    const std::vector<uint8_t> bytes = image::EncodeBitmap24(toPixelImage(quell1::paintPhoto()));
    if (folder.empty() || !os::writeFile(folder + kPhotoName, bytes)) {
        // Without a placeholder the window shows the usual message, which the
        // preview sends to its note.
        std::fprintf(stderr,
                     "no loadable Photo.bmp in the skin folder or beside the program, and no placeholder "
                     "could be written\n");
        m_path = skinFolder;
        return;
    }
    std::fprintf(stderr, "no loadable Photo.bmp in the skin folder or beside the program: showing a placeholder\n");
    m_placeholder = std::move(placeholder);
    m_path = folder;
}

}  // namespace quell::ui
