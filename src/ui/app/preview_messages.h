#pragma once
// Where the skin preview sends the messages the window would show as message
// boxes: an author editing the skin's files must never be stopped by a modal
// box, so each message goes to standard error at once and on to the preview,
// which shows it in its note.
#include <QString>
#include <QStringList>

#include <functional>
#include <string>

#include "core/message_sink.h"

namespace quell::ui {

class PreviewMessages final : public MessageSink {
public:
    using Listener = std::function<void(const QString& text)>;

    void showMessage(const std::string& text, MessageIcon icon = MessageIcon::None) override;
    // Messages that come before a listener is set are kept and handed to it
    // when it is set, in the order they came.
    void setListener(Listener listener);

private:
    Listener m_listener;
    QStringList m_waiting;
};

}  // namespace quell::ui
