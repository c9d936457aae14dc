#pragma once
// The skin's three lists on the frame: the animated pictures, the buttons of
// every kind in kind order, and the text labels, each taking the next control
// id in creation order. Entries a list stopped at are reported as they come.
#include <QWidget>

#include "core/browser/link_command.h"
#include "core/message_sink.h"
#include "core/skin/skin_model.h"
#include "ui/controls/skin_button.h"
#include "ui/mainwindow/skin_elements.h"

namespace quell::ui {

struct ElementListContext {
    QWidget* parent;
    const skin::SkinModel& model;
    const skin::SkinLocation& location;
    MessageSink& messages;
    // Counts up from the first counted id across all three lists.
    int& controlIdCounter;
    SkinButtonServices buttonServices{};
    browser::LinkTargets linkTargets{};
};

void CreatePictureList(const ElementListContext& context, SkinElements& elements);
void CreateButtonLists(const ElementListContext& context, SkinElements& elements);
void CreateLabelList(const ElementListContext& context, SkinElements& elements);

}  // namespace quell::ui
