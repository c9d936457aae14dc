#include "ui/app/quell_application.h"

#include <QApplication>

namespace quell::ui {
int runApplication(int argc, char** argv) {
    QApplication app(argc, argv);
    return 0;
}
}  // namespace quell::ui
