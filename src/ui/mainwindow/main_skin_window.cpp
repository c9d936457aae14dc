#include "ui/mainwindow/main_skin_window.h"

#include <QCloseEvent>
#include <QContextMenuEvent>
#include <QKeyEvent>
#include <QMouseEvent>
#include <QPainter>
#include <QRegion>
#include <QScreen>
#include <QTimer>
#include <QWebEngineView>
#include <QWindow>

#include "core/browser/toolbar_layout.h"
#include "core/browser/typed_url_history.h"
#include "core/control_ids.h"
#include "core/image/bitmap_file.h"
#include "core/registry/registry_reader.h"
#include "platform/midi/synthesizer_load.h"
#include "ui/app/about_dialog.h"
#include "ui/app/core_qt.h"
#include "ui/controls/control_id.h"
#include "ui/controls/gif_animator.h"
#include "ui/controls/image_conversion.h"
#include "ui/controls/maximized_toolbar.h"
#include "ui/controls/skin_button.h"
#include "ui/controls/status_text_control.h"
#include "ui/mainwindow/address_combo.h"
#include "ui/mainwindow/main_window_services.h"
#include "ui/mainwindow/photo_outline.h"
#include "ui/mainwindow/product_page.h"
#include "ui/mainwindow/skin_element_creation.h"
#include "ui/mainwindow/skin_event_views.h"
#include "ui/mainwindow/web_engine_browser.h"
#include "ui/mainwindow/window_menus.h"
#include "ui/mainwindow/wayland_platform.h"

namespace quell::ui {

namespace {
// How often the window looks whether the synthesizer has loaded.
constexpr int kMusicWaitMs = 20;
// Loading the synthesizer takes a core for a while; it waits for the first
// page, or this long after the browser started when the page is slow.
constexpr int kMusicLoadDelayMs = 1500;
}  // namespace

MainSkinWindow::MainSkinWindow(Locations locations, MessageSink* messages, QWidget* parent)
    : QWidget(parent, Qt::Window | Qt::FramelessWindowHint),
      m_locations(std::move(locations)),
      m_skinLocation{m_locations.mediaFolder},
      m_messageBoxes(this),
      m_messages(messages ? *messages : m_messageBoxes),
      m_views(std::make_unique<SkinEventViews>(this)) {
    setAttribute(Qt::WA_QuitOnClose);
    // The translucent surface has to be chosen before the native window exists.
    m_wayland = isWaylandPlatform();
    if (m_wayland) setAttribute(Qt::WA_TranslucentBackground);
    RegisterProductPage();
    setWindowTitle(QString::fromUtf8(kMainWindowTitle));
    registry::RegistryReader registry;
    m_typedUrls = browser::LoadTypedUrls(registry, history::DesktopEnvironment::FromProcess()).urls;

    // The browser object exists from the start so every command has its
    // target; its engine and view start once the frame is on screen.
    m_browser = new WebEngineBrowser(this, m_shell);
    m_dispatcher =
        std::make_unique<browser::CommandDispatcher>(*m_browser, m_shell, *this, m_messages, m_locations.skinIniPath);
    m_events = std::make_unique<browser::NavigationEventHandler>(*m_browser);
    m_browser->setEvents(m_events.get());

    // The creation step: the toolbar waits hidden for the maximized layout.
    // The skin's music starts once the first page has loaded.
    m_elements.toolbar = new MaximizedToolbar(
        m_typedUrls, [this](const std::string& url) { m_browser->Navigate(url); }, m_dispatcher.get(), this);
    setControlId(m_elements.toolbar, ids::kToolbar);
    m_elements.toolbar->setGeometry(0, 0, 0, 0);
    m_elements.toolbar->hide();
    m_created = true;
}

void MainSkinWindow::startMusic() {
    if (m_elements.music || (m_musicWait && m_musicWait->isActive()) || m_closed) return;
    if (!SkinHasMusic(m_locations.skinIniPath)) return;
    // The synthesizer loads on a thread of its own; the music starts once it
    // is ready.
    if (!m_synthesizerLoad) m_synthesizerLoad = std::make_unique<platform::SynthesizerLoad>();
    if (!m_musicWait) {
        m_musicWait = new QTimer(this);
        m_musicWait->setInterval(kMusicWaitMs);
        connect(m_musicWait, &QTimer::timeout, this, &MainSkinWindow::startMusicWhenLoaded);
    }
    m_musicWait->start();
}

bool MainSkinWindow::ReloadSkin() {
    if (!m_frameLoaded) return false;
    if (m_musicWait) m_musicWait->stop();
    delete m_elements.music;
    m_elements.music = nullptr;
    m_elements.destroyLoadedElements();
    m_controlIdCounter = ids::kFirstCountedId;
    if (!LoadSkin()) return false;
    // The new elements show what the old ones showed: the page's address and,
    // once it has loaded, a still busy animation.
    if (m_elements.address && m_browser->HasDocument())
        m_views->skinAddress(m_elements.address)->setAddressText(m_browser->LocationURL());
    if (!m_browser->Busy()) m_views->pauseAnimation();
    // Created after the window was shown, the new elements are shown by the
    // layout, which also reads the new outline and the browser's rectangle.
    if (m_maximized) {
        applyMaximizedLayout();
    } else {
        resize(m_frame.size());
        applyNormalLayout();
    }
    updateAnimationsOnScreen();
    startMusic();
    return true;
}

void MainSkinWindow::startMusicWhenLoaded() {
    if (!m_synthesizerLoad->ready()) return;
    m_musicWait->stop();
    m_elements.music = StartMusicFor(this, m_locations.skinIniPath, m_locations.mediaFolder, *m_synthesizerLoad);
}

MainSkinWindow::~MainSkinWindow() {
    destroyElements();
    releaseRemainingElements();
}

void MainSkinWindow::destroyElements() {
    // Runs when the window closes and again from the destructor.
    if (m_browser) m_browser->closeSourceWindows();
    // A closed window starts no music.
    m_closed = true;
    if (m_musicWait) m_musicWait->stop();
    m_elements.destroyElements();
    if (m_browser) m_browser->setEvents(nullptr);
}

void MainSkinWindow::releaseRemainingElements() {
    // The children that still hold references to this window's services
    // (dispatcher, shell, sounds, messages) go here, while those members still
    // exist; Qt would otherwise delete them only after the members are gone.
    m_elements.releaseRemaining();
    if (m_browser) {
        QWebEngineView* view = m_browser->hasView() ? m_browser->view() : nullptr;
        delete m_browser;  // its pages before its profile
        m_browser = nullptr;
        delete view;
    }
}

QWidget* MainSkinWindow::controlById(int id) {
    if (id == ids::kBrowser) {
        if (!m_browser) return nullptr;
        // Whoever asks for the browser control gets it started.
        startBrowser();
        return m_browser->view();
    }
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
    // The engine takes a while to start and holds this thread meanwhile: the
    // frame is painted first, and the first paint starts the browser.
    m_browserPending = true;
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

    // 2-4. The browser's rectangle is the model's; the view is placed there
    // when it starts.
    m_events->setProgressView(m_views.get());

    // 5-8. The Go button and the address bar, the status text, the progress
    // bar and the busy animation; then the event views for what exists.
    ElementContext context = elementContext();
    CreateAddressBar(context, m_elements);
    CreateStatusText(context, m_elements);
    CreateProgressBar(context, m_elements);
    CreateBusyAnimation(context, m_elements);
    connectEventViews();

    // 9. The lists.
    CreatePictureList(context, m_elements);
    CreateButtonLists(context, m_elements);
    CreateLabelList(context, m_elements);

    // 10-11. The Photo picture and its outline.
    CreatePhoto(context, m_elements);
    ApplyPhotoOutline();
    m_elements.setKeyboardOrder();
    return true;
}

ElementContext MainSkinWindow::elementContext() {
    ElementContext context{
        this, m_model, m_skinLocation, m_messages, m_controlIdCounter, m_typedUrls, m_locations.photoFolder};
    context.buttonServices = SkinButtonServices{m_dispatcher.get(), &m_sounds, &m_messages};
    context.linkTargets.navigate = [this](const std::string& url) { m_browser->Navigate(url); };
    context.linkTargets.open = [this](const std::string& entry) { m_shell.RunSkinEntry(entry); };
    context.linkTargets.dispatcher = m_dispatcher.get();
    return context;
}

void MainSkinWindow::connectEventViews() {
    if (m_elements.address)
        m_events->setAddressViews(
            m_views->skinAddress(m_elements.address),
            m_views->toolbarAddress(m_elements.toolbar ? m_elements.toolbar->addressCombo() : nullptr));
    if (m_elements.status) {
        m_views->setStatusText(m_elements.status);
        m_events->setStatusView(m_views.get());
    }
    if (m_elements.standardProgress || m_elements.gradientProgress)
        m_views->setProgressBars(m_elements.standardProgress, m_elements.gradientProgress);
    if (m_elements.busy) {
        m_views->setBusyAnimation(m_elements.busy);
        m_events->setBusyIndicator(m_views.get());
    }
}

bool MainSkinWindow::ApplyOutline() {
    if (!m_frameLoaded) return false;
    std::optional<std::vector<skin::OutlinePoint>> points;
    if (m_model.outlineName) points = skin::LoadOutlineFile(m_skinLocation.path(*m_model.outlineName));
    if (!points) {
        m_messages.showMessage(kOutlineUnreadableMessage);
        return false;
    }
    m_outline = QRegion(toQPolygon(*points), Qt::OddEvenFill);
    // On X11 the mask is the window's shape; on Wayland it is only the input
    // region, and the paint below leaves the rest transparent.
    setMask(m_outline);
    return true;
}

bool MainSkinWindow::ApplyPhotoOutline() {
    if (!m_elements.photo) return true;
    m_elements.photo->setMask(QRegion(toQPolygon(BuiltInPhotoOutline()), Qt::WindingFill));
    return true;
}

void MainSkinWindow::ShowSkinElements(bool show) { m_elements.setVisible(show); }

void MainSkinWindow::SetControlFont(QWidget* control, std::string face, int size) {
    ApplyControlFont(control, std::move(face), size);
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
    placeBrowser();
    update();
}

void MainSkinWindow::applyNormalLayout() {
    m_maximized = false;
    ApplyOutline();
    ShowSkinElements(true);
    placeBrowser();
    if (m_elements.toolbar) m_elements.toolbar->hide();
    update();
}

void MainSkinWindow::placeBrowser() {
    if (!m_browser || !m_browser->hasView() || !m_frameLoaded) return;
    QWebEngineView* view = m_browser->view();
    if (m_maximized) view->setGeometry(0, browser::kToolbarHeight, width(), height() - browser::kToolbarHeight);
    else view->setGeometry(toQRect(m_model.browserRect));
}

void MainSkinWindow::startBrowser() {
    if (!m_browserPending) return;
    m_browserPending = false;
    // A command may have asked for the view already; its navigation stands.
    const bool navigated = m_browser->hasView() && m_browser->HasDocument();
    QWebEngineView* view = m_browser->view();
    connect(view, &QWebEngineView::loadFinished, this, &MainSkinWindow::startMusic, Qt::SingleShotConnection);
    QTimer::singleShot(kMusicLoadDelayMs, this, &MainSkinWindow::startMusic);
    placeBrowser();
    view->show();
    if (navigated) return;
    if (m_model.opensHomePage()) m_browser->GoHome();
    else m_browser->Navigate(m_model.startPage);
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
    // the state changes, since a new geometry ends a maximized state. A
    // Wayland compositor sizes a maximized window itself.
    if (QScreen* s = screen(); s && !m_wayland) setGeometry(s->availableGeometry());
    setWindowState(windowState() | Qt::WindowMaximized);
    onSizeChange(SizeType::Maximized);
}

void MainSkinWindow::restoreWindow() {
    setWindowState(windowState() & ~(Qt::WindowMaximized | Qt::WindowMinimized));
    // A Wayland window keeps the compositor's maximized size until the
    // compositor answers the restore, and a size of its own before that
    // answer is a protocol error. The answer gives the window back the size
    // it had before it was maximized: the frame's.
    if (m_frameLoaded && !m_wayland) setGeometry(QRect(m_normalGeometry.topLeft(), m_frame.size()));
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
    updateAnimationsOnScreen();
}

void MainSkinWindow::updateAnimationsOnScreen() {
    m_elements.setAnimationsOnScreen(isVisible() && !isMinimized() && !m_maximized);
}

void MainSkinWindow::showEvent(QShowEvent* event) {
    QWidget::showEvent(event);
    m_inputRegionPending = m_wayland;
    updateAnimationsOnScreen();
}

void MainSkinWindow::hideEvent(QHideEvent* event) {
    QWidget::hideEvent(event);
    updateAnimationsOnScreen();
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
    if (m_inputRegionPending && windowHandle()) {
        m_inputRegionPending = false;
        windowHandle()->setMask(mask());
    }
    if (m_maximized) {
        painter.fillRect(rect(), colourFromValue(browser::kToolbarGrey));
    } else {
        if (m_wayland && !m_outline.isEmpty()) painter.setClipRegion(m_outline);
        painter.drawPixmap(0, 0, m_frame);
    }
    // The browser starts once this paint has reached the screen.
    if (m_browserPending) QTimer::singleShot(0, this, &MainSkinWindow::startBrowser);
}

bool MainSkinWindow::isBareFrame(const QPointF& at) const {
    // Presses that a child passes up (a progress bar, an animated picture)
    // arrive here as well; they are on the child, not on the frame.
    return childAt(at.toPoint()) == nullptr;
}

void MainSkinWindow::mousePressEvent(QMouseEvent* event) {
    if (event->button() != Qt::LeftButton || m_maximized || !isBareFrame(event->position())) return;
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
    if (event->button() != Qt::LeftButton || !isBareFrame(event->position())) return;
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
