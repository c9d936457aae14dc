#include "ui/mainwindow/main_skin_window.h"

#include <QKeyEvent>
#include <QMouseEvent>
#include <QPainter>
#include <QRegion>
#include <QWebEngineView>
#include <QWindow>

#include "ui/app/core_qt.h"
#include "ui/app/qt_message_sink.h"

namespace quell::ui {

namespace {
constexpr const char* kOutlineMessage = "アウトラインデータが開けません｡\"";
}

MainSkinWindow::MainSkinWindow(std::string skinIniPath, std::string mediaFolder, QWidget* parent)
    : QWidget(parent, Qt::Window | Qt::FramelessWindowHint),
      m_skinIniPath(std::move(skinIniPath)),
      m_location{std::move(mediaFolder)} {
    setWindowTitle(QStringLiteral("Quellmark"));
    setAttribute(Qt::WA_OpaquePaintEvent);
}

MainSkinWindow::~MainSkinWindow() = default;

bool MainSkinWindow::LoadSkin() {
    m_file = skin::ProfileFile::Load(m_skinIniPath);
    m_model = skin::ReadSkinModel(m_file, m_location);
    if (!m_model.hasFrame()) return false;
    if (!m_frame.load(toQString(m_location.path(m_model.frameFile))) || m_frame.isNull()) return false;
    m_frameLoaded = true;

    m_browser = new QWebEngineView(this);
    m_browser->setObjectName("browser");
    m_browser->setGeometry(toQRect(m_model.browserRect));

    setFixedSize(m_frame.size());
    move(0, 0);
    ApplyOutline();

    if (m_model.opensHomePage())
        m_browser->setUrl(QUrl(QStringLiteral("about:blank")));
    else
        m_browser->setUrl(QUrl::fromUserInput(toQString(m_model.startPage), QString(), QUrl::AssumeLocalFile));
    return true;
}

bool MainSkinWindow::ApplyOutline() {
    if (!m_frameLoaded) return false;
    auto points = m_model.outlineName ? skin::LoadOutlineFile(m_location.path(*m_model.outlineName))
                                      : std::optional<std::vector<skin::OutlinePoint>>();
    if (!points) {
        QtMessageSink(this).showMessage(kOutlineMessage, MessageIcon::None);
        return false;
    }
    setMask(QRegion(toQPolygon(*points), Qt::OddEvenFill));
    return true;
}

void MainSkinWindow::paintEvent(QPaintEvent*) {
    QPainter painter(this);
    if (m_frameLoaded) painter.drawImage(0, 0, m_frame);
}

void MainSkinWindow::mousePressEvent(QMouseEvent* event) {
    // Bare frame drags the window, as a caption would.
    if (event->button() == Qt::LeftButton && windowHandle()) windowHandle()->startSystemMove();
}

void MainSkinWindow::keyPressEvent(QKeyEvent* event) {
    // Enter and Escape must not end the window the way they end a dialog.
    if (event->key() == Qt::Key_Escape || event->key() == Qt::Key_Return || event->key() == Qt::Key_Enter) {
        event->accept();
        return;
    }
    QWidget::keyPressEvent(event);
}

}  // namespace quell::ui
