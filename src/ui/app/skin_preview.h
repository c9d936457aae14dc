#pragma once
// A skin folder shown as it is being edited: the folder is watched, and a
// change that settles runs the skin check; a clean check loads the skin
// again in the same window, and a failed one keeps the current skin and shows
// the findings on standard error and in a note over the window. The messages
// the window shows while it loads the skin land in the same note. The layout
// map can be laid over the window, while F12 is held or all the time, and it
// follows each reload.
#include <QFileSystemWatcher>
#include <QObject>
#include <QString>
#include <QStringList>
#include <QTimer>

#include <string>

class QLabel;

namespace quell::ui {

class LayoutMapOverlay;
class MainSkinWindow;
class PreviewMessages;
class PreviewPhotoFolder;

struct PreviewSetup {
    QString folder;
    std::string descriptionPath;
    // Filled afresh before each reload; it outlives the preview.
    PreviewPhotoFolder* photo = nullptr;
    bool alwaysShowMap = false;
};

class SkinPreview final : public QObject {
    Q_OBJECT
public:
    // How long the folder must stay unchanged before the skin is checked;
    // editors save in several steps.
    static constexpr int kSettleMs = 300;
    // Held down, this key shows the layout map.
    static constexpr Qt::Key kMapKey = Qt::Key_F12;

    // Made before the window loads the skin, so that the messages of the
    // first load reach the note too.
    SkinPreview(PreviewSetup setup, MainSkinWindow& window, PreviewMessages& messages);
    ~SkinPreview() override;

    // The note's text; empty while it is hidden.
    QString noteText() const;
    // Whether the layout map is over the window now.
    bool mapShown() const;

protected:
    // Sees the map key wherever the focus is, the page included.
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void watchFolder();
    void onChange();
    void checkAndReload();
    void showNote(const QString& text);
    void onMessage(const QString& text);
    void showMap(bool show);
    void refreshMap();

    PreviewSetup m_setup;
    MainSkinWindow& m_window;
    PreviewMessages& m_messages;
    QFileSystemWatcher m_watcher;
    QTimer m_settle;
    QLabel* m_note = nullptr;  // a child of the window
    // The messages of the latest load, shown in the note until the next one.
    QStringList m_loadMessages;
    LayoutMapOverlay* m_map = nullptr;  // a child of the window
    bool m_mapKeyHeld = false;
};

}  // namespace quell::ui
