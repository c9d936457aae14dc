#pragma once
// A skin folder shown as it is being edited: the folder is watched, and a
// change that settles runs the skin check; a clean check loads the skin
// again in the same window, and a failed one keeps the current skin and shows
// the findings on standard error and in a note over the window.
#include <QFileSystemWatcher>
#include <QObject>
#include <QString>
#include <QTimer>

class QLabel;

namespace quell::ui {

class MainSkinWindow;

class SkinPreview final : public QObject {
    Q_OBJECT
public:
    // How long the folder must stay unchanged before the skin is checked;
    // editors save in several steps.
    static constexpr int kSettleMs = 300;

    SkinPreview(QString folder, MainSkinWindow& window);

    // The note's text; empty while it is hidden.
    QString noteText() const;

private:
    void watchFolder();
    void onChange();
    void checkAndReload();
    void showNote(const QString& text);

    QString m_folder;
    MainSkinWindow& m_window;
    QFileSystemWatcher m_watcher;
    QTimer m_settle;
    QLabel* m_note = nullptr;  // a child of the window
};

}  // namespace quell::ui
