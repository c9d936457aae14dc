#pragma once
// A test frame carrying one of each skin control, with pictures made on the fly.
#include <QTemporaryDir>
#include <QTimer>
#include <QWidget>

#include <memory>
#include <string>

#include "core/browser/command_sink.h"
#include "core/message_sink.h"

namespace quell::platform {
class SoundEffectPlayer;
}

namespace quell::ui {
class GifAnimator;
class GradientProgress;
class StatusTextControl;
}  // namespace quell::ui

namespace quell::demo {

class DemoFrame : public QWidget, public browser::CommandSink {
    Q_OBJECT
public:
    DemoFrame();
    ~DemoFrame() override;

    void DispatchCommand(int code, int index, browser::ScreenRect screenRect) override;

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    void report(const QString& text);
    std::string writeButtonPicture(const QString& name, const QColor& face, const QColor& ink);
    std::string writeAnimation();
    void advanceProgress();

    QTemporaryDir m_media;
    std::unique_ptr<platform::SoundEffectPlayer> m_sounds;
    std::unique_ptr<MessageSink> m_messages;
    ui::StatusTextControl* m_status = nullptr;
    ui::GradientProgress* m_horizontal = nullptr;
    ui::GradientProgress* m_vertical = nullptr;
    ui::GifAnimator* m_busy = nullptr;
    QTimer m_progressTimer;
    int m_progress = 0;
};

}  // namespace quell::demo
