#pragma once
// The skinned main window: a frameless window whose face is the frame bitmap
// and whose shape is the outline polygon, carrying the browser and every skin
// element, and the place every command ends up.
#include <QPixmap>
#include <QRegion>
#include <QTimer>
#include <QWidget>

#include <array>
#include <memory>
#include <string>
#include <vector>

#include "core/browser/command_dispatcher.h"
#include "core/browser/navigation_events.h"
#include "core/control_ids.h"
#include "core/skin/profile_file.h"
#include "core/skin/skin_model.h"
#include "platform/shell/desktop_shell.h"
#include "platform/sound/sound_effect_player.h"
#include "ui/app/qt_message_sink.h"
#include "ui/mainwindow/skin_element_creation.h"
#include "ui/mainwindow/skin_elements.h"

namespace quell::platform {
class SynthesizerLoad;
}

namespace quell::ui {

// The element classes are declared with SkinElements.
class WebEngineBrowser;
class SkinEventViews;

inline constexpr const char* kMainWindowTitle = "Quellmark";
inline constexpr const char* kOutlineUnreadableMessage = "アウトラインデータが開けません｡\"";

class MainSkinWindow : public QWidget, public browser::MainWindowControl {
    Q_OBJECT
public:
    struct Locations {
        std::string skinIniPath;
        std::string mediaFolder;  // trailing '/'
        std::string photoFolder;  // trailing '/'; Photo.bmp lives here
    };

    // Construction and the creation step: the maximized-mode toolbar (hidden).
    // The skin's music follows the first page.
    // messages: where the window's messages go; null shows them as message boxes.
    explicit MainSkinWindow(Locations locations, MessageSink* messages = nullptr, QWidget* parent = nullptr);
    ~MainSkinWindow() override;

    // The initialisation: title, icon, the skin, placement at the screen's
    // corner and the first page. False when the skin is unusable; the window
    // is then closed.
    bool Initialise();
    bool LoadSkin();
    // Loads the skin description again in place of the current skin; the
    // browser and its page stay. False when the skin cannot be loaded.
    bool ReloadSkin();
    bool ApplyOutline();
    bool ApplyPhotoOutline();
    void ShowSkinElements(bool show);
    void SetControlFont(QWidget* control, std::string face, int size);

    // MainWindowControl
    void closeWindow() override;
    void minimizeWindow() override;
    void maximizeWindow() override;
    void restoreWindow() override;
    bool windowIsMaximized() const override { return m_maximized; }
    void popupMenu(int menuId, int x, int y) override;
    std::string runBookmarkDialog() override;

    // Parts for tests and the e2e checks.
    browser::CommandDispatcher& dispatcher() { return *m_dispatcher; }
    WebEngineBrowser* webBrowser() const { return m_browser; }
    QWidget* controlById(int id);
    const std::vector<SkinButton*>& skinButtons(int kind) const {
        return m_elements.buttons.at(static_cast<size_t>(kind - 1));
    }
    const std::vector<HoverLabel*>& textLabels() const { return m_elements.labels; }
    const std::vector<GifAnimator*>& pictures() const { return m_elements.pictures; }
    MaximizedToolbar* maximizedToolbar() const { return m_elements.toolbar; }
    AddressCombo* addressCombo() const { return m_elements.address; }
    const QPixmap& frame() const { return m_frame; }
    QRect browserRect() const;

protected:
    void paintEvent(QPaintEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
    void mouseDoubleClickEvent(QMouseEvent* event) override;
    void contextMenuEvent(QContextMenuEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;
    void changeEvent(QEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;
    void closeEvent(QCloseEvent* event) override;
    void showEvent(QShowEvent* event) override;
    void hideEvent(QHideEvent* event) override;

private:
    bool isBareFrame(const QPointF& at) const;
    ElementContext elementContext();
    void connectEventViews();
    // The size notification: the state the window is in decides the layout.
    enum class SizeType { None, Normal, Maximized, Minimized };
    SizeType currentSizeType() const;
    void onSizeChange(SizeType type);
    void applyMaximizedLayout();
    void applyNormalLayout();
    // The skin's animations run only while the window and the skin are shown.
    void updateAnimationsOnScreen();
    void showSystemMenu(const QPoint& globalPos);
    void destroyElements();
    void releaseRemainingElements();
    void startMusic();
    void startMusicWhenLoaded();
    void placeBrowser();
    void startBrowser();

    Locations m_locations;
    skin::SkinLocation m_skinLocation;
    skin::ProfileFile m_file;
    skin::SkinModel m_model;

    QtMessageSink m_messageBoxes;
    MessageSink& m_messages;
    platform::DesktopShell m_shell;
    platform::SoundEffectPlayer m_sounds;
    std::unique_ptr<browser::CommandDispatcher> m_dispatcher;
    std::unique_ptr<browser::NavigationEventHandler> m_events;
    std::unique_ptr<SkinEventViews> m_views;
    std::vector<std::string> m_typedUrls;

    bool m_created = false;
    bool m_frameLoaded = false;
    bool m_maximized = false;
    bool m_browserPending = false;
    bool m_closed = false;
    SizeType m_sizeType = SizeType::None;
    QPixmap m_frame;
    // A Wayland compositor knows no window shapes: there the window is
    // translucent and the frame is painted only inside the outline, which is
    // also the window's input region. The compositor also sizes the window
    // when it is maximized and restored.
    bool m_wayland = false;
    QRegion m_outline;
    // The Wayland platform drops a mask set before its surface exists, as
    // the first outline is; the first paint after a show hands it on again.
    bool m_inputRegionPending = false;
    QRect m_normalGeometry;

    std::unique_ptr<platform::SynthesizerLoad> m_synthesizerLoad;
    QTimer* m_musicWait = nullptr;
    WebEngineBrowser* m_browser = nullptr;
    SkinElements m_elements;
    int m_controlIdCounter = ids::kFirstCountedId;

    // Dragging by hand where no window manager moves the window.
    bool m_dragging = false;
    QPoint m_dragOffset;
};

}  // namespace quell::ui
