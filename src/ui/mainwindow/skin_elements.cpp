#include "ui/mainwindow/skin_elements.h"

#include "ui/controls/gif_animator.h"
#include "ui/controls/gradient_progress.h"
#include "ui/controls/hover_label.h"
#include "ui/controls/maximized_toolbar.h"
#include "ui/controls/resource_bitmap_button.h"
#include "ui/controls/skin_button.h"
#include "ui/controls/status_text_control.h"
#include "ui/mainwindow/address_combo.h"

namespace quell::ui {

namespace {

// Deletes a widget and forgets it, so a second pass finds nothing to delete.
template <typename T>
void release(T*& widget) {
    delete widget;
    widget = nullptr;
}

}  // namespace

void SkinElements::setVisible(bool show) const {
    auto apply = [show](QWidget* w) {
        if (w) w->setVisible(show);
    };
    apply(photo);
    apply(busy);
    apply(address);
    apply(status);
    apply(standardProgress);
    apply(gradientProgress);
    for (GifAnimator* picture : pictures) apply(picture);
    for (const auto& kind : buttons)
        for (SkinButton* button : kind) apply(button);
    for (HoverLabel* label : labels) apply(label);
    apply(goButton);
}

void SkinElements::setKeyboardOrder() const {
    QWidget* previous = nullptr;
    auto follow = [&previous](QWidget* w) {
        if (!w) return;
        if (previous) QWidget::setTabOrder(previous, w);
        previous = w;
    };
    follow(address);
    follow(goButton);
    for (const auto& kind : buttons)
        for (SkinButton* button : kind) follow(button);
}

void SkinElements::setAnimationsOnScreen(bool onScreen) const {
    if (busy) busy->setOnScreen(onScreen);
    for (GifAnimator* picture : pictures)
        if (picture) picture->setOnScreen(onScreen);
}

void SkinElements::destroyElements() {
    release(toolbar);
    destroyAnimatedAndListed();
}

void SkinElements::destroyLoadedElements() {
    destroyAnimatedAndListed();
    release(photo);
    release(address);
    release(status);
    release(standardProgress);
    release(gradientProgress);
}

void SkinElements::destroyAnimatedAndListed() {
    if (busy) {
        // The animator leaves its own deletion to the event loop; it is
        // never reached through this pointer again.
        busy->DestroyAnimator();
        busy = nullptr;
    }
    for (GifAnimator* picture : pictures)
        if (picture) picture->DestroyAnimator();
    pictures.clear();
    for (auto& kind : buttons) {
        for (SkinButton* button : kind) delete button;
        kind.clear();
    }
    for (HoverLabel* label : labels) delete label;
    labels.clear();
    release(goButton);
}

void SkinElements::releaseRemaining() {
    release(music);
    release(photo);
    release(address);
    release(status);
    release(standardProgress);
    release(gradientProgress);
}

}  // namespace quell::ui
