#pragma once
#include <QPointer>
#include <QWidget>

#include "core/message_sink.h"

namespace quell::ui {

// Shows core's messages as a message box with one OK button and the text only.
class QtMessageSink final : public MessageSink {
public:
    explicit QtMessageSink(QWidget* parent = nullptr) : m_parent(parent) {}
    void showMessage(const std::string& text, MessageIcon icon = MessageIcon::None) override;

private:
    QPointer<QWidget> m_parent;
};

}  // namespace quell::ui
