#pragma once
// The skin's widgets as the targets of the browser's events: the progress
// bar (standard or gradient), both address bars, the status text over the
// frame and the busy animation.
#include <QPointer>
#include <QProgressBar>
#include <QWidget>

#include "core/browser/navigation_events.h"

namespace quell::ui {

class AddressCombo;
class GifAnimator;
class GradientProgress;
class StatusTextControl;

class SkinEventViews final : public browser::ProgressView, public browser::StatusView, public browser::BusyIndicator {
public:
    // frame is the window the status text sits on; its area under the text is
    // repainted before the new text shows.
    explicit SkinEventViews(QWidget* frame) : m_frame(frame) {}

    void setProgressBars(QProgressBar* standard, GradientProgress* gradient);
    void setStatusText(StatusTextControl* status) { m_statusControl = status; }
    void setBusyAnimation(GifAnimator* busy) { m_busy = busy; }
    browser::AddressView* skinAddress(AddressCombo* combo);
    browser::AddressView* toolbarAddress(AddressCombo* combo);

    void setProgressPosition(int32_t percent) override;
    void setStatusText(const std::string& text) override;
    void resumeAnimation() override;
    void pauseAnimation() override;

private:
    class ComboView final : public browser::AddressView {
    public:
        void setAddressText(const std::string& url) override;
        QPointer<AddressCombo> combo;
    };

    QWidget* m_frame;
    QPointer<QProgressBar> m_standard;
    QPointer<GradientProgress> m_gradient;
    QPointer<StatusTextControl> m_statusControl;
    QPointer<GifAnimator> m_busy;
    ComboView m_skinAddress;
    ComboView m_toolbarAddress;
};

}  // namespace quell::ui
