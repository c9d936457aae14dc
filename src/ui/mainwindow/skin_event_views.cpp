#include "ui/mainwindow/skin_event_views.h"

#include <QLineEdit>
#include <QPixmap>

#include <algorithm>

#include "ui/app/core_qt.h"
#include "ui/controls/gif_animator.h"
#include "ui/controls/gradient_progress.h"
#include "ui/controls/status_text_control.h"
#include "ui/mainwindow/address_combo.h"

namespace quell::ui {

void SkinEventViews::setProgressBars(QProgressBar* standard, GradientProgress* gradient) {
    m_standard = standard;
    m_gradient = gradient;
}

browser::AddressView* SkinEventViews::skinAddress(AddressCombo* combo) {
    m_skinAddress.combo = combo;
    return combo ? &m_skinAddress : nullptr;
}

browser::AddressView* SkinEventViews::toolbarAddress(AddressCombo* combo) {
    m_toolbarAddress.combo = combo;
    return combo ? &m_toolbarAddress : nullptr;
}

void SkinEventViews::setProgressPosition(int32_t percent) {
    // The standard bar keeps its own range, so values past it are clamped there.
    QWidget* bar = nullptr;
    if (m_standard) {
        m_standard->setValue(std::clamp(percent, m_standard->minimum(), m_standard->maximum()));
        bar = m_standard;
    } else if (m_gradient) {
        m_gradient->SetPos(percent);
        bar = m_gradient;
    }
    // The window composes its children with the browser's surface; asking the
    // window for the bar's area makes the new position reach the screen.
    if (bar) m_frame->repaint(bar->geometry());
}

void SkinEventViews::setStatusText(const std::string& text) {
    if (!m_statusControl) return;
    m_statusControl->setText(toQString(text));
    // The frame under the text first, then the text itself.
    m_frame->repaint(m_statusControl->geometry());
}

void SkinEventViews::resumeAnimation() {
    if (m_busy) m_busy->ResumeAnimation();
}

void SkinEventViews::pauseAnimation() {
    if (!m_busy) return;
    m_busy->PauseAnimation();
    m_busy->update();
}

void SkinEventViews::ComboView::setAddressText(const std::string& url) {
    if (!combo) return;
    combo->setEditText(toQString(url));
}

}  // namespace quell::ui
