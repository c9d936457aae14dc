#include "ui/mainwindow/skin_element_creation.h"

#include <QAbstractItemView>
#include <QProgressBar>

#include <algorithm>

#include "core/browser/toolbar_layout.h"
#include "core/control_ids.h"
#include "core/image/bitmap_file.h"
#include "core/text/utf8.h"
#include "ui/app/core_qt.h"
#include "ui/controls/control_id.h"
#include "ui/controls/font_height.h"
#include "ui/controls/gif_animator.h"
#include "ui/controls/gradient_progress.h"
#include "ui/controls/hover_label.h"
#include "ui/controls/resource_bitmap_button.h"
#include "ui/controls/standard_progress.h"
#include "ui/controls/status_text_control.h"
#include "ui/mainwindow/address_combo.h"

namespace quell::ui {

namespace {

constexpr int kGoButtonWidth = 41;
// Where the Photo picture sits on the frame.
constexpr int kPhotoX = 21;
constexpr int kPhotoY = 34;
constexpr int kDropDownExtra = 200;
// The default face of the skin's address and status fonts.
constexpr const char* kDefaultFace = "굴림";
// A font description holds a face name of at most this many bytes.
constexpr size_t kFaceNameBytes = 31;

}  // namespace

void ApplyControlFont(QWidget* control, std::string face, int size) {
    if (face.empty()) face = kDefaultFace;
    if (size == -1) size = 9;
    QFont font(toQString(utf8::cutAtBoundary(std::move(face), kFaceNameBytes)));
    // The font height is the size's negated pixel count. A positive size thus
    // asks for characters of that many points; a negative one gives a
    // positive height, the height of the whole character cell; zero asks for
    // no height at all, and the face keeps its default size.
    if (size > 0) font.setPixelSize(std::max(1, fontPixelHeight(size)));
    else if (size < 0) font.setPixelSize(emPixelsForCellHeight(font, fontPixelHeight(-size)));
    control->setFont(font);
}

void CreateAddressBar(const ElementContext& c, SkinElements& elements) {
    skin::SkinRect address = c.model.addressBarRect;
    if (!address.isSet()) return;
    elements.goButton =
        ResourceBitmapButton::CreateResourceButton(ids::kGoButton, browser::kGoButtonFirstBitmap, address.left,
                                                   address.top, c.parent, c.buttonServices.dispatcher);
    if (elements.goButton) {
        elements.goButton->setToolTipText(toQString(std::string(browser::kGoButtonTooltip)));
        setControlId(elements.goButton, ids::kGoButton);
    }
    address.left += kGoButtonWidth;
    elements.address = new AddressCombo(c.typedUrls, c.linkTargets.navigate, c.parent);
    setControlId(elements.address, ids::kAddressBar);
    elements.address->setGeometry(toQRect(address));
    // The drop-down list reaches 200 pixels below the bar, on pale yellow.
    elements.address->view()->setStyleSheet(QStringLiteral("background-color: rgb(255,255,223);"));
    elements.address->setMaxVisibleItems(std::max(1, kDropDownExtra / std::max(1, elements.address->height())));
    ApplyControlFont(elements.address, c.model.addressFont, c.model.addressFontSize);
    // The caret blinks while the bar has focus: in a window of its own, over
    // a background of its own, each blink repaints only the bar.
    elements.address->setAutoFillBackground(true);
    elements.address->setAttribute(Qt::WA_NativeWindow);
}

void CreateStatusText(const ElementContext& c, SkinElements& elements) {
    if (!c.model.hasStatusBar) return;
    elements.status = new StatusTextControl(c.parent);
    setControlId(elements.status, ids::kStatusText);
    elements.status->setGeometry(toQRect(c.model.statusRect));
    // The status transparent flag: the frame shows through the status text.
    elements.status->setTransparentBackground(true);
    ApplyControlFont(elements.status, c.model.statusFont, c.model.statusFontSize);
    elements.status->SetTextColour(c.model.statusColour);
    elements.status->setText(QString());
}

void CreateProgressBar(const ElementContext& c, SkinElements& elements) {
    if (!c.model.progressRect.isSet()) return;
    if (c.model.progressGradient) {
        auto* bar = new GradientProgress(c.parent);
        setControlId(bar, ids::kGradientProgress);
        bar->setGeometry(toQRect(c.model.progressRect));
        bar->setStartColour(c.model.progressStart);
        bar->setEndColour(c.model.progressEnd);
        bar->setBackgroundColour(c.model.progressBack);
        bar->SetRange(0, 100);
        bar->setVertical(c.model.progressVertical);
        bar->SetPos(0);
        elements.gradientProgress = bar;
    } else {
        auto* bar = new StandardProgress(c.parent);
        setControlId(bar, ids::kStandardProgress);
        bar->setGeometry(toQRect(c.model.progressRect));
        bar->setOrientation(c.model.progressVertical ? Qt::Vertical : Qt::Horizontal);
        bar->setSmooth(c.model.progressSmooth);
        bar->setTextVisible(false);
        bar->setRange(0, 100);
        bar->setValue(0);
        elements.standardProgress = bar;
    }
}

void CreateBusyAnimation(const ElementContext& c, SkinElements& elements) {
    const skin::SkinRect& at = c.model.navigationGifRect;
    if (!at.isSet()) return;
    elements.busy =
        GifAnimator::CreateAnimator(c.parent, at.left, at.top, c.location.path(c.model.navigationGifFile), &c.messages);
    setControlId(elements.busy, ids::kAnimator);
    if (elements.busy) elements.busy->StartAnimation();
}

void CreatePhoto(const ElementContext& c, SkinElements& elements) {
    std::string path = c.photoFolder + "Photo.bmp";
    // Only the picture's size is wanted here; a missing file is the button's
    // own message.
    image::PixelImage photo;
    image::LoadBitmapFile(path, photo);
    SkinButtonSpec request;
    request.normalPath = path;
    request.x = kPhotoX;
    request.y = kPhotoY;
    request.width = photo.width;
    request.height = photo.height;
    request.controlId = kPhotoControlId;
    elements.photo = SkinButton::CreateButton(request, c.parent, SkinButtonServices{nullptr, nullptr, &c.messages});
    setControlId(elements.photo, kPhotoControlId);
}

void CreatePictureList(const ElementContext& c, SkinElements& elements) {
    for (const skin::PictureEntry& entry : c.model.pictures) {
        GifAnimator* picture =
            GifAnimator::CreateAnimator(c.parent, entry.x, entry.y, c.location.path(entry.file), &c.messages);
        setControlId(picture, ids::kAnimator);
        elements.pictures.push_back(picture);
        if (picture) picture->StartAnimation();
    }
    for (const skin::MissingEntry& missing : c.model.missingPictures) c.messages.showMessage(missing.message);
}

void CreateButtonLists(const ElementContext& c, SkinElements& elements) {
    for (const skin::ButtonKind& kind : skin::kButtonKinds) {
        auto& list = elements.buttons[static_cast<size_t>(kind.commandCode - 1)];
        for (const skin::ButtonEntry& entry : c.model.buttons) {
            if (entry.kind != kind.commandCode) continue;
            SkinButtonSpec request;
            request.normalPath = c.location.path(entry.normalImage);
            request.hoverPath = c.location.path(entry.hoverImage);
            request.pressedPath = c.location.path(entry.pressedImage);
            request.x = entry.x;
            request.y = entry.y;
            request.width = entry.width;
            request.height = entry.height;
            request.controlId = ++c.controlIdCounter;
            request.kind = entry.kind;
            request.index = entry.index;
            request.transparent = entry.keyColour != -1;
            request.keyColour = static_cast<uint32_t>(entry.keyColour);
            request.soundPath = c.location.path(entry.sound);
            request.toolTip = entry.tooltip.empty() ? std::string(kind.defaultTooltip) : entry.tooltip;
            SkinButton* button = SkinButton::CreateButton(request, c.parent, c.buttonServices);
            setControlId(button, request.controlId);
            list.push_back(button);
        }
        for (const skin::MissingEntry& missing : c.model.missingButtons) {
            if (missing.key.rfind(kind.keyStem, 0) == 0 &&
                missing.key.find_first_not_of("0123456789", kind.keyStem.size()) == std::string::npos)
                c.messages.showMessage(missing.message);
        }
    }
}

void CreateLabelList(const ElementContext& c, SkinElements& elements) {
    for (const skin::TextEntry& entry : c.model.texts) {
        int id = ++c.controlIdCounter;
        auto* label = new HoverLabel(toQString(entry.caption), c.linkTargets, c.parent);
        setControlId(label, id);
        label->setGeometry(entry.x, entry.y, entry.width, entry.height);
        LabelRecord record;
        record.face = entry.face;
        record.normalColour = entry.normalColour;
        record.hoverColour = entry.hoverColour;
        record.fourthValue = static_cast<int>(entry.thirdColour);
        record.sizePoints = entry.size;
        record.bold = entry.bold;
        record.italic = entry.italic;
        record.underline = entry.underline;
        record.keyword = entry.keyword;
        record.argument = entry.argument;
        label->ConfigureLabel(record);
        elements.labels.push_back(label);
    }
    for (const skin::MissingEntry& missing : c.model.missingTexts) c.messages.showMessage(missing.message);
}

}  // namespace quell::ui
