#pragma once
// The address bar: an editable, unsorted combo whose list holds the typed-URL
// history. Enter navigates to the text as typed, choosing a list entry
// navigates to it, and typing completes the text inline from the list.
#include <QComboBox>

#include <functional>
#include <string>
#include <vector>

namespace quell::ui {

class AddressCombo : public QComboBox {
    Q_OBJECT
public:
    using NavigateFn = std::function<void(const std::string& url)>;

    // history is the cleaned-up list, already in its final order; it is
    // filled in once here and never changes afterwards.
    AddressCombo(const std::vector<std::string>& history, NavigateFn navigate, QWidget* parent = nullptr);

    bool completionEnabled() const { return m_completionEnabled; }

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void completeFromList(const QString& typed);
    void navigateToEntry(int index);
    bool filterKeyPress(QKeyEvent* event);

    bool m_completionEnabled = true;
    NavigateFn m_navigate;
};

}  // namespace quell::ui
