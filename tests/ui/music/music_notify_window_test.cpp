#include <QTemporaryDir>
#include <QWidget>
#include <QtTest>

#include <atomic>
#include <cstdint>
#include <filesystem>
#include <fstream>
#include <memory>

#include "core/music/midi_stream_player.h"
#include "platform/midi/threaded_midi_stream.h"
#include "recording_synthesizer.h"
#include "smf_builder.h"
#include "ui/controls/control_id.h"
#include "ui/music/music_notify_window.h"
#include "ui/music/start_skin_music.h"

using quell::music::PlayerState;
using quell::platform::Synthesizer;
using quell::platform::systemStreamClock;
using quell::platform::ThreadedMidiStream;
using quell::platform::test::RecordingLog;
using quell::platform::test::RecordingSynthesizer;
using quell::ui::MusicNotifyWindow;
using quell::ui::StartSkinMusic;

namespace {

// Four notes of 60 ms each at 96 ticks a quarter and 500,000 us a quarter.
std::string shortSong() {
    quell::music::test::TrackBuilder track;
    for (uint8_t i = 0; i < 4; ++i) track.event(0, {0x90, uint8_t(60 + i), 100}).event(12, {0x80, uint8_t(60 + i), 0});
    const std::vector<uint8_t> file = quell::music::test::smfFile({track.endOfTrack()}, 96, 0);
    return std::string(file.begin(), file.end());
}

// The threaded stream service with a synthesizer that writes down what it
// plays; counts the device's opens and closes and the synthesizers made and
// destroyed. Every test keeps it alive until the window that plays on it is
// gone.
struct Device {
    RecordingLog played;
    std::atomic<int> opens{0};
    std::atomic<int> closes{0};
    std::atomic<int> opened{0};
    std::atomic<int> closed{0};
    bool fail = false;

    struct CountingStream : quell::music::MidiStream {
        CountingStream(Device& d, std::unique_ptr<ThreadedMidiStream> s) : device(d), inner(std::move(s)) {}
        int open(quell::music::MidiStreamClient* c) override {
            int rc = inner->open(c);
            if (rc == 0) ++device.opens;
            return rc;
        }
        int close() override {
            int rc = inner->close();
            if (rc == 0) ++device.closes;
            return rc;
        }
        int setTimeDivision(uint32_t d) override { return inner->setTimeDivision(d); }
        int prepareHeader(quell::music::StreamHeader& h) override { return inner->prepareHeader(h); }
        int unprepareHeader(quell::music::StreamHeader& h) override { return inner->unprepareHeader(h); }
        int out(quell::music::StreamHeader& h) override { return inner->out(h); }
        int restart() override { return inner->restart(); }
        int stop() override { return inner->stop(); }
        int reset() override { return inner->reset(); }
        Device& device;
        std::unique_ptr<ThreadedMidiStream> inner;
    };

    struct CountingSynth : Synthesizer {
        CountingSynth(Device& d) : device(d), inner(d.played, systemStreamClock()) {}
        ~CountingSynth() override { ++device.closed; }
        void shortMessage(uint8_t s, uint8_t a, uint8_t b) override { inner.shortMessage(s, a, b); }
        void silence() override { inner.silence(); }
        Device& device;
        RecordingSynthesizer inner;
    };

    MusicNotifyWindow::StreamFactory factory() {
        return [this]() -> std::unique_ptr<quell::music::MidiStream> {
            return std::make_unique<CountingStream>(
                *this, std::make_unique<ThreadedMidiStream>([this]() -> std::unique_ptr<Synthesizer> {
                    if (fail) return nullptr;
                    ++opened;
                    return std::make_unique<CountingSynth>(*this);
                }));
        };
    }
};

// Counts the window's notices.
struct NoticeCounter : QObject {
    int positions = 0;
    int playedOff = 0;
    bool eventFilter(QObject*, QEvent* e) override {
        if (e->type() == MusicNotifyWindow::positionChangedEvent()) ++positions;
        if (e->type() == MusicNotifyWindow::playedOffEvent()) ++playedOff;
        return false;
    }
};

}  // namespace

class MusicNotifyWindowTest : public QObject {
    Q_OBJECT

private:
    QTemporaryDir m_dir;
    std::string ini(const std::string& text) {
        std::string path = m_dir.path().toStdString() + "/skin.ini";
        std::ofstream(path, std::ios::trunc) << text;
        return path;
    }
    std::string media() const { return m_dir.path().toStdString() + "/Media"; }

private slots:
    void initTestCase() {
        QVERIFY(m_dir.isValid());
        QDir(m_dir.path()).mkdir("Media");
        std::ofstream(media() + "/song.mid", std::ios::binary) << shortSong();
        // The same song followed by padding, one byte past the 16 MiB a
        // music file may hold; the padding after the tracks would not stop it
        // from playing.
        std::ofstream(media() + "/huge.mid", std::ios::binary) << shortSong();
        std::filesystem::resize_file(media() + "/huge.mid", (std::uintmax_t{16} << 20) + 1);
    }

    void noMusicConfiguredMeansNoWindowAndNoDevice_data() {
        QTest::addColumn<QString>("text");
        QTest::addColumn<bool>("deviceFails");
        QTest::newRow("no Sound section") << "[FrameBitmap]\nFileName=f.bmp\n" << false;
        QTest::newRow("FileName FALSE") << "[Sound]\nFileName=FALSE\nRepeat=ON\n" << false;
        QTest::newRow("FileName empty") << "[Sound]\nFileName=\nRepeat=ON\n" << false;
        QTest::newRow("file missing") << "[Sound]\nFileName=NULL\nRepeat=ON\n" << false;
        QTest::newRow("not a MIDI file") << "[Sound]\nFileName=../skin.ini\n" << false;
        QTest::newRow("larger than 16 MiB") << "[Sound]\nFileName=huge.mid\n" << false;
        QTest::newRow("device cannot open") << "[Sound]\nFileName=song.mid\n" << true;
    }
    void noMusicConfiguredMeansNoWindowAndNoDevice() {
        QFETCH(QString, text);
        QFETCH(bool, deviceFails);
        Device device;
        device.fail = deviceFails;
        QWidget parent;
        QCOMPARE(StartSkinMusic(&parent, ini(text.toStdString()), media(), device.factory()), nullptr);
        QVERIFY(parent.findChildren<MusicNotifyWindow*>().isEmpty());
        QCOMPARE(device.opens.load(), 0);
    }

    void theRepeatSettingIsOnOnlyForOn_data() {
        QTest::addColumn<QString>("value");
        QTest::addColumn<bool>("repeat");
        QTest::newRow("ON") << "ON" << true;
        QTest::newRow("on") << "on" << true;
        QTest::newRow("On") << "On" << true;
        QTest::newRow("yes") << "yes" << false;
        QTest::newRow("ON!") << "ON!" << false;
        QTest::newRow("absent") << "" << false;
    }
    void theRepeatSettingIsOnOnlyForOn() {
        QFETCH(QString, value);
        QFETCH(bool, repeat);
        Device device;
        QWidget parent;
        std::string text = "[Sound]\nFileName=SONG.MID\n";
        if (!value.isEmpty()) text += "Repeat=" + value.toStdString() + "\n";
        MusicNotifyWindow* window = StartSkinMusic(&parent, ini(text), media(), device.factory());
        QVERIFY(window);
        QCOMPARE(window->repeat(), repeat);
        QCOMPARE(window->player()->repeat(), repeat);
        QVERIFY(QString::fromStdString(window->musicPath()).endsWith("Media/song.mid"));
    }

    void theWindowIsAnInvisibleChildThatPlays() {
        Device device;
        QWidget parent;
        parent.resize(200, 100);
        MusicNotifyWindow* window =
            StartSkinMusic(&parent, ini("[Sound]\nFileName=song.mid\nRepeat=ON\n"), media(), device.factory());
        QVERIFY(window);
        NoticeCounter counter;
        window->installEventFilter(&counter);
        parent.show();
        QCOMPARE(window->parentWidget(), &parent);
        QCOMPARE(quell::ui::controlId(window), 128);
        QVERIFY(!window->isVisible());
        QVERIFY(window->geometry().isEmpty());
        QVERIFY(device.played.waitFor(12));  // a repeating song goes round more than once
        QTRY_VERIFY(counter.positions >= 3);
        QVERIFY(window->player()->playing());
        QCOMPARE(device.opens.load(), 1);
    }

    void withoutRepeatTheSongEndsOnAReopenedPausedDevice() {
        Device device;
        QWidget parent;
        MusicNotifyWindow* window =
            StartSkinMusic(&parent, ini("[Sound]\nFileName=song.mid\nRepeat=OFF\n"), media(), device.factory());
        QVERIFY(window);
        NoticeCounter counter;
        window->installEventFilter(&counter);
        QVERIFY(device.played.waitFor(8));
        // The reset runs on this thread's event loop: close, then open again,
        // on the same synthesizer.
        QTRY_COMPARE(device.opens.load(), 2);
        QTRY_COMPARE(counter.playedOff, 1);
        QCOMPARE(device.closes.load(), 1);
        QCOMPARE(device.opened.load(), 1);
        QVERIFY(window->player()->deviceOpen());
        QVERIFY(!window->player()->playing());
        QCOMPARE(window->player()->state(), PlayerState::Normal);
        QTest::qWait(100);
        int notes = 0;
        for (const auto& p : device.played.played()) notes += (p.message & 0xF0) == 0x90;
        QCOMPARE(notes, 4);
    }

    void destroyingTheWindowStopsTheMusicAndClosesTheDevice() {
        auto parent = std::make_unique<QWidget>();
        Device device;
        MusicNotifyWindow* window =
            StartSkinMusic(parent.get(), ini("[Sound]\nFileName=song.mid\nRepeat=on\n"), media(), device.factory());
        QVERIFY(window);
        QVERIFY(device.played.waitFor(3));
        parent.reset();
        QCOMPARE(device.closes.load(), 1);
        QCOMPARE(device.closed.load(), 1);
        size_t after = device.played.played().size();
        QCOMPARE(device.played.played().back().message, 0u);  // silenced
        QTest::qWait(150);
        QCOMPARE(device.played.played().size(), after);
    }
};

QTEST_MAIN(MusicNotifyWindowTest)
#include "music_notify_window_test.moc"
