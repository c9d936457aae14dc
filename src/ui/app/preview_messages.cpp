#include "ui/app/preview_messages.h"

#include <QStringList>

#include <cstdio>
#include <utility>

#include "ui/app/core_qt.h"

namespace quell::ui {

void PreviewMessages::showMessage(const std::string& text, MessageIcon) {
    // Some skin entries show an empty message box; the line still says that
    // one was shown.
    std::fprintf(stderr, "message: \"%s\"\n", text.c_str());
    std::fflush(stderr);
    const QString message = toQString(text);
    if (m_listener) m_listener(message);
    else m_waiting.append(message);
}

void PreviewMessages::setListener(Listener listener) {
    m_listener = std::move(listener);
    if (!m_listener) return;
    const QStringList waiting = std::exchange(m_waiting, {});
    for (const QString& message : waiting) m_listener(message);
}

}  // namespace quell::ui
