#pragma once
// Turns SIGTERM, SIGINT and SIGHUP into a call on the GUI thread, so that a
// desktop session ending or `kill` closes the program the way its Exit
// command does and it ends with status 0. The handler only writes a byte to
// a pipe; the notifier on the other end runs the callback in the event loop.
#include <QObject>

#include <functional>

class QSocketNotifier;

namespace quell::ui {

class TerminationSignals final : public QObject {
    Q_OBJECT
public:
    // Installs the handlers; the previous ones come back on destruction.
    explicit TerminationSignals(std::function<void()> onRequest, QObject* parent = nullptr);
    ~TerminationSignals() override;

    bool installed() const { return m_notifier != nullptr; }

private:
    void onReadable();

    std::function<void()> m_onRequest;
    QSocketNotifier* m_notifier = nullptr;
};

}  // namespace quell::ui
