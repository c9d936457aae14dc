#include "ui/app/quell_application.h"

#include <QApplication>
#include <QIcon>
#include <QTimer>
#include <unistd.h>

#include <cstdlib>
#include <string>

#include "core/browser/recorded_url_file.h"
#include "core/os/file_system.h"
#include "core/startup/prepare_media_folder.h"
#include "core/startup/startup_paths.h"
#include "core/startup/unpack_appended_skin.h"
#include "ui/app/about_dialog.h"
#include "ui/app/qt_message_sink.h"
#include "ui/app/termination_signals.h"
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
    if (os::environment("QT_WIDGETS_RHI").empty()) setenv("QT_WIDGETS_RHI", "1", 1);
    // A native child window must not make its siblings native too.
    QCoreApplication::setAttribute(Qt::AA_DontCreateNativeWidgetSiblings);
}

bool unpackSkin(const startup::StartupPaths& paths) { return startup::UnpackAppendedSkin(paths); }

}  // namespace

int runApplication(int argc, char** argv) {
    configureBrowserEngine();
    configureWidgetComposition();
    QCoreApplication::setAttribute(Qt::AA_ShareOpenGLContexts);
    QApplication app(argc, argv);
    QApplication::setApplicationName(QStringLiteral("Quellcore"));
    QApplication::setWindowIcon(ProgramIcon());

    startup::StartupPaths paths = startup::SelectStartupPaths(os::modulePath(), os::userDataHome());
    QtMessageSink messages;
    if (!startup::PrepareMediaFolder(paths, messages, unpackSkin)) return 1;

    MainSkinWindow window(MainSkinWindow::Locations{paths.skinIniPath, paths.mediaFolder, startup::PhotoFolder(paths),
                                                    browser::RecordedUrlFilePath(os::userDataHome())});
    // A skin that cannot be loaded ends the program without a window.
    if (!window.Initialise()) return 0;
    window.show();
    // A termination request closes the window as Exit does. While a dialog
    // runs, its caller is still on the stack: then quitting alone ends every
    // running loop and the window's destructor does the rest.
    TerminationSignals termination([&window] {
        if (!QApplication::activeModalWidget()) window.close();
        QCoreApplication::quit();
    });
    return app.exec();
}

}  // namespace quell::ui
