#pragma once
// The hosted browser over Qt WebEngine: the Browser operations on a view, and
// the view's signals turned into the five browser events.
#include <QObject>
#include <QPointer>
#include <QHash>
#include <QString>
#include <QUrl>

#include <functional>
#include <memory>
#include <vector>

#include "core/browser/browser.h"
#include "core/browser/shell.h"

class QPrinter;
class QWebEngineView;
class QWebEngineProfile;
class QWebEngineDownloadRequest;
class QWidget;

namespace quell::ui {

class WebEngineBrowser final : public QObject, public browser::Browser {
    Q_OBJECT
public:
    // The view is a child of parent, with objectName "browser". It and the
    // engine behind it are created when first asked for, so a window can be
    // on screen before the engine starts.
    WebEngineBrowser(QWidget* parent, browser::Shell& shell);
    ~WebEngineBrowser() override;

    QWebEngineView* view();
    bool hasView() const { return m_view != nullptr; }
    void setEvents(browser::BrowserEvents* events) { m_events = events; }
    // Closes every view-source window this browser opened; they belong to
    // the main window and never keep the program running on their own.
    void closeSourceWindows();
    int sourceWindowCount() const;
    // Where Save and Save As ask for a file name; a test answers without a
    // dialog. Returns the chosen path, empty when the user cancels.
    using SavePathChooser = std::function<QString(const QString& suggested)>;
    void setSavePathChooser(SavePathChooser chooser) { m_chooseSavePath = std::move(chooser); }

    // The registry's start page, else about:blank.
    static QString homePage();
    // Zoom factor of a text size level 0..4.
    static double zoomFactorForLevel(int level);

    bool GoBack() override;
    bool GoForward() override;
    void GoHome() override;
    void Navigate(const std::string& url) override;
    void Refresh() override;
    void Stop() override;
    bool HasDocument() const override;
    std::string LocationName() const override;
    std::string LocationURL() const override;
    bool Busy() const override;
    std::optional<uint32_t> QueryStatus(int commandId) override;
    int32_t ExecDocumentCommand(browser::CommandGroup group, int commandId) override;
    bool SetTextSize(int level) override;

private:
    void onLoadStarted();
    void onLoadProgress(int percent);
    void onLoadFinished(bool ok);
    void onLinkHovered(const QString& url);
    void onDownloadRequested(QWebEngineDownloadRequest* download);
    void openFile();
    void savePage(bool askForName);
    QString askSavePath(const QString& suggested) const;
    void printPage();
    void findInPage();
    void viewSource();
    void createView();

    QWidget* m_parent;
    browser::Shell& m_shell;
    QWebEngineProfile* m_profile = nullptr;
    QWebEngineView* m_view = nullptr;
    browser::BrowserEvents* m_events = nullptr;
    bool m_busy = false;
    QHash<QUrl, QString> m_savedPaths;
    SavePathChooser m_chooseSavePath;
    std::vector<QPointer<QWebEngineView>> m_sourceWindows;
    std::unique_ptr<QPrinter> m_printer;
};

}  // namespace quell::ui
