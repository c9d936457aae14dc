#include "ui/controls/gif_animator.h"

#include <QMetaObject>
#include <QPainter>

#include <algorithm>
#include <cstdint>
#include <cstdio>

#include "core/image/gif_decoder.h"
#include "ui/controls/image_conversion.h"

namespace quell::ui {
namespace {

// A single image with no delay would otherwise be redrawn in a busy loop.
constexpr int kMinimumSleepMs = 10;

std::string formatNotFound(const std::string& path) {
    const int needed = std::snprintf(nullptr, 0, kGifNotFoundFormat, path.c_str());
    std::string text(static_cast<size_t>(needed > 0 ? needed : 0), '\0');
    std::snprintf(text.data(), text.size() + 1, kGifNotFoundFormat, path.c_str());
    return text;
}

}  // namespace

const char* const kGifNotFoundFormat = "Gif ファイルが見つかりません｡ : (%s)";

GifAnimator* GifAnimator::CreateAnimator(QWidget* parent, int x, int y, const std::string& path, MessageSink* messages,
                                         platform::StreamClock* clock) {
    image::GifDecoder decoder;
    // A file that holds no image cannot be shown either; it gets the same message.
    if (!decoder.LoadGifFile(path) || decoder.FrameCount() <= 0) {
        if (messages) messages->showMessage(formatNotFound(path));
        return nullptr;
    }
    const int count = decoder.FrameCount();
    image::GifFrameInfo first;
    if (!decoder.GetFrameInfo(0, first) || first.width <= 0 || first.height <= 0) return nullptr;

    std::vector<QImage> frames(static_cast<size_t>(count));
    std::vector<int> delays(static_cast<size_t>(count), 0);
    for (int i = 0; i < count; ++i) {
        image::GifFrameInfo info;
        if (decoder.GetFrameInfo(i, info)) delays[static_cast<size_t>(i)] = info.delay * 10;
        image::PixelImage picture;
        // Transparent pixels become white; a frame that cannot be made stays empty.
        if (decoder.CreateFrameBitmap(i, picture)) frames[static_cast<size_t>(i)] = toQImage(picture);
    }

    auto* animator =
        new GifAnimator(parent, std::move(frames), std::move(delays), clock ? *clock : platform::systemStreamClock());
    animator->setGeometry(x, y, first.width, first.height);
    // Assistive tools name the picture by its file.
    const size_t slash = path.find_last_of("/\\");
    animator->setAccessibleName(QString::fromStdString(slash == std::string::npos ? path : path.substr(slash + 1)));
    animator->show();
    // A window of its own: each new image repaints only this small window
    // rather than recomposing the whole frame around the browser.
    animator->setAttribute(Qt::WA_NativeWindow);
    animator->update();
    return animator;
}

GifAnimator::GifAnimator(QWidget* parent, std::vector<QImage> frames, std::vector<int> delays,
                         platform::StreamClock& clock)
    : QWidget(parent), m_frames(std::move(frames)), m_delays(std::move(delays)), m_clock(clock) {
    setAttribute(Qt::WA_OpaquePaintEvent);
}

GifAnimator::~GifAnimator() { stopWorker(); }

bool GifAnimator::StartAnimation() {
    if (m_worker.joinable() || m_frames.empty()) return false;
    {
        std::lock_guard lock(m_mutex);
        m_stopping = false;
    }
    m_worker = std::thread(&GifAnimator::runWorker, this);
    return true;
}

void GifAnimator::PauseAnimation() {
    if (!m_worker.joinable()) return;
    std::lock_guard lock(m_mutex);
    ++m_pauses;
}

void GifAnimator::ResumeAnimation() {
    if (!m_worker.joinable()) return;
    {
        std::lock_guard lock(m_mutex);
        if (m_pauses > 0) --m_pauses;
    }
    m_wake.notify_all();
}

void GifAnimator::setOnScreen(bool onScreen) {
    {
        std::lock_guard lock(m_mutex);
        if (m_onScreen == onScreen) return;
        m_onScreen = onScreen;
    }
    m_wake.notify_all();
}

bool GifAnimator::onScreen() const {
    std::lock_guard lock(m_mutex);
    return m_onScreen;
}

int GifAnimator::pauseCount() const {
    std::lock_guard lock(m_mutex);
    return m_pauses;
}

void GifAnimator::DestroyAnimator() {
    stopWorker();
    m_frames.clear();
    m_delays.clear();
    hide();
    deleteLater();
}

void GifAnimator::stopWorker() {
    if (!m_worker.joinable()) return;
    {
        std::lock_guard lock(m_mutex);
        m_stopping = true;
    }
    m_wake.notify_all();
    m_worker.join();
}

void GifAnimator::runWorker() {
    // The frames and delays are fixed before the worker starts and only
    // released after it has been joined, so it reads them without a lock.
    const size_t count = m_frames.size();
    std::unique_lock lock(m_mutex);
    for (;;) {
        for (size_t i = 0; i < count; ++i) {
            m_wake.wait(lock, [this] { return m_stopping || (m_pauses == 0 && m_onScreen); });
            if (m_stopping) return;
            if (!m_framePending.exchange(true)) {
                const int index = static_cast<int>(i);
                // Widgets are painted on the GUI thread only; the request is
                // dropped if the animator is gone by the time it arrives.
                QMetaObject::invokeMethod(
                    this, [this, index] { showFrame(index); }, Qt::QueuedConnection);
            }
            const int delay = std::max(m_delays[i], kMinimumSleepMs);
            const int64_t deadline = m_clock.nowMicros() + int64_t{delay} * 1000;
            while (!m_stopping && m_clock.nowMicros() < deadline) m_clock.waitUntil(lock, m_wake, deadline);
            if (m_stopping) return;
        }
    }
}

void GifAnimator::showFrame(int index) {
    m_framePending = false;
    if (pauseCount() > 0) return;
    m_shownFrame = index;
    ++m_framesShown;
    repaint();
}

void GifAnimator::paintEvent(QPaintEvent*) {
    QPainter painter(this);
    // While paused, a repaint goes back to the first image.
    const int index = (m_worker.joinable() && pauseCount() == 0) ? m_shownFrame : 0;
    if (index < 0 || static_cast<size_t>(index) >= m_frames.size()) return;
    const QImage& frame = m_frames[static_cast<size_t>(index)];
    if (frame.isNull()) return;
    if (frame.width() < width() || frame.height() < height()) painter.fillRect(rect(), Qt::white);
    painter.drawImage(0, 0, frame);
}

}  // namespace quell::ui
