#pragma once
// The skin's push button: three bitmap files (normal, hover, pressed) drawn
// stretched to the skin's rectangle, optionally with one key colour left out
// so the frame shows through; a press plays the entry's sound and a click
// hands the command kind to the dispatcher.
#include <QWidget>

#include <array>
#include <cstdint>
#include <string>

#include "core/browser/command_sink.h"
#include "core/control_ids.h"
#include "core/browser/sound_player.h"
#include "core/image/pixel_image.h"
#include "core/message_sink.h"
#include "ui/controls/three_state_button.h"

namespace quell::ui {

// The Photo picture uses this control id: the same file in every state, no mouse.
inline constexpr int kPhotoControlId = ids::kPhoto;

struct SkinButtonSpec {
    std::string normalPath;
    std::string hoverPath;
    std::string pressedPath;
    int x = 0, y = 0, width = 0, height = 0;
    int controlId = 0;
    int kind = 0;
    int index = 0;
    bool transparent = false;
    uint32_t keyColour = 0;  // skin colour value, red in the low byte
    std::string soundPath;
    std::string toolTip;  // also the accessible name
};

// Where a button reports and plays; any of them may be null.
struct SkinButtonServices {
    browser::CommandSink* dispatcher = nullptr;
    browser::SoundPlayer* sounds = nullptr;
    MessageSink* messages = nullptr;
};

class SkinButton : public ThreeStateButton {
    Q_OBJECT
public:
    // Null when a bitmap cannot be loaded; the message then has been shown.
    static SkinButton* CreateButton(const SkinButtonSpec& request, QWidget* parent, SkinButtonServices services);

    int kind() const { return m_kind; }
    int index() const { return m_index; }
    QSize bitmapSize() const { return QSize(m_bitmapWidth, m_bitmapHeight); }

protected:
    void paintEvent(QPaintEvent* event) override;
    void onPressed() override;
    void onClicked() override;

private:
    SkinButton(const SkinButtonSpec& request, std::array<image::PixelImage, 3> bitmaps, QWidget* parent,
               SkinButtonServices services);

    std::string m_soundPath;
    int m_bitmapWidth = 0;
    int m_bitmapHeight = 0;
    uint32_t m_keyColour = 0;
    bool m_transparent = false;
    int m_index = 0;
    int m_kind = 0;
    std::array<image::PixelImage, 3> m_bitmaps;
    SkinButtonServices m_services;
};

// The message shown when a button's bitmap cannot be read.
extern const char* const kBitmapUnreadableMessage;

}  // namespace quell::ui
