#include "ui/controls/skin_button.h"

#include <QPainter>

#include <optional>
#include <string_view>

#include "core/command_codes.h"
#include "core/image/bitmap_file.h"
#include "core/image/transparent_draw.h"
#include "core/skin/skin_entries.h"
#include "ui/controls/image_conversion.h"
#include "ui/controls/screen_rect.h"

namespace quell::ui {

const char* const kBitmapUnreadableMessage = "Bmp ファイルを読めません｡\"";

namespace {

// What a screen reader calls a button whose skin gives it no tooltip.
QString kindName(int kind, int controlId) {
    if (controlId == kPhotoControlId) return QStringLiteral("Photo");
    if (kind >= commands::kBack && kind <= commands::kView) {
        std::string_view stem = skin::kButtonKinds[kind - commands::kBack].keyStem;
        return QString::fromLatin1(stem.data(), static_cast<qsizetype>(stem.size()));
    }
    return QString();
}

}  // namespace

SkinButton* SkinButton::CreateButton(const SkinButtonSpec& request, QWidget* parent, SkinButtonServices services) {
    SkinButtonSpec effective = request;
    if (request.controlId == kPhotoControlId) {
        effective.hoverPath = request.normalPath;
        effective.pressedPath = request.normalPath;
    }
    std::array<image::PixelImage, 3> bitmaps;
    const std::array<const std::string*, 3> paths = {&effective.normalPath, &effective.hoverPath,
                                                     &effective.pressedPath};
    for (size_t i = 0; i < 3; ++i) {
        if (!image::LoadBitmapFile(*paths[i], bitmaps[i])) {
            if (services.messages) services.messages->showMessage(kBitmapUnreadableMessage);
            return nullptr;
        }
    }
    auto* button = new SkinButton(effective, std::move(bitmaps), parent, services);
    button->setGeometry(request.x, request.y, request.width, request.height);
    button->show();
    return button;
}

SkinButton::SkinButton(const SkinButtonSpec& request, std::array<image::PixelImage, 3> bitmaps, QWidget* parent,
                       SkinButtonServices services)
    : ThreeStateButton(parent),
      m_soundPath(request.soundPath),
      m_bitmapWidth(bitmaps[0].width),
      m_bitmapHeight(bitmaps[0].height),
      m_keyColour(request.keyColour),
      m_transparent(request.transparent),
      m_index(request.index),
      m_kind(request.kind),
      m_bitmaps(std::move(bitmaps)),
      m_services(services) {
    setInert(request.controlId == kPhotoControlId);
    // Loading a sound and opening its output takes a moment the first time,
    // which the first press would otherwise wait for.
    if (m_services.sounds && !m_soundPath.empty()) m_services.sounds->Prepare(m_soundPath);
    // A keyed-out button lets the parent's frame show through, so Qt must
    // paint the parent under it; an opaque one covers its whole rectangle.
    setAttribute(Qt::WA_OpaquePaintEvent, !m_transparent);
    if (!request.toolTip.empty()) {
        setToolTip(QString::fromStdString(request.toolTip));
        setAccessibleName(QString::fromStdString(request.toolTip));
    } else {
        setAccessibleName(kindName(request.kind, request.controlId));
    }
}

void SkinButton::paintEvent(QPaintEvent*) {
    // Every state is drawn from the normal bitmap's size, stretched to the
    // button; the key colour is matched after the stretch.
    const image::PixelImage& bitmap = m_bitmaps[static_cast<size_t>(state())];
    const std::optional<uint32_t> key = m_transparent ? std::optional<uint32_t>(m_keyColour) : std::nullopt;
    const image::PixelImage drawn =
        image::DrawTransparent(bitmap, image::PixelRect{0, 0, m_bitmapWidth, m_bitmapHeight}, width(), height(), key);
    QPainter painter(this);
    painter.drawImage(0, 0, toQImage(drawn));
    drawKeyboardFocus(painter);
}

void SkinButton::onPressed() {
    if (m_services.sounds && !m_soundPath.empty() && !browser::NamesNoSound(m_soundPath))
        m_services.sounds->PlayAsync(m_soundPath);
}

void SkinButton::onClicked() {
    if (m_services.dispatcher) m_services.dispatcher->DispatchCommand(m_kind, m_index, screenRectOf(this));
}

}  // namespace quell::ui
