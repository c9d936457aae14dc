#pragma once
// The program's own button pictures, drawn at run time: the maximized-mode
// toolbar (29 x 26), its Minimize and Exit buttons (16 x 14) and the Go
// button (40 x 18). Each button has three pictures at consecutive ids:
// normal, hover (raised) and pressed (sunken).
#include <QPixmap>

namespace quell::ui {

// A null pixmap for an id that is not one of the program's pictures.
QPixmap toolbarPicture(int resourceId);

}  // namespace quell::ui
