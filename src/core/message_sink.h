#pragma once
// Where core code sends the messages a user sees: a message box with one OK
// button in the program, a recording list in tests.
#include <string>

namespace quell {

enum class MessageIcon { None, Exclamation };

class MessageSink {
public:
    virtual ~MessageSink() = default;
    // text is UTF-8; an empty text is a legitimate (empty) message box.
    virtual void showMessage(const std::string& text, MessageIcon icon = MessageIcon::None) = 0;
};

}  // namespace quell
