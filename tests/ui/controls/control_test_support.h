#pragma once
// Recording stand-ins for the main window's services and pointer helpers
// shared by the control tests.
#include <QCursor>
#include <QFile>
#include <QImage>
#include <QTest>
#include <QWidget>

#include <string>
#include <vector>

#include "core/browser/command_sink.h"
#include "core/browser/sound_player.h"
#include "core/message_sink.h"

namespace quell::test {

struct Dispatch {
    int code;
    int index;
    browser::ScreenRect rect;
};

class RecordingSink : public browser::CommandSink {
public:
    void DispatchCommand(int code, int index, browser::ScreenRect rect) override {
        calls.push_back({code, index, rect});
    }
    std::vector<Dispatch> calls;
};

class RecordingSounds : public browser::SoundPlayer {
public:
    void PlayAsync(const std::string& path) override { played.push_back(path); }
    void Prepare(const std::string& path) override { prepared.push_back(path); }
    std::vector<std::string> played;
    std::vector<std::string> prepared;
};

class RecordingMessages : public MessageSink {
public:
    void showMessage(const std::string& text, MessageIcon) override { shown.push_back(text); }
    std::vector<std::string> shown;
};

// Moves the pointer to a point of the widget and tells the widget, the way
// the window system would; the leave checks read the same pointer position.
inline void pointTo(QWidget* widget, QPoint local) {
    QCursor::setPos(widget->mapToGlobal(local));
    QTest::mouseMove(widget, local);
}

inline void pressAt(QWidget* widget, QPoint local) {
    QCursor::setPos(widget->mapToGlobal(local));
    QTest::mousePress(widget, Qt::LeftButton, {}, local);
}

inline void releaseAt(QWidget* widget, QPoint local) {
    QCursor::setPos(widget->mapToGlobal(local));
    QTest::mouseRelease(widget, Qt::LeftButton, {}, local);
}

// Moves the pointer away without telling the widget; only its 10 ms leave
// check notices, so callers wait for the outcome with QTRY_*.
inline void leave(QWidget* widget, QPoint farLocal) { QCursor::setPos(widget->mapToGlobal(farLocal)); }

// Writes the bytes to the file; its path, or an empty one when it cannot be written.
inline std::string writeFile(const QString& path, const std::vector<uint8_t>& bytes) {
    QFile file(path);
    if (!file.open(QIODevice::WriteOnly)) return {};
    file.write(reinterpret_cast<const char*>(bytes.data()), static_cast<qint64>(bytes.size()));
    return path.toStdString();
}

inline QImage grabbed(QWidget* widget) { return widget->grab().toImage().convertToFormat(QImage::Format_RGB32); }

}  // namespace quell::test
