#pragma once
// The skinned main window: a frameless window whose face is the frame bitmap,
// whose shape is the outline polygon, with the browser at the skin's rectangle.
#include <QImage>
#include <QWidget>

#include <memory>
#include <string>

#include "core/skin/profile_file.h"
#include "core/skin/skin_model.h"

class QWebEngineView;

namespace quell::ui {

class MainSkinWindow : public QWidget {
    Q_OBJECT
public:
    // skinIniPath: the description file; mediaFolder: where its files live (trailing '/').
    MainSkinWindow(std::string skinIniPath, std::string mediaFolder, QWidget* parent = nullptr);
    ~MainSkinWindow() override;

    // Reads the skin and builds the window; false when the skin is unusable
    // (the window then closes at once).
    bool LoadSkin();
    // Reads the outline file and gives the window its shape.
    bool ApplyOutline();

    QWebEngineView* browserView() const { return m_browser; }
    const QImage& frame() const { return m_frame; }

protected:
    void paintEvent(QPaintEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;

private:
    std::string m_skinIniPath;
    skin::SkinLocation m_location;
    skin::ProfileFile m_file;
    skin::SkinModel m_model;
    QImage m_frame;
    bool m_frameLoaded = false;
    QWebEngineView* m_browser = nullptr;
};

}  // namespace quell::ui
