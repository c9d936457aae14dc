// The yardstick for start-up figures: a bare browser view in a plain window,
// loading the page given on the command line and nothing else.
#include <QApplication>
#include <QUrl>
#include <QWebEngineView>

int main(int argc, char** argv) {
    QCoreApplication::setAttribute(Qt::AA_ShareOpenGLContexts);
    QApplication app(argc, argv);
    QWebEngineView view;
    view.setWindowTitle(QStringLiteral("BareView"));
    view.setGeometry(0, 0, 800, 600);
    view.setUrl(QUrl::fromUserInput(QString::fromLocal8Bit(argc > 1 ? argv[1] : "about:blank")));
    view.show();
    return app.exec();
}
