#include "ui/mainwindow/skin_element_lists.h"

#include "ui/app/core_qt.h"
#include "ui/controls/control_id.h"
#include "ui/controls/gif_animator.h"
#include "ui/controls/hover_label.h"

namespace quell::ui {

void CreatePictureList(const ElementListContext& c, SkinElements& elements) {
    for (const skin::PictureEntry& entry : c.model.pictures) {
        GifAnimator* picture =
            GifAnimator::CreateAnimator(c.parent, entry.x, entry.y, c.location.path(entry.file), &c.messages);
        elements.pictures.push_back(picture);
        if (picture) picture->StartAnimation();
    }
    for (const skin::MissingEntry& missing : c.model.missingPictures) c.messages.showMessage(missing.message);
}

void CreateButtonLists(const ElementListContext& c, SkinElements& elements) {
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

void CreateLabelList(const ElementListContext& c, SkinElements& elements) {
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
