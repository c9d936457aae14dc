#pragma once
// The creation steps of the skin's elements on the frame, one function per
// element or list. Each reads its entries from the skin model and leaves the
// widgets it made in SkinElements; a missing entry leaves its pointer null.
// The lists take the next control id in creation order, and the entries a
// list stopped at are reported as they come.
#include <QWidget>

#include <string>
#include <vector>

#include "core/browser/link_command.h"
#include "core/message_sink.h"
#include "core/skin/skin_model.h"
#include "ui/controls/skin_button.h"
#include "ui/mainwindow/skin_elements.h"

namespace quell::ui {

struct ElementContext {
    QWidget* parent;
    const skin::SkinModel& model;
    const skin::SkinLocation& location;
    MessageSink& messages;
    // Counts up from the first counted id across all three lists.
    int& controlIdCounter;
    // The address bar's drop-down list.
    const std::vector<std::string>& typedUrls;
    // The folder of the Photo picture, with a trailing '/'.
    std::string photoFolder;
    SkinButtonServices buttonServices{};
    // The labels' targets; the address bar navigates through the same one.
    browser::LinkTargets linkTargets{};
};

// Gives a control the skin's font: an empty face is the default face, a size
// of -1 is 9 points.
void ApplyControlFont(QWidget* control, std::string face, int size);

// The Go button and, to its right, the address bar.
void CreateAddressBar(const ElementContext& context, SkinElements& elements);
void CreateStatusText(const ElementContext& context, SkinElements& elements);
// The gradient or the standard progress bar, as the skin chooses.
void CreateProgressBar(const ElementContext& context, SkinElements& elements);
// The busy animation, started.
void CreateBusyAnimation(const ElementContext& context, SkinElements& elements);
void CreatePictureList(const ElementContext& context, SkinElements& elements);
void CreateButtonLists(const ElementContext& context, SkinElements& elements);
void CreateLabelList(const ElementContext& context, SkinElements& elements);
// The Photo picture from its folder; its outline is the window's to give.
void CreatePhoto(const ElementContext& context, SkinElements& elements);

}  // namespace quell::ui
