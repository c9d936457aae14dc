#include "ui/mainwindow/web_engine_browser.h"

#include <QAction>
#include <QFileDialog>
#include <QInputDialog>
#include <QMessageBox>
#include <QPageSetupDialog>
#include <QPrintDialog>
#include <QPrinter>
#include <QStandardPaths>
#include <QWebEngineCertificateError>
#include <QWebEngineDownloadRequest>
#include <QWebEngineHistory>
#include <QWebEnginePage>
#include <QWebEngineProfile>
#include <QWebEngineSettings>
#include <QWebEngineView>
#include <QDir>
#include <QFileInfo>
#include <QRegularExpression>

#include "core/registry/registry_reader.h"
#include "ui/app/core_qt.h"

namespace quell::ui {

namespace {

// The page behind a window that a page asked for after a user's click. Its
// first navigation names the address; a web or mail address goes to the
// desktop's browser, a file address only when the asking page is a local
// file itself, and anything else is dropped. The page then goes.
class ExternalWindowPage final : public QWebEnginePage {
public:
    ExternalWindowPage(QWebEngineProfile* profile, browser::Shell& shell, QString requestingScheme, QObject* parent)
        : QWebEnginePage(profile, parent), m_shell(shell), m_requestingScheme(std::move(requestingScheme)) {}

protected:
    bool acceptNavigationRequest(const QUrl& url, NavigationType, bool) override {
        const std::string address = url.toString().toStdString();
        if (browser::MayOpenNewWindow(browser::AddressScheme(address), m_requestingScheme.toStdString()))
            m_shell.OpenAddress(address);
        deleteLater();
        return false;
    }

private:
    browser::Shell& m_shell;
    QString m_requestingScheme;
};

class SkinWebPage final : public QWebEnginePage {
public:
    SkinWebPage(QWebEngineProfile* profile, browser::Shell& shell, browser::BrowserEvents** events, QObject* parent)
        : QWebEnginePage(profile, parent), m_shell(shell), m_events(events) {
        connect(this, &QWebEnginePage::certificateError, this, &SkinWebPage::onCertificateError);
    }

protected:
    bool acceptNavigationRequest(const QUrl& url, NavigationType, bool) override {
        if (*m_events) (*m_events)->BeforeNavigate2(url.toString().toStdString());
        return true;  // every navigation proceeds
    }
    // Windows a script opens on its own never get here: the profile refuses
    // them before a page is asked for.
    QWebEnginePage* createWindow(WebWindowType) override {
        return new ExternalWindowPage(profile(), m_shell, url().scheme().toLower(), this);
    }

private:
    void onCertificateError(const QWebEngineCertificateError& error) {
        QWebEngineCertificateError e = error;
        // Resources inside a page are refused quietly; the page itself is the user's call.
        bool isPageItself = e.url().host() == requestedUrl().host() || e.url() == requestedUrl();
        if (!isPageItself || !e.isOverridable()) {
            e.rejectCertificate();
            return;
        }
        e.defer();
        auto answer =
            QMessageBox::warning(QWebEngineView::forPage(this), QStringLiteral("Quellmark"),
                                 QStringLiteral("The certificate of %1 is not trusted:\n%2\n\nOpen the page anyway?")
                                     .arg(e.url().host(), e.description()),
                                 QMessageBox::Yes | QMessageBox::No, QMessageBox::No);
        if (answer == QMessageBox::Yes) e.acceptCertificate();
        else e.rejectCertificate();
    }

    browser::Shell& m_shell;
    browser::BrowserEvents** m_events;
};

QWebEnginePage::WebAction editAction(int commandId) {
    switch (commandId) {
    case browser::kCommandCut: return QWebEnginePage::Cut;
    case browser::kCommandCopy: return QWebEnginePage::Copy;
    case browser::kCommandPaste: return QWebEnginePage::Paste;
    case browser::kCommandSelectAll: return QWebEnginePage::SelectAll;
    default: return QWebEnginePage::NoWebAction;
    }
}

}  // namespace

WebEngineBrowser::WebEngineBrowser(QWidget* parent, browser::Shell& shell)
    : QObject(parent), m_parent(parent), m_shell(shell) {}

QWebEngineView* WebEngineBrowser::view() {
    if (!m_view) createView();
    return m_view;
}

void WebEngineBrowser::createView() {
    // Creating the profile starts the engine, which keeps this thread busy
    // for a noticeable moment; the caller decides when that moment comes.
    m_profile = new QWebEngineProfile(QStringLiteral("quellcore"), this);
    connect(m_profile, &QWebEngineProfile::downloadRequested, this, &WebEngineBrowser::onDownloadRequested);
    // As browsers do by default: a script may open a window only in answer
    // to a click or a key.
    m_profile->settings()->setAttribute(QWebEngineSettings::JavascriptCanOpenWindows, false);
    m_view = new QWebEngineView(m_parent);
    m_view->setObjectName(QStringLiteral("browser"));
    m_view->setPage(new SkinWebPage(m_profile, m_shell, &m_events, m_view));
    connect(m_view, &QWebEngineView::loadStarted, this, &WebEngineBrowser::onLoadStarted);
    connect(m_view, &QWebEngineView::loadProgress, this, &WebEngineBrowser::onLoadProgress);
    connect(m_view, &QWebEngineView::loadFinished, this, &WebEngineBrowser::onLoadFinished);
    connect(m_view->page(), &QWebEnginePage::linkHovered, this, &WebEngineBrowser::onLinkHovered);
}

WebEngineBrowser::~WebEngineBrowser() {
    // Every page must go before the profile it belongs to: the source
    // windows' pages, then the view's.
    for (const QPointer<QWebEngineView>& source : m_sourceWindows) delete source.data();
    m_sourceWindows.clear();
    if (m_view) delete m_view->page();
}

void WebEngineBrowser::closeSourceWindows() {
    for (const QPointer<QWebEngineView>& source : m_sourceWindows)
        if (source) source->close();
}

int WebEngineBrowser::sourceWindowCount() const {
    int open = 0;
    for (const QPointer<QWebEngineView>& source : m_sourceWindows)
        if (source && source->isVisible()) ++open;
    return open;
}

QString WebEngineBrowser::homePage() {
    std::string page;
    registry::RegistryReader reader;
    if (reader.ReadValue(registry::kRootCurrentUser, "Software\\Microsoft\\Internet Explorer\\Main\\Start Page",
                         page) &&
        !page.empty())
        return toQString(page);
    return QStringLiteral("about:blank");
}

double WebEngineBrowser::zoomFactorForLevel(int level) {
    static const double kFactors[] = {0.75, 0.875, 1.0, 1.25, 1.5};
    if (level < 0) level = 0;
    if (level > 4) level = 4;
    return kFactors[level];
}

bool WebEngineBrowser::GoBack() {
    if (!view()->history()->canGoBack()) return false;
    view()->back();
    return true;
}

bool WebEngineBrowser::GoForward() {
    if (!view()->history()->canGoForward()) return false;
    view()->forward();
    return true;
}

void WebEngineBrowser::GoHome() { view()->setUrl(QUrl::fromUserInput(homePage())); }

void WebEngineBrowser::Navigate(const std::string& url) {
    // Scheme-less addresses become URLs here, the way the desktop's browser reads them.
    view()->setUrl(QUrl::fromUserInput(toQString(url)));
}

void WebEngineBrowser::Refresh() { view()->reload(); }
void WebEngineBrowser::Stop() { view()->stop(); }
bool WebEngineBrowser::HasDocument() const { return m_view && !m_view->url().isEmpty(); }
std::string WebEngineBrowser::LocationName() const { return m_view ? toStdString(m_view->title()) : std::string(); }
std::string WebEngineBrowser::LocationURL() const {
    return m_view ? toStdString(m_view->url().toString()) : std::string();
}
bool WebEngineBrowser::Busy() const { return m_busy; }

std::optional<uint32_t> WebEngineBrowser::QueryStatus(int commandId) {
    QWebEnginePage::WebAction action = editAction(commandId);
    if (action == QWebEnginePage::NoWebAction) return browser::kStatusSupported | browser::kStatusEnabled;
    QAction* a = view()->pageAction(action);
    if (!a) return std::nullopt;
    return browser::kStatusSupported | (a->isEnabled() ? browser::kStatusEnabled : 0u);
}

int32_t WebEngineBrowser::ExecDocumentCommand(browser::CommandGroup group, int commandId) {
    if (group == browser::CommandGroup::WebBrowser) {
        switch (commandId) {
        case browser::kCommandFind: findInPage(); return browser::kResultOk;
        case browser::kCommandViewSource: viewSource(); return browser::kResultOk;
        case browser::kCommandInternetOptions: return browser::kResultOk;  // no settings of our own
        default: return browser::kResultFail;
        }
    }
    switch (commandId) {
    case browser::kCommandOpen: openFile(); return browser::kResultOk;
    case browser::kCommandSave: savePage(false); return browser::kResultOk;
    case browser::kCommandSaveAs: savePage(true); return browser::kResultOk;
    case browser::kCommandPageSetup: {
        if (!m_printer) m_printer = std::make_unique<QPrinter>();
        QPageSetupDialog(m_printer.get(), m_parent).exec();
        return browser::kResultOk;
    }
    case browser::kCommandPrint: printPage(); return browser::kResultOk;
    default: break;
    }
    QWebEnginePage::WebAction action = editAction(commandId);
    if (action == QWebEnginePage::NoWebAction) return browser::kResultFail;
    view()->triggerPageAction(action);
    return browser::kResultOk;
}

bool WebEngineBrowser::SetTextSize(int level) {
    if (level < 0 || level > 4) return false;
    view()->setZoomFactor(zoomFactorForLevel(level));
    return true;
}

void WebEngineBrowser::onLoadStarted() {
    m_busy = true;
    if (m_events) m_events->DownloadBegin();
}

void WebEngineBrowser::onLoadProgress(int percent) {
    if (m_events) m_events->ProgressChange(percent, 100);
}

void WebEngineBrowser::onLoadFinished(bool) {
    m_busy = false;
    if (m_events) {
        m_events->ProgressChange(-1, 100);
        m_events->DownloadComplete();
    }
}

void WebEngineBrowser::onLinkHovered(const QString& url) {
    if (m_events) m_events->StatusTextChange(toStdString(url));
}

void WebEngineBrowser::onDownloadRequested(QWebEngineDownloadRequest* download) {
    if (download->state() != QWebEngineDownloadRequest::DownloadRequested) return;
    if (download->isSavePageDownload()) {
        download->accept();
        return;
    }
    QString suggested = QDir(download->downloadDirectory()).filePath(download->downloadFileName());
    QString path = QFileDialog::getSaveFileName(m_parent, QString(), suggested);
    if (path.isEmpty()) {
        download->cancel();
        return;
    }
    QFileInfo info(path);
    download->setDownloadDirectory(info.absolutePath());
    download->setDownloadFileName(info.fileName());
    download->accept();
}

void WebEngineBrowser::openFile() {
    QString path = QFileDialog::getOpenFileName(
        m_parent, QString(), QString(), QStringLiteral("Web pages (*.htm *.html *.mht *.xhtml);;All files (*)"));
    if (!path.isEmpty()) view()->setUrl(QUrl::fromLocalFile(path));
}

QString WebEngineBrowser::askSavePath(const QString& suggested) const {
    if (m_chooseSavePath) return m_chooseSavePath(suggested);
    return QFileDialog::getSaveFileName(m_parent, QString(), suggested,
                                        QStringLiteral("Web page, complete (*.html);;Web archive (*.mht)"));
}

void WebEngineBrowser::savePage(bool askForName) {
    // Each page remembers the file chosen for it; Save on a page without one
    // asks as Save As does, so no other page's file is ever written over.
    const QUrl page = view()->url().adjusted(QUrl::RemoveFragment);
    QString path = m_savedPaths.value(page);
    if (askForName || path.isEmpty()) {
        QString name = view()->title().isEmpty() ? QStringLiteral("page") : view()->title();
        name.replace(QRegularExpression(QStringLiteral("[\\\\/:*?\"<>|]")), QStringLiteral("-"));
        QString dir = QStandardPaths::writableLocation(QStandardPaths::DownloadLocation);
        path = askSavePath(QDir(dir).filePath(name + ".html"));
        if (path.isEmpty()) return;
        m_savedPaths.insert(page, path);
    }
    auto format = path.endsWith(QLatin1String(".mht"), Qt::CaseInsensitive)
                      ? QWebEngineDownloadRequest::MimeHtmlSaveFormat
                      : QWebEngineDownloadRequest::CompleteHtmlSaveFormat;
    view()->page()->save(path, format);
}

void WebEngineBrowser::printPage() {
    if (!m_printer) m_printer = std::make_unique<QPrinter>();
    QPrintDialog dialog(m_printer.get(), m_parent);
    if (dialog.exec() != QDialog::Accepted) return;
    view()->print(m_printer.get());
}

void WebEngineBrowser::findInPage() {
    bool ok = false;
    QString text = QInputDialog::getText(m_parent, QStringLiteral("Find"), QStringLiteral("Find:"), QLineEdit::Normal,
                                         QString(), &ok);
    if (ok) view()->findText(text);
}

void WebEngineBrowser::viewSource() {
    // A window of its own on the desktop, yet a child of the main window:
    // it goes when the main window goes and never holds the program open.
    auto* source = new QWebEngineView(m_parent);
    source->setWindowFlag(Qt::Window);
    source->setAttribute(Qt::WA_DeleteOnClose);
    source->setAttribute(Qt::WA_QuitOnClose, false);
    source->setObjectName(QStringLiteral("viewSource"));
    std::erase_if(m_sourceWindows, [](const QPointer<QWebEngineView>& p) { return p.isNull(); });
    m_sourceWindows.emplace_back(source);
    source->setPage(new QWebEnginePage(m_profile, source));
    source->setWindowTitle(view()->url().toString());
    source->resize(800, 600);
    source->setUrl(QUrl(QStringLiteral("view-source:") + view()->url().toString()));
    source->show();
}

}  // namespace quell::ui
