// Shows every skin control on one test frame. With --screenshot FILE it
// renders the frame once, writes it to FILE and exits (for offscreen checks).
#include <QApplication>
#include <QTimer>

#include <cstdio>
#include <cmath>

#include "demo_frame.h"

int main(int argc, char** argv) {
    QApplication app(argc, argv);
    quell::demo::DemoFrame frame;
    frame.show();
    const QStringList args = app.arguments();
    const qsizetype shot = args.indexOf(QStringLiteral("--screenshot"));
    if (shot >= 0 && shot + 1 < args.size()) {
        const QString file = args[shot + 1];
        QTimer::singleShot(1500, &app, [&frame, &app, file] {
            const bool saved = frame.grab().save(file);
            std::fprintf(saved ? stdout : stderr, saved ? "wrote %s\n" : "error: cannot write %s\n",
                         file.toLocal8Bit().constData());
            app.exit(saved ? 0 : 1);
        });
    }
    return app.exec();
}
