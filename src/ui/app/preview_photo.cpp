#include "ui/app/preview_photo.h"

#include <cstdio>
#include <optional>
#include <vector>

#include "core/image/bitmap_file.h"
#include "core/image/bitmap_writer.h"
#include "core/os/file_system.h"
#include "resources/photo/photo_painter.h"
#include "ui/app/core_qt.h"
#include "ui/controls/image_conversion.h"

namespace quell::ui {

namespace {

constexpr const char* kPhotoName = "Photo.bmp";

// The bytes of a Photo.bmp in the folder that the window's loader accepts; a
// file that exists but does not load would still end in the message.
std::optional<std::vector<uint8_t>> loadablePhoto(const std::string& folder) {
    image::PixelImage photo;
    if (folder.empty() || !image::LoadBitmapFile(folder + kPhotoName, photo)) return std::nullopt;
    return os::readFile(folder + kPhotoName);
}

const char* sourceText(PhotoSource source) {
    switch (source) {
    case PhotoSource::SkinFolder: return "the Photo.bmp in the skin folder";
    case PhotoSource::ProgramFolder: return "the Photo.bmp beside the program";
    case PhotoSource::Placeholder:
        return "a placeholder: no loadable Photo.bmp in the skin folder or beside the program";
    }
    return "";
}

}  // namespace

PreviewPhotoFolder::PreviewPhotoFolder(std::string skinFolder, std::string programFolder)
    : m_skinFolder(std::move(skinFolder)), m_programFolder(std::move(programFolder)) {
    m_path = m_folder.isValid() ? toStdString(m_folder.path()) + "/" : m_skinFolder;
    refresh();
}

void PreviewPhotoFolder::refresh() {
    if (!m_folder.isValid()) return;
    PhotoSource source = PhotoSource::Placeholder;
    std::optional<std::vector<uint8_t>> bytes = loadablePhoto(m_skinFolder);
    if (bytes) {
        source = PhotoSource::SkinFolder;
    } else if ((bytes = loadablePhoto(m_programFolder))) {
        source = PhotoSource::ProgramFolder;
    } else {
        bytes = image::EncodeBitmap24(toPixelImage(quell1::paintPhoto()));
    }
    // Without a picture there the window shows the usual message, which the
    // preview sends to its note.
    if (!os::replaceFile(m_path + kPhotoName, *bytes))
        std::fprintf(stderr, "the Photo picture could not be written to %s\n", m_path.c_str());
    if (!m_refreshed || source != m_source) std::fprintf(stderr, "the Photo picture is %s\n", sourceText(source));
    m_source = source;
    m_refreshed = true;
}

}  // namespace quell::ui
