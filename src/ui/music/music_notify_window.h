#pragma once
// The invisible child window (control id 128) that owns the skin's music:
// the file image, the stream service and the player. It receives the
// player's two notices as events and does nothing with them; destroying it
// stops the music and closes the device.
#include <QEvent>
#include <QWidget>

#include <cstdint>
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "core/music/midi_stream.h"

namespace quell::music {
class MidiStreamPlayer;
}

namespace quell::ui {

class MusicNotifyWindow : public QWidget {
    Q_OBJECT
public:
    using StreamFactory = std::function<std::unique_ptr<music::MidiStream>()>;

    // The notice sent after every returned buffer (value: bytes played) and
    // the one sent when the device has closed.
    class Notice : public QEvent {
    public:
        Notice(QEvent::Type type, uintptr_t wParam, intptr_t lParam) : QEvent(type), wParam(wParam), lParam(lParam) {}
        const uintptr_t wParam;
        const intptr_t lParam;
    };
    static QEvent::Type positionChangedEvent();  // "rwm_positionchanged"
    static QEvent::Type playedOffEvent();        // "rwm_playedoff"

    // Creates the hidden child, loads the file and plays it; nullptr when the
    // file cannot be read or the device cannot be opened.
    static MusicNotifyWindow* Create(QWidget* parent, const std::string& musicPath, bool repeat,
                                     const StreamFactory& makeStream);
    ~MusicNotifyWindow() override;

    const std::string& musicPath() const { return m_musicPath; }
    bool repeat() const { return m_repeat; }
    music::MidiStreamPlayer* player() const { return m_player.get(); }

protected:
    bool event(QEvent* e) override;

private:
    class WindowPlayer;
    explicit MusicNotifyWindow(QWidget* parent);
    bool start(const std::string& musicPath, bool repeat, const StreamFactory& makeStream);
    void release();

    std::string m_musicPath;
    bool m_repeat = false;
    std::vector<uint8_t> m_image;
    std::unique_ptr<music::MidiStream> m_stream;
    std::unique_ptr<music::MidiStreamPlayer> m_player;
};

}  // namespace quell::ui
