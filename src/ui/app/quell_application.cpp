#include "ui/app/quell_application.h"

#include <QApplication>
#include <QDir>
#include <QIcon>
#include <QTimer>
#include <unistd.h>

#include <cstdio>
#include <cstdlib>
#include <string>

#include "core/os/file_system.h"
#include "core/skin/skin_check.h"
#include "core/startup/prepare_media_folder.h"
#include "core/startup/startup_paths.h"
#include "core/startup/unpack_appended_skin.h"
#include "ui/app/about_dialog.h"
#include "ui/app/core_qt.h"
#include "ui/app/display_presence.h"
#include "ui/app/preview_messages.h"
#include "ui/app/preview_photo.h"
#include "ui/app/qt_message_sink.h"
#include "ui/app/skin_preview.h"
#include "ui/app/termination_signals.h"
#include "ui/controls/control_accessibility.h"
#include "ui/mainwindow/main_skin_window.h"

namespace quell::ui {

namespace {

// The browser engine's own sandbox cannot start as root (containers, CI); it
// stays on for everyone else.
void configureBrowserEngine() {
    if (geteuid() != 0) return;
    std::string flags = os::environment("QTWEBENGINE_CHROMIUM_FLAGS");
    if (flags.find("--no-sandbox") == std::string::npos) {
        flags += flags.empty() ? "--no-sandbox" : " --no-sandbox";
        setenv("QTWEBENGINE_CHROMIUM_FLAGS", flags.c_str(), 1);
    }
    setenv("QTWEBENGINE_DISABLE_SANDBOX", "1", 1);
}

// The browser view is composed through the GPU interface, and so is every
// window that holds it. Composing each native window on its own lets an
// animated picture that has a window of its own repaint just that window,
// not the whole frame with the page in it. Neither setting changes what is
// drawn; QT_WIDGETS_RHI=0 in the environment turns the first off.
void configureWidgetComposition() {
    // Platforms without a display (offscreen, minimal) have no GPU interface
    // to compose through.
    const std::string platform = os::environment("QT_QPA_PLATFORM");
    const bool hasDisplay = platform.empty() || platform.rfind("xcb", 0) == 0 || platform.rfind("wayland", 0) == 0;
    if (hasDisplay && os::environment("QT_WIDGETS_RHI").empty()) setenv("QT_WIDGETS_RHI", "1", 1);
    // A native child window must not make its siblings native too.
    QCoreApplication::setAttribute(Qt::AA_DontCreateNativeWidgetSiblings);
}

bool unpackSkin(const startup::StartupPaths& paths) { return startup::UnpackAppendedSkin(paths); }

// "--skin DIR" shows the skin folder DIR as it is, without unpacking
// anything: the folder is the media folder; "--map" beside it lays the
// layout map over the window. Empty when not asked for.
QString previewFolderArgument(const QStringList& arguments) {
    const int at = arguments.indexOf(QStringLiteral("--skin"));
    if (at < 1 || at + 1 >= arguments.size()) return {};
    return QDir(arguments.at(at + 1)).absolutePath();
}

int runMainWindow(MainSkinWindow& window, bool preview) {
    // A skin that cannot be loaded ends the program without a window; a
    // previewed one is an author's mistake and says so in the exit status.
    if (!window.Initialise()) return preview ? 1 : 0;
    window.show();
    // A termination request closes the window as Exit does. While a dialog
    // runs, its caller is still on the stack: then quitting alone ends every
    // running loop and the window's destructor does the rest.
    TerminationSignals termination([&window] {
        if (!QApplication::activeModalWidget()) window.close();
        QCoreApplication::quit();
    });
    return QApplication::exec();
}

// A previewed skin folder is its own media folder; the program ends with
// status 1 when the check finds no single description file in it. Whatever
// the load would show as a message box goes to standard error and the
// preview's note instead, so an author is never stopped by a modal box.
int runPreview(const QString& folder, bool alwaysShowMap) {
    const skin::SkinCheckReport report = skin::CheckSkinFolder(toStdString(folder));
    for (const skin::CheckFinding& finding : report.findings)
        std::fprintf(stderr, "%s\n", skin::FormatFinding(finding).c_str());
    if (report.descriptionPath.empty()) return 1;
    const std::string media = toStdString(folder) + "/";
    // The picture that lives beside a packed program may sit in the skin
    // folder while it is previewed.
    PreviewPhotoFolder photo(media, startup::FormStartupPaths(os::modulePath()).executableFolder);
    PreviewMessages messages;
    MainSkinWindow window(MainSkinWindow::Locations{report.descriptionPath, media, photo.path()}, &messages);
    new SkinPreview(PreviewSetup{folder, report.descriptionPath, &photo, alwaysShowMap}, window, messages);
    return runMainWindow(window, true);
}

}  // namespace

int runApplication(int argc, char** argv) {
    std::string program = argc > 0 && argv[0] ? argv[0] : "quellcore";
    program = program.substr(program.find_last_of('/') + 1);
    const std::string noDisplay =
        missingDisplayMessage(program, [](const char* name) { return os::environment(name); });
    if (!noDisplay.empty()) {
        std::fprintf(stderr, "%s\n", noDisplay.c_str());
        return 1;
    }
    configureBrowserEngine();
    configureWidgetComposition();
    QCoreApplication::setAttribute(Qt::AA_ShareOpenGLContexts);
    QApplication app(argc, argv);
    QApplication::setApplicationName(QStringLiteral("Quellcore"));
    QApplication::setWindowIcon(ProgramIcon());
    installControlAccessibility();

    const QString previewFolder = previewFolderArgument(QApplication::arguments());
    if (!previewFolder.isEmpty())
        return runPreview(previewFolder, QApplication::arguments().contains(QStringLiteral("--map")));

    startup::StartupPaths paths = startup::SelectStartupPaths(os::modulePath(), os::userDataHome());
    QtMessageSink messages;
    if (!startup::PrepareMediaFolder(paths, messages, unpackSkin)) return 1;
    MainSkinWindow window(MainSkinWindow::Locations{paths.skinIniPath, paths.mediaFolder, startup::PhotoFolder(paths)});
    return runMainWindow(window, false);
}

}  // namespace quell::ui
