#include "ui/mainwindow/product_page.h"

#include <QtGlobal>

// Resources compiled into a static library are registered explicitly.
static void registerProductPage() { Q_INIT_RESOURCE(product_page); }

namespace quell::ui {

void RegisterProductPage() {
    static const bool registered = (registerProductPage(), true);
    (void)registered;
}

}  // namespace quell::ui
