#pragma once
// The widgets the skin puts on the main window's frame, owned here: every
// one is destroyed exactly once, in a fixed order, whether the window closes
// first or is destroyed directly.
#include <QProgressBar>

#include <array>
#include <vector>

namespace quell::ui {

class AddressCombo;
class GifAnimator;
class GradientProgress;
class HoverLabel;
class MaximizedToolbar;
class ResourceBitmapButton;
class SkinButton;
class StatusTextControl;

struct SkinElements {
    MaximizedToolbar* toolbar = nullptr;
    QWidget* music = nullptr;
    ResourceBitmapButton* goButton = nullptr;
    AddressCombo* address = nullptr;
    StatusTextControl* status = nullptr;
    QProgressBar* standardProgress = nullptr;
    GradientProgress* gradientProgress = nullptr;
    GifAnimator* busy = nullptr;
    SkinButton* photo = nullptr;
    std::vector<GifAnimator*> pictures;
    // One list per button kind, kind 1 first.
    std::array<std::vector<SkinButton*>, 16> buttons;
    std::vector<HoverLabel*> labels;

    // Shows or hides every skin element that exists (the toolbar and the
    // music window are not skin elements in this sense).
    void setVisible(bool show) const;
    // The order Tab moves in: the address bar first, its Go button, then
    // the skin buttons in the order they were created.
    void setKeyboardOrder() const;
    // Lets the animations run only while they can be seen.
    void setAnimationsOnScreen(bool onScreen) const;
    // The window's destruction order: the toolbar, the busy animation, the
    // pictures, the buttons kind by kind, the labels, the Go button. Each
    // animation's worker is joined before its frames go.
    void destroyElements();
    // Every element a skin load made, at once, while the window and its
    // services stay: before the same window loads its skin again. The
    // toolbar and the music are not the skin's elements in this sense.
    void destroyLoadedElements();
    // What is left once the window is destroyed: the music (which stops
    // within its own time limit), the Photo picture, the address bar, the
    // status text and the progress bars.
    void releaseRemaining();

private:
    void destroyAnimatedAndListed();
};

}  // namespace quell::ui
