#include "ui/mainwindow/main_skin_window.h"

#include <QAbstractItemView>
#include <QApplication>
#include <QCloseEvent>
#include <QContextMenuEvent>
#include <QKeyEvent>
#include <QMouseEvent>
#include <QPainter>
#include <QProgressBar>
#include <QRegion>
#include <QScreen>
#include <QTimer>
#include <QWebEngineView>
#include <QWindow>

#include <algorithm>

#include "core/browser/menus.h"
#include "core/browser/toolbar_layout.h"
#include "core/browser/typed_url_history.h"
#include "core/image/bitmap_file.h"
#include "core/registry/registry_reader.h"
#include "core/text/utf8.h"
#include "ui/app/about_dialog.h"
#include "ui/app/core_qt.h"
#include "core/control_ids.h"
#include "ui/controls/control_id.h"
#include "ui/controls/font_height.h"
#include "ui/controls/gif_animator.h"
#include "ui/controls/gradient_progress.h"
#include "ui/controls/hover_label.h"
#include "ui/controls/image_conversion.h"
#include "ui/controls/maximized_toolbar.h"
#include "ui/controls/resource_bitmap_button.h"
#include "ui/controls/screen_rect.h"
#include "ui/controls/skin_button.h"
#include "ui/controls/status_text_control.h"
#include "ui/mainwindow/address_combo.h"
#include "ui/mainwindow/main_window_services.h"
#include "ui/mainwindow/photo_outline.h"
#include "ui/mainwindow/product_page.h"
#include "ui/mainwindow/skin_element_lists.h"
#include "ui/mainwindow/skin_event_views.h"
#include "ui/mainwindow/web_engine_browser.h"
#include "ui/mainwindow/window_menus.h"

namespace quell::ui {

namespace {

constexpr int kGoButtonWidth = 41;
// Where the Photo picture sits on the frame.
constexpr int kPhotoX = 21;
constexpr int kPhotoY = 34;
constexpr int kDropDownExtra = 200;
// The default face of the skin's address and status fonts.
constexpr const char* kDefaultFace = "굴림";

// Cuts a face name to the 31 bytes a font description holds, never inside a character.
std::string cutFaceName(std::string face) { return utf8::cutAtBoundary(std::move(face), 31); }

}  // namespace

MainSkinWindow::MainSkinWindow(Locations locations, MessageSink* messages, QWidget* parent)
    : QWidget(parent, Qt::Window | Qt::FramelessWindowHint),
      m_locations(std::move(locations)),
      m_skinLocation{m_locations.mediaFolder},
      m_messageBoxes(this),
      m_messages(messages ? *messages : m_messageBoxes),
      m_views(std::make_unique<SkinEventViews>(this)) {
    setAttribute(Qt::WA_QuitOnClose);
    RegisterProductPage();
    setWindowTitle(QString::fromUtf8(kMainWindowTitle));
    registry::RegistryReader registry;
    m_typedUrls = browser::LoadTypedUrlHistory(registry);

    // The browser object exists from the start so every command has its target;
    // its view is placed when the skin is loaded.
    m_browser = new WebEngineBrowser(this, m_shell);
    m_browser->view()->hide();
    m_dispatcher =
        std::make_unique<browser::CommandDispatcher>(*m_browser, m_shell, *this, m_messages, m_locations.skinIniPath);
    m_events = std::make_unique<browser::NavigationEventHandler>(*m_browser);
    m_browser->setEvents(m_events.get());

    // The creation step: the toolbar waits hidden for the maximized layout,
    // and the skin's music starts.
    m_elements.toolbar = new MaximizedToolbar(
        m_typedUrls, [this](const std::string& url) { m_browser->Navigate(url); }, m_dispatcher.get(), this);
    registerControl(m_elements.toolbar, ids::kToolbar);
    m_elements.toolbar->setGeometry(0, 0, 0, 0);
    m_elements.toolbar->hide();
    m_elements.music = StartMusicFor(this, m_locations.skinIniPath, m_locations.mediaFolder);
    m_created = true;
}

MainSkinWindow::~MainSkinWindow() {
    destroyElements();
    releaseRemainingElements();
}

void MainSkinWindow::destroyElements() {
    // Runs when the window closes and again from the destructor.
    if (m_browser) m_browser->closeSourceWindows();
    m_elements.destroyElements();
    if (m_browser) m_browser->setEvents(nullptr);
}

void MainSkinWindow::releaseRemainingElements() {
    // The children that still hold references to this window's services
    // (dispatcher, shell, sounds, messages) go here, while those members still
    // exist; Qt would otherwise delete them only after the members are gone.
    m_elements.releaseRemaining();
    if (m_browser) {
        QWebEngineView* view = m_browser->view();
        delete m_browser;  // its pages before its profile
        m_browser = nullptr;
        delete view;
    }
}

void MainSkinWindow::registerControl(QWidget* widget, int id) { setControlId(widget, id); }

QWidget* MainSkinWindow::controlById(int id) const {
    if (id == ids::kBrowser) return m_browser ? m_browser->view() : nullptr;
    for (QWidget* w : findChildren<QWidget*>()) {
        if (controlId(w) == id) return w;
    }
    return nullptr;
}

QRect MainSkinWindow::browserRect() const { return toQRect(m_model.browserRect); }

bool MainSkinWindow::Initialise() {
    setWindowIcon(ProgramIcon());
    setWindowTitle(QString::fromUtf8(kMainWindowTitle));
    if (!LoadSkin()) {
        QTimer::singleShot(0, this, &QWidget::close);
        return false;
    }
    m_normalGeometry = QRect(0, 0, m_frame.width(), m_frame.height());
    setGeometry(m_normalGeometry);
    // The first size notification gives the window its outline.
    onSizeChange(SizeType::Normal);
    if (m_model.opensHomePage()) m_browser->GoHome();
    else m_browser->Navigate(m_model.startPage);
    return true;
}

bool MainSkinWindow::LoadSkin() {
    m_file = skin::ProfileFile::Load(m_locations.skinIniPath);
    m_model = skin::ReadSkinModel(m_file, m_skinLocation);

    // 1. The frame.
    if (!m_model.hasFrame()) {
        m_frameLoaded = false;
        return false;
    }
    image::PixelImage frame;
    if (!image::LoadBitmapFile(m_skinLocation.path(m_model.frameFile), frame)) return false;
    m_frame = QPixmap::fromImage(toQImage(frame));
    m_frameLoaded = true;

    // 2-4. The browser at its rectangle.
    QWebEngineView* view = m_browser->view();
    view->setGeometry(toQRect(m_model.browserRect));
    view->show();
    m_events->setProgressView(m_views.get());

    // 5. The Go button and the address bar.
    skin::SkinRect address = m_model.addressBarRect;
    if (address.isSet()) {
        m_elements.goButton = ResourceBitmapButton::CreateResourceButton(
            ids::kGoButton, browser::kGoButtonFirstBitmap, address.left, address.top, this, m_dispatcher.get());
        if (m_elements.goButton) {
            m_elements.goButton->setToolTipText(toQString(std::string(browser::kGoButtonTooltip)));
            registerControl(m_elements.goButton, ids::kGoButton);
        }
        address.left += kGoButtonWidth;
        m_elements.address = new AddressCombo(
            m_typedUrls, [this](const std::string& url) { m_browser->Navigate(url); }, this);
        registerControl(m_elements.address, ids::kAddressBar);
        m_elements.address->setGeometry(toQRect(address));
        // The drop-down list reaches 200 pixels below the bar, on pale yellow.
        m_elements.address->view()->setStyleSheet(QStringLiteral("background-color: rgb(255,255,223);"));
        m_elements.address->setMaxVisibleItems(std::max(1, kDropDownExtra / std::max(1, m_elements.address->height())));
        SetControlFont(m_elements.address, m_model.addressFont, m_model.addressFontSize);
        m_events->setAddressViews(
            m_views->skinAddress(m_elements.address),
            m_views->toolbarAddress(m_elements.toolbar ? m_elements.toolbar->addressCombo() : nullptr));
    }

    // 6. The status text.
    if (m_model.hasStatusBar) {
        m_elements.status = new StatusTextControl(this);
        registerControl(m_elements.status, ids::kStatusText);
        m_elements.status->setGeometry(toQRect(m_model.statusRect));
        // The status transparent flag: the frame shows through the status text.
        m_elements.status->setTransparentBackground(true);
        SetControlFont(m_elements.status, m_model.statusFont, m_model.statusFontSize);
        m_elements.status->SetTextColour(m_model.statusColour);
        m_elements.status->setText(QString());
        m_views->setStatusText(m_elements.status);
        m_events->setStatusView(m_views.get());
    }

    // 7. The progress bar.
    if (m_model.progressRect.isSet()) {
        if (m_model.progressGradient) {
            m_elements.gradientProgress = new GradientProgress(this);
            registerControl(m_elements.gradientProgress, ids::kGradientProgress);
            m_elements.gradientProgress->setGeometry(toQRect(m_model.progressRect));
            m_elements.gradientProgress->setStartColour(m_model.progressStart);
            m_elements.gradientProgress->setEndColour(m_model.progressEnd);
            m_elements.gradientProgress->setBackgroundColour(m_model.progressBack);
            m_elements.gradientProgress->SetRange(0, 100);
            m_elements.gradientProgress->setVertical(m_model.progressVertical);
            m_elements.gradientProgress->SetPos(0);
        } else {
            m_elements.standardProgress = new QProgressBar(this);
            registerControl(m_elements.standardProgress, ids::kStandardProgress);
            m_elements.standardProgress->setGeometry(toQRect(m_model.progressRect));
            m_elements.standardProgress->setOrientation(m_model.progressVertical ? Qt::Vertical : Qt::Horizontal);
            m_elements.standardProgress->setTextVisible(false);
            m_elements.standardProgress->setRange(0, 100);
            m_elements.standardProgress->setValue(0);
        }
        m_views->setProgressBars(m_elements.standardProgress, m_elements.gradientProgress);
    }

    // 8. The busy animation.
    if (m_model.navigationGifRect.isSet()) {
        m_elements.busy =
            GifAnimator::CreateAnimator(this, m_model.navigationGifRect.left, m_model.navigationGifRect.top,
                                        m_skinLocation.path(m_model.navigationGifFile), &m_messages);
        if (m_elements.busy) {
            m_elements.busy->StartAnimation();
            m_views->setBusyAnimation(m_elements.busy);
            m_events->setBusyIndicator(m_views.get());
        }
    }

    // 9. The lists.
    ElementListContext lists{this, m_model, m_skinLocation, m_messages, m_controlIdCounter};
    lists.buttonServices = SkinButtonServices{m_dispatcher.get(), &m_sounds, &m_messages};
    lists.linkTargets.navigate = [this](const std::string& url) { m_browser->Navigate(url); };
    lists.linkTargets.open = [this](const std::string& commandLine) { m_shell.Open(commandLine); };
    lists.linkTargets.dispatcher = m_dispatcher.get();
    CreatePictureList(lists, m_elements);
    CreateButtonLists(lists, m_elements);
    CreateLabelList(lists, m_elements);

    // 10-11. The Photo picture and its outline.
    createPhoto();
    ApplyPhotoOutline();
    return true;
}

void MainSkinWindow::createPhoto() {
    std::string path = m_locations.executableFolder + "Photo.bmp";
    image::PixelImage photo;
    image::LoadBitmapFile(path, photo);
    SkinButtonSpec request;
    request.normalPath = path;
    request.x = kPhotoX;
    request.y = kPhotoY;
    request.width = photo.width;
    request.height = photo.height;
    request.controlId = kPhotoControlId;
    m_elements.photo = SkinButton::CreateButton(request, this, SkinButtonServices{nullptr, nullptr, &m_messages});
    registerControl(m_elements.photo, kPhotoControlId);
}

bool MainSkinWindow::ApplyOutline() {
    if (!m_frameLoaded) return false;
    std::optional<std::vector<skin::OutlinePoint>> points;
    if (m_model.outlineName) points = skin::LoadOutlineFile(m_skinLocation.path(*m_model.outlineName));
    if (!points) {
        m_messages.showMessage(kOutlineUnreadableMessage);
        return false;
    }
    setMask(QRegion(toQPolygon(*points), Qt::OddEvenFill));
    return true;
}

bool MainSkinWindow::ApplyPhotoOutline() {
    if (!m_elements.photo) return true;
    m_elements.photo->setMask(QRegion(toQPolygon(BuiltInPhotoOutline()), Qt::WindingFill));
    return true;
}

void MainSkinWindow::ShowSkinElements(bool show) { m_elements.setVisible(show); }

void MainSkinWindow::SetControlFont(QWidget* control, std::string face, int size) {
    if (face.empty()) face = kDefaultFace;
    if (size == -1) size = 9;
    QFont font(toQString(cutFaceName(face)));
    font.setPixelSize(std::max(1, fontPixelHeight(size)));
    control->setFont(font);
}

void MainSkinWindow::applyMaximizedLayout() {
    m_maximized = true;
    ShowSkinElements(false);
    clearMask();
    QRect area = rect();
    if (m_elements.toolbar) {
        m_elements.toolbar->setGeometry(0, 0, area.width(), browser::kToolbarHeight);
        m_elements.toolbar->show();
        m_elements.toolbar->raise();
    }
    if (m_browser)
        m_browser->view()->setGeometry(0, browser::kToolbarHeight, area.width(),
                                       area.height() - browser::kToolbarHeight);
    update();
}

void MainSkinWindow::applyNormalLayout() {
    m_maximized = false;
    ApplyOutline();
    ShowSkinElements(true);
    if (m_browser && m_frameLoaded) m_browser->view()->setGeometry(toQRect(m_model.browserRect));
    if (m_elements.toolbar) m_elements.toolbar->hide();
    update();
}

void MainSkinWindow::closeWindow() {
    // The command comes from a button or a menu that closing destroys, so the
    // close waits until that control's event has been handled.
    QMetaObject::invokeMethod(this, &QWidget::close, Qt::QueuedConnection);
}

void MainSkinWindow::minimizeWindow() { showMinimized(); }

void MainSkinWindow::maximizeWindow() {
    if (m_maximized) return;
    m_normalGeometry = geometry();
    // Without a window manager nobody resizes the window: do it here, before
    // the state changes, since a new geometry ends a maximized state.
    if (QScreen* s = screen()) setGeometry(s->availableGeometry());
    setWindowState(windowState() | Qt::WindowMaximized);
    onSizeChange(SizeType::Maximized);
}

void MainSkinWindow::restoreWindow() {
    setWindowState(windowState() & ~(Qt::WindowMaximized | Qt::WindowMinimized));
    if (m_frameLoaded) setGeometry(QRect(m_normalGeometry.topLeft(), m_frame.size()));
    onSizeChange(SizeType::Normal);
}

MainSkinWindow::SizeType MainSkinWindow::currentSizeType() const {
    const Qt::WindowStates state = windowState();
    if (state & Qt::WindowMinimized) return SizeType::Minimized;
    if (state & Qt::WindowMaximized) return SizeType::Maximized;
    return SizeType::Normal;
}

void MainSkinWindow::onSizeChange(SizeType type) {
    if (!m_frameLoaded) return;
    // While maximized every size change lays the toolbar and the browser out
    // again, whoever made it. Entering the normal or the minimized state reads
    // the outline once; a second notice for the same state changes nothing.
    if (type == SizeType::Maximized) applyMaximizedLayout();
    else if (type != m_sizeType) applyNormalLayout();
    m_sizeType = type;
}

void MainSkinWindow::popupMenu(int menuId, int x, int y) { RunPopupMenu(this, *m_dispatcher, menuId, QPoint(x, y)); }

std::string MainSkinWindow::runBookmarkDialog() {
    return RunBookmarkDialogFor(this, toQString(m_browser->LocationName()), toQString(m_browser->LocationURL()));
}

void MainSkinWindow::paintEvent(QPaintEvent*) {
    QPainter painter(this);
    if (!m_frameLoaded) {
        painter.fillRect(rect(), palette().window());
        return;
    }
    if (m_maximized) {
        painter.fillRect(rect(), colourFromValue(browser::kToolbarGrey));
        return;
    }
    painter.drawPixmap(0, 0, m_frame);
}

void MainSkinWindow::mousePressEvent(QMouseEvent* event) {
    if (event->button() != Qt::LeftButton || m_maximized) return;
    // Bare frame drags the window, as a caption would. Without a window
    // manager the move is done here.
    if (windowHandle() && windowHandle()->startSystemMove()) return;
    m_dragging = true;
    m_dragOffset = event->globalPosition().toPoint() - frameGeometry().topLeft();
}

void MainSkinWindow::mouseMoveEvent(QMouseEvent* event) {
    if (m_dragging && (event->buttons() & Qt::LeftButton)) move(event->globalPosition().toPoint() - m_dragOffset);
}

void MainSkinWindow::mouseReleaseEvent(QMouseEvent*) { m_dragging = false; }

void MainSkinWindow::mouseDoubleClickEvent(QMouseEvent* event) {
    if (event->button() != Qt::LeftButton) return;
    m_dragging = false;
    if (m_maximized) restoreWindow();
    else maximizeWindow();
}

void MainSkinWindow::contextMenuEvent(QContextMenuEvent* event) { showSystemMenu(event->globalPos()); }

void MainSkinWindow::showSystemMenu(const QPoint& globalPos) {
    switch (RunSystemMenu(this, globalPos, m_maximized)) {
    case SystemMenuChoice::Restore: restoreWindow(); break;
    case SystemMenuChoice::Move:
        if (windowHandle()) windowHandle()->startSystemMove();
        break;
    case SystemMenuChoice::Minimize: minimizeWindow(); break;
    case SystemMenuChoice::Maximize: maximizeWindow(); break;
    case SystemMenuChoice::Close: closeWindow(); break;
    case SystemMenuChoice::About: AboutDialog(this).exec(); break;
    case SystemMenuChoice::None: break;
    }
}

void MainSkinWindow::keyPressEvent(QKeyEvent* event) {
    // Enter and Escape never end the window.
    if (event->key() == Qt::Key_Escape || event->key() == Qt::Key_Return || event->key() == Qt::Key_Enter) {
        event->accept();
        return;
    }
    QWidget::keyPressEvent(event);
}

void MainSkinWindow::changeEvent(QEvent* event) {
    QWidget::changeEvent(event);
    // A window manager that maximizes, minimizes or restores on its own (a
    // title-bar gesture, a keyboard shortcut) gets the same layouts.
    if (event->type() == QEvent::WindowStateChange) onSizeChange(currentSizeType());
}

void MainSkinWindow::resizeEvent(QResizeEvent* event) {
    QWidget::resizeEvent(event);
    // A new size within the same state: only the maximized layout depends on it.
    onSizeChange(m_sizeType);
}

void MainSkinWindow::closeEvent(QCloseEvent* event) {
    QWidget::closeEvent(event);
    if (event->isAccepted()) destroyElements();
}

}  // namespace quell::ui
