#pragma once
// An animated GIF picture on the frame: every image decoded once, then shown
// in a loop by a worker thread that sleeps each image's delay and asks the
// GUI thread to show the next one. Pausing is counted: n pauses need n
// resumes. A paused or freshly repainted control shows the first image.
#include <QImage>
#include <QWidget>

#include <atomic>
#include <condition_variable>
#include <mutex>
#include <string>
#include <thread>
#include <vector>

#include "core/message_sink.h"
#include "platform/midi/stream_clock.h"

namespace quell::ui {

class GifAnimator : public QWidget {
    Q_OBJECT
public:
    // Null when the file cannot be loaded or holds no image; the message has
    // then been shown.
    // The worker sleeps through clock, the system's own when none is given,
    // so a test can move time by hand.
    static GifAnimator* CreateAnimator(QWidget* parent, int x, int y, const std::string& path, MessageSink* messages,
                                       platform::StreamClock* clock = nullptr);
    ~GifAnimator() override;

    bool StartAnimation();
    void PauseAnimation();
    void ResumeAnimation();
    // Stops the worker and waits for it before the frames go; the widget
    // itself is then deleted later by the event loop.
    void DestroyAnimator();

    int frameCount() const { return static_cast<int>(m_frames.size()); }
    int frameDelay(int index) const { return m_delays.at(static_cast<size_t>(index)); }
    int pauseCount() const;
    // Whether the picture can be seen at all. While it cannot (the window is
    // minimized or hidden, or the picture hidden), the worker sleeps and no
    // image is shown; it goes on from where it was when it can be seen again.
    // This is not a pause: pauses are counted apart and repaint the first image.
    void setOnScreen(bool onScreen);
    bool onScreen() const;
    bool workerRunning() const { return m_worker.joinable(); }
    // How many images the worker has shown so far (for tests and the demo).
    int framesShown() const { return m_framesShown.load(); }

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    GifAnimator(QWidget* parent, std::vector<QImage> frames, std::vector<int> delays, platform::StreamClock& clock);
    void runWorker();
    void stopWorker();
    void showFrame(int index);

    std::vector<QImage> m_frames;
    std::vector<int> m_delays;  // milliseconds
    int m_shownFrame = 0;
    platform::StreamClock& m_clock;
    std::thread m_worker;
    mutable std::mutex m_mutex;
    std::condition_variable m_wake;
    int m_pauses = 0;
    bool m_onScreen = true;
    bool m_stopping = false;
    // Set while a request to show a frame waits in the GUI thread's queue, so
    // a fast animation never floods it.
    std::atomic<bool> m_framePending{false};
    std::atomic<int> m_framesShown{0};
};

// The message format for a file that cannot be loaded; %s is the path.
extern const char* const kGifNotFoundFormat;

}  // namespace quell::ui
