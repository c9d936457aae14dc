#include "ui/music/music_notify_window.h"

#include <QCoreApplication>
#include <QMetaObject>
#include <QPointer>

#include "core/control_ids.h"
#include "core/music/midi_stream_player.h"
#include "core/os/file_system.h"
#include "ui/controls/control_id.h"

namespace quell::ui {

// The player variant that tells the window about returned buffers and the
// device closing, from the stream's notification thread.
class MusicNotifyWindow::WindowPlayer final : public music::MidiStreamPlayer {
public:
    WindowPlayer(music::MidiStream& stream, MusicNotifyWindow* window)
        : MidiStreamPlayer(stream, posterFor(window)), m_window(window) {}
    ~WindowPlayer() override { Release(); }

    void OnBufferDone(music::StreamHeader& header) override {
        MidiStreamPlayer::OnBufferDone(header);
        QCoreApplication::postEvent(m_window, new Notice(positionChangedEvent(), bytesPlayed(), 0));
    }
    void OnDeviceClosed() override { QCoreApplication::postEvent(m_window, new Notice(playedOffEvent(), 0, 0)); }

private:
    // The end-of-song reset runs on the window's thread. A queued call is
    // dropped if the window is gone by then.
    static TaskPoster posterFor(MusicNotifyWindow* window) {
        QPointer<MusicNotifyWindow> guard(window);
        return [guard](std::function<void()> task) {
            if (guard) QMetaObject::invokeMethod(guard.data(), std::move(task), Qt::QueuedConnection);
        };
    }

    MusicNotifyWindow* m_window;
};

QEvent::Type MusicNotifyWindow::positionChangedEvent() {
    static const QEvent::Type type = QEvent::Type(QEvent::registerEventType());
    return type;
}

QEvent::Type MusicNotifyWindow::playedOffEvent() {
    static const QEvent::Type type = QEvent::Type(QEvent::registerEventType());
    return type;
}

MusicNotifyWindow::MusicNotifyWindow(QWidget* parent) : QWidget(parent) {
    setObjectName(QStringLiteral("musicNotifyWindow"));
    setControlId(this, ids::kMusicWindow);
    setGeometry(QRect());
    // Explicitly hidden, so showing the main window never shows this child.
    hide();
    // Register both notices now, on the user-interface thread.
    positionChangedEvent();
    playedOffEvent();
}

MusicNotifyWindow::~MusicNotifyWindow() { release(); }

MusicNotifyWindow* MusicNotifyWindow::Create(QWidget* parent, const std::string& musicPath, bool repeat,
                                             const StreamFactory& makeStream) {
    auto* window = new MusicNotifyWindow(parent);
    if (!window->start(musicPath, repeat, makeStream)) {
        delete window;
        return nullptr;
    }
    return window;
}

bool MusicNotifyWindow::start(const std::string& musicPath, bool repeat, const StreamFactory& makeStream) {
    m_musicPath = musicPath;
    m_repeat = repeat;
    release();
    std::vector<uint8_t> image;
    if (os::readFileCapped(musicPath, os::kMaxMusicFileBytes, image) != os::CappedRead::Read || !makeStream)
        return false;
    m_image = std::move(image);
    m_stream = makeStream();
    if (!m_stream) return false;
    m_player = std::make_unique<WindowPlayer>(*m_stream, this);
    if (!m_player->Load(m_image.data(), m_image.size())) {
        release();
        return false;
    }
    m_player->Play(repeat);
    return true;
}

void MusicNotifyWindow::release() {
    // The player goes first: it stops the music and closes the device, which
    // still reads the image and its buffers until then.
    m_player.reset();
    m_stream.reset();
    m_image.clear();
    m_image.shrink_to_fit();
}

bool MusicNotifyWindow::event(QEvent* e) {
    if (e->type() == positionChangedEvent() || e->type() == playedOffEvent()) return true;
    return QWidget::event(e);
}

}  // namespace quell::ui
